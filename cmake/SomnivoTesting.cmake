# GoogleTest on every build: Debian's libgtest-dev on the host, and Debian's
# googletest sources compiled with the cross compiler for Windows.
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Warnings in GoogleTest's own sources are not ours to fix.
    target_compile_options(gtest PRIVATE -w)
    target_compile_options(gtest_main PRIVATE -w)
    if(NOT TARGET GTest::gtest_main)
        add_library(GTest::gtest_main ALIAS gtest_main)
        add_library(GTest::gtest ALIAS gtest)
    endif()

    # Tests that run Windows programs need Wine able to run this architecture.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-run.sh --can-run-win32
                        RESULT_VARIABLE cannot_run)
        if(cannot_run)
            message(STATUS "This kernel cannot run 32-bit programs: the Windows tests of "
                           "this build are not registered; the win64 preset runs them.")
            set(SOMNIVO_RUN_WINDOWS_TESTS OFF)
        else()
            set(SOMNIVO_RUN_WINDOWS_TESTS ON)
        endif()
    else()
        set(SOMNIVO_RUN_WINDOWS_TESTS ON)
    endif()
else()
    find_package(GTest REQUIRED)
endif()

# somnivo_add_test(name SOURCES ... [LIBRARIES ...])
# A GoogleTest executable whose cases CTest lists one by one. On a Windows
# build the cases run under Wine through the cross-compiling emulator.
function(somnivo_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main)
    if(CMAKE_CROSSCOMPILING AND NOT SOMNIVO_RUN_WINDOWS_TESTS)
        return()
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
