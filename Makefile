# The commands of the README. Each installs what is missing first.
.PHONY: deps build test fuzz demo run dist bench clean

PRESETS := host host-asan win32 win64
XVFB := xvfb-run -a -s "-screen 0 1024x768x24"

deps:
	@tools/install-deps.sh

build: deps
	@for preset in $(PRESETS); do \
	    cmake --preset $$preset >/dev/null && cmake --build --preset $$preset || exit 1; \
	done

# The Windows tests share one X server, and through it one Wine desktop.
test: build
	ctest --preset host
	ctest --preset host-asan
	$(XVFB) ctest --preset win32
	$(XVFB) ctest --preset win64

# Five minutes of the settings fuzzer, on a corpus kept in build/host-asan
# from one run to the next; findings land in its crashes/ folder.
fuzz: deps
	cmake --preset host-asan >/dev/null && cmake --build --preset host-asan --target settings_fuzzer
	tests/fuzz/run_fuzzer.sh build/host-asan/tests/fuzz/settings_fuzzer 300 build/host-asan/tests/fuzz/long-run

demo: deps
	@tools/demo.sh

# Figures of the built program under Wine, each beside its baseline.
bench: deps
	@tools/bench/bench.sh

run: deps
	cmake --preset win32 >/dev/null && cmake --build --preset win32 --target somnivo
	tools/wine-run.sh build/win32/somnivo.exe

dist: deps
	@tools/dist.sh

clean:
	rm -rf build
