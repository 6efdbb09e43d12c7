// somnivo_bench: the Windows half of `make bench`. It runs somnivo.exe and a
// baseline for each figure in the same Wine session, alternating them, and
// prints one tab-separated line per figure (ROW) and per remark (NOTE) for
// tools/bench/bench.sh to lay out. Progress goes to stderr.
//
//   somnivo_bench SOMNIVO.EXE BARE_WINDOW.EXE EXIT_AT_ONCE.EXE WORK_DIR [NAME=COUNT...]
//
// The names and their defaults are in the Config below; smaller counts make
// a quick run while the figures are being worked on.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#include "bench_stats.h"

namespace {

struct Config {
    int holdRepetitions = 30;
    int latencyCount = 1000;
    int startupRepetitions = 10;
    int idleSeconds = 10;
    int idleRepetitions = 3;
    int cycles = 1000;
    int warmupCycles = 10;
};

struct Option {
    const char *name;
    int Config::*field;
};

const Option options[] = {
    {"hold", &Config::holdRepetitions},       {"latency", &Config::latencyCount},
    {"startup", &Config::startupRepetitions}, {"idle-seconds", &Config::idleSeconds},
    {"idle", &Config::idleRepetitions},       {"cycles", &Config::cycles},
    {"warmup", &Config::warmupCycles},
};

const char SOMNIVO_CLASS[] = "myWindowClass";
// The control ids of the settings window's Suspend and Resume boxes.
const int IDC_SUSPEND_EDIT_ID = 101;
const int IDC_RESUME_EDIT_ID = 102;
const char BARE_CLASS[] = "BareWindowClass";
// Generous: a cold Wine may take seconds to start its first program.
const DWORD READY_TIMEOUT_MS = 30000;
// A suspend command that exits at once never takes this long; a hold that
// does is a hang, and the benchmark should say so rather than wait forever.
const DWORD COMMAND_TIMEOUT_MS = 30000;

LONGLONG ticksPerSecond = 1;

LONGLONG Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Microseconds(LONGLONG ticks) {
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(ticksPerSecond);
}

std::string Format(const char *format, ...) {
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

void Progress(const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    fputs("bench: ", stderr);
    vfprintf(stderr, format, arguments);
    fputc('\n', stderr);
    va_end(arguments);
    fflush(stderr);
}

// Printed as soon as known, so a run that fails later keeps what it measured.
void Row(const std::string &figure, const std::string &somnivo, const std::string &baseline,
         const std::string &ratio, const std::string &goal, const std::string &met) {
    printf("ROW\t%s\t%s\t%s\t%s\t%s\t%s\n", figure.c_str(), somnivo.c_str(), baseline.c_str(),
           ratio.c_str(), goal.c_str(), met.c_str());
    fflush(stdout);
}

void Note(const std::string &text) {
    printf("NOTE\t%s\n", text.c_str());
    fflush(stdout);
}

std::string Cell(const Summary &summary, const char *unit, int decimals) {
    return Format("%.*f %s [%.*f-%.*f]", decimals, summary.median, unit, decimals, summary.low,
                  decimals, summary.high);
}

std::string Ratio(double value) {
    return Format("%.2f", value);
}

const char *Verdict(bool met) {
    return met ? "met" : "missed";
}

struct Paths {
    std::string somnivo;
    std::string bareWindow;
    std::string exitAtOnce;
    std::string work;
};

std::string Folder(const Paths &paths, const char *name) {
    std::string folder = paths.work + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool WriteSettings(const std::string &folder, const std::string &suspend, const std::string &resume,
                   bool minimized) {
    std::string file = folder + "\\suspend.ini";
    FILE *out = fopen(file.c_str(), "wb");
    if (!out)
        return false;
    fprintf(out, "Suspend=%s\r\nResume=%s\r\nMinimize=%s\r\n", suspend.c_str(), resume.c_str(),
            minimized ? "YES" : "NO");
    return fclose(out) == 0;
}

struct Program {
    PROCESS_INFORMATION process;
    HWND window;
    const char *windowClass;
};

struct WindowSearch {
    DWORD processId;
    const char *windowClass;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM searchParam) {
    WindowSearch &search = *reinterpret_cast<WindowSearch *>(searchParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId)
        return TRUE;
    char className[64];
    if (GetClassNameA(window, className, sizeof className) == 0 ||
        strcmp(className, search.windowClass) != 0)
        return TRUE;
    search.found = window;
    return FALSE;
}

// By process, not by title: other programs' windows in the same desktop must
// never answer in Somnivo's place.
HWND FindProcessWindow(const Program &program) {
    WindowSearch search = {program.process.dwProcessId, program.windowClass, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool StartProgram(const std::string &exe, const std::string &folder, WORD showState,
                  const char *windowClass, Program &program, const char *arguments = nullptr) {
    memset(&program, 0, sizeof program);
    program.windowClass = windowClass;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showState;
    std::string commandLine = "\"" + exe + "\"";
    if (arguments)
        commandLine += std::string(" ") + arguments;
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &program.process)) {
        Progress("could not start %s (error %lu)", exe.c_str(), GetLastError());
        return false;
    }
    return true;
}

enum class Shown { yes, no };

// Ready means: the process has reached its message loop with nothing left
// to do (WaitForInputIdle), and its window exists in the wanted state.
bool WaitUntilReady(Program &program, Shown shown, DWORD &inputIdle) {
    LONGLONG deadline = Now() + ticksPerSecond * READY_TIMEOUT_MS / 1000;
    inputIdle = WaitForInputIdle(program.process.hProcess, READY_TIMEOUT_MS);
    for (;;) {
        program.window = FindProcessWindow(program);
        if (program.window && (IsWindowVisible(program.window) != FALSE) == (shown == Shown::yes))
            return true;
        if (WaitForSingleObject(program.process.hProcess, 0) == WAIT_OBJECT_0 || Now() > deadline)
            return false;
        Sleep(1);
    }
}

bool StopProgram(Program &program, DWORD &exitCode) {
    exitCode = STILL_ACTIVE;
    if (!program.process.hProcess)
        return false;
    if (program.window)
        PostMessageA(program.window, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(program.process.hProcess, 10000) == WAIT_OBJECT_0;
    if (!ended) {
        Progress("process %lu did not end after WM_CLOSE; terminating it",
                 program.process.dwProcessId);
        TerminateProcess(program.process.hProcess, 1);
        WaitForSingleObject(program.process.hProcess, 5000);
    }
    GetExitCodeProcess(program.process.hProcess, &exitCode);
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
    memset(&program.process, 0, sizeof program.process);
    return ended;
}

void StopAndCheck(Program &program, const char *what) {
    if (!program.process.hProcess)
        return;
    DWORD exitCode;
    bool ended = StopProgram(program, exitCode);
    if (!ended || exitCode != 0)
        Note(Format("%s did not end cleanly on WM_CLOSE (exit code %lu).", what, exitCode));
}

bool StartSomnivo(const Paths &paths, const char *folderName, const std::string &suspend,
                  const std::string &resume, bool minimized, Program &somnivo) {
    std::string folder = Folder(paths, folderName);
    if (!WriteSettings(folder, suspend, resume, minimized)) {
        Progress("could not write %s\\suspend.ini", folder.c_str());
        return false;
    }
    DWORD inputIdle;
    if (!StartProgram(paths.somnivo, folder, SW_SHOWNORMAL, SOMNIVO_CLASS, somnivo))
        return false;
    if (!WaitUntilReady(somnivo, minimized ? Shown::no : Shown::yes, inputIdle)) {
        Progress("somnivo.exe in %s did not become ready", folder.c_str());
        DWORD exitCode;
        StopProgram(somnivo, exitCode);
        return false;
    }
    return true;
}

LRESULT SendPowerEvent(HWND window, WPARAM code) {
    return SendMessageA(window, WM_POWERBROADCAST, code, 0);
}

// What the system's broadcast would wait for: Somnivo's answer to one event.
double TimePowerEvent(HWND window, WPARAM code, LRESULT &answer) {
    LONGLONG start = Now();
    answer = SendPowerEvent(window, code);
    return Microseconds(Now() - start);
}

// Somnivo's launch without Somnivo: the same request fields, the same wait.
double TimeDirectLaunch(const std::string &command, bool &ok) {
    SHELLEXECUTEINFOA request;
    memset(&request, 0, sizeof request);
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS;
    request.lpVerb = "open";
    request.lpFile = command.c_str();
    request.nShow = SW_SHOWNORMAL;
    LONGLONG start = Now();
    ok = ShellExecuteExA(&request) != FALSE;
    if (ok && request.hProcess)
        ok = WaitForSingleObject(request.hProcess, COMMAND_TIMEOUT_MS) == WAIT_OBJECT_0;
    double elapsed = Microseconds(Now() - start);
    if (request.hProcess)
        CloseHandle(request.hProcess);
    return elapsed;
}

std::vector<double> Milliseconds(const std::vector<double> &microseconds) {
    std::vector<double> milliseconds;
    for (double value : microseconds)
        milliseconds.push_back(value / 1000.0);
    return milliseconds;
}

void MeasureHold(const Config &config, const Paths &paths) {
    const char figure[] = "1 hold, code 4 (vs direct launch)";
    Progress("hold: code 4 with exit_at_once.exe as the suspend command against a direct launch, "
             "%d times each",
             config.holdRepetitions);
    Program somnivo = {};
    if (!StartSomnivo(paths, "hold", paths.exitAtOnce, "", false, somnivo)) {
        Row(figure, "n/a", "n/a", "n/a", "<= 1.10", "missed");
        return;
    }
    std::vector<double> held, direct;
    int wrongAnswers = 0, failedLaunches = 0;
    // The first launches of a program fill Wine's caches; they say nothing
    // about the ones after.
    const int warmup = 2;
    // Alternated, so a drift in the machine's speed weighs on both sides alike.
    for (int round = -warmup; round < config.holdRepetitions; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            bool somnivoTurn = (turn == 0) == (round % 2 == 0);
            if (somnivoTurn) {
                LRESULT answer;
                double elapsed = TimePowerEvent(somnivo.window, PBT_APMSUSPEND, answer);
                // The flag would make the next code 4 run nothing; this clears it
                // and runs nothing itself.
                SendPowerEvent(somnivo.window, PBT_APMRESUMEAUTOMATIC);
                if (answer != 0)
                    ++wrongAnswers;
                if (round >= 0)
                    held.push_back(elapsed);
            } else {
                bool ok;
                double elapsed = TimeDirectLaunch(paths.exitAtOnce, ok);
                if (!ok)
                    ++failedLaunches;
                if (round >= 0)
                    direct.push_back(elapsed);
            }
        }
    }
    StopAndCheck(somnivo, "somnivo.exe (hold)");
    Summary somnivoHold = Summarize(Milliseconds(held), SpreadKind::minToMax);
    Summary directLaunch = Summarize(Milliseconds(direct), SpreadKind::minToMax);
    double ratio = somnivoHold.median / directLaunch.median;
    Row(figure, Cell(somnivoHold, "ms", 1), Cell(directLaunch, "ms", 1), Ratio(ratio), "<= 1.10",
        Verdict(ratio <= 1.10));
    // A launch varies by a factor of two from one to the next here; the
    // difference within a round, where both sides met the same machine,
    // shows Somnivo's own share with less of that noise.
    std::vector<double> differences;
    for (size_t index = 0; index < held.size() && index < direct.size(); ++index)
        differences.push_back((held[index] - direct[index]) / 1000.0);
    Summary difference = Summarize(differences, SpreadKind::interquartile);
    Note(Format("hold: %d repetitions each, alternated; baseline = ShellExecuteExA \"open\" of "
                "the same exit_at_once.exe from the bench plus WaitForSingleObject. Somnivo "
                "minus baseline within a round: median %+.1f ms [IQR %+.1f to %+.1f].",
                somnivoHold.count, difference.median, difference.low, difference.high));
    if (wrongAnswers)
        Note(Format("hold: %d answers to code 4 were not 0.", wrongAnswers));
    if (failedLaunches)
        Note(Format("hold: %d direct launches failed or timed out.", failedLaunches));
}

double TimeMessage(HWND window, UINT message, WPARAM wParam, LRESULT &answer) {
    LONGLONG start = Now();
    answer = SendMessageA(window, message, wParam, 0);
    return Microseconds(Now() - start);
}

void MeasureLatency(const Config &config, const Paths &paths) {
    const WPARAM codes[] = {PBT_APMQUERYSUSPEND, PBT_APMSUSPEND, PBT_APMRESUMESUSPEND,
                            PBT_APMRESUMEAUTOMATIC};
    const LRESULT expected[] = {TRUE, 0, 0, 0};
    const int codeCount = 4;
    Progress("latency: codes 0, 4, 7 and 18 with empty boxes against WM_NULL, %d times each",
             config.latencyCount);
    Program somnivo = {};
    if (!StartSomnivo(paths, "latency", "", "", false, somnivo)) {
        for (WPARAM code : codes)
            Row(Format("2 answer, code %u (vs WM_NULL)", static_cast<unsigned>(code)), "n/a", "n/a",
                "n/a", "<= 1.2", "missed");
        return;
    }
    std::vector<double> answerTimes[codeCount], nullTimes[codeCount];
    int wrongAnswers = 0;
    const int warmup = 20;
    for (int round = -warmup; round < config.latencyCount; ++round) {
        // Each code is paired with a WM_NULL sent right next to it, first
        // one then the other, so both see the same moment of the machine.
        for (int step = 0; step < codeCount; ++step) {
            int index = (round + step + warmup) % codeCount;
            LRESULT answer, ignored;
            double answerTime, nullTime;
            if (round % 2 == 0) {
                answerTime = TimeMessage(somnivo.window, WM_POWERBROADCAST, codes[index], answer);
                nullTime = TimeMessage(somnivo.window, WM_NULL, 0, ignored);
            } else {
                nullTime = TimeMessage(somnivo.window, WM_NULL, 0, ignored);
                answerTime = TimeMessage(somnivo.window, WM_POWERBROADCAST, codes[index], answer);
            }
            if (answer != expected[index])
                ++wrongAnswers;
            if (round >= 0) {
                answerTimes[index].push_back(answerTime);
                nullTimes[index].push_back(nullTime);
            }
        }
    }
    // Codes 0 and 7 look the box up before reading it; the cost of that
    // look-up, timed from here, shows what part of their answer it is.
    std::vector<double> lookups;
    for (int round = 0; round < 200; ++round) {
        LONGLONG start = Now();
        GetDlgItem(somnivo.window, IDC_SUSPEND_EDIT_ID);
        lookups.push_back(Microseconds(Now() - start));
    }
    StopAndCheck(somnivo, "somnivo.exe (latency)");
    for (int index = 0; index < codeCount; ++index) {
        Summary answer = Summarize(answerTimes[index], SpreadKind::interquartile);
        Summary null = Summarize(nullTimes[index], SpreadKind::interquartile);
        double ratio = answer.median / null.median;
        Row(Format("2 answer, code %u (vs WM_NULL)", static_cast<unsigned>(codes[index])),
            Cell(answer, "us", 1), Cell(null, "us", 1), Ratio(ratio), "<= 1.2",
            Verdict(ratio <= 1.2));
    }
    Note(Format("latency: %d SendMessageA round trips per code, each paired with a WM_NULL "
                "round trip to the same window sent just before or after it (alternating); "
                "the spread of these rows is the interquartile range.",
                config.latencyCount));
    Summary lookup = Summarize(lookups, SpreadKind::interquartile);
    Note(Format("latency: the codes come in the order 0, 4, 7, 18, so 0 and 7 look up and read "
                "an empty box while 4 (the flag set by 0) and 18 run nothing; one GetDlgItem on "
                "the settings window, timed from the bench, takes %.1f us [IQR %.1f-%.1f].",
                lookup.median, lookup.low, lookup.high));
    if (wrongAnswers)
        Note(Format("latency: %d answers were not the expected ones (1 to code 0, 0 otherwise).",
                    wrongAnswers));
}

struct StartupSample {
    double milliseconds;
    DWORD inputIdle;
    bool ready;
};

StartupSample TimeStartup(const std::string &exe, const char *arguments, const std::string &folder,
                          const char *windowClass, const char *what) {
    StartupSample sample = {0.0, WAIT_FAILED, false};
    Program program = {};
    LONGLONG start = Now();
    if (!StartProgram(exe, folder, SW_SHOWNORMAL, windowClass, program, arguments))
        return sample;
    sample.ready = WaitUntilReady(program, Shown::yes, sample.inputIdle);
    sample.milliseconds = Microseconds(Now() - start) / 1000.0;
    StopAndCheck(program, what);
    return sample;
}

void MeasureStartup(const Config &config, const Paths &paths) {
    const char figure[] = "3 start-up (vs bare_window)";
    Progress("start-up: somnivo.exe against bare_window.exe, %d times each, alternated",
             config.startupRepetitions);
    std::string folder = Folder(paths, "startup");
    if (!WriteSettings(folder, "", "", false)) {
        Row(figure, "n/a", "n/a", "n/a", "<= 1.5", "missed");
        return;
    }
    struct Contender {
        const std::string &exe;
        const char *arguments;
        const char *windowClass;
        const char *what;
        std::vector<double> times;
    };
    // The third is not a figure but a clue: a bare window that first loads
    // the DLLs Somnivo adds shows how much of the difference is theirs.
    Contender contenders[] = {
        {paths.somnivo, nullptr, SOMNIVO_CLASS, "somnivo.exe", {}},
        {paths.bareWindow, nullptr, BARE_CLASS, "bare_window.exe", {}},
        {paths.bareWindow, "with-dlls", BARE_CLASS, "bare_window.exe with-dlls", {}},
    };
    const int contenderCount = 3;
    int notReady = 0, noInputIdle = 0;
    const int warmup = 1;
    for (int round = -warmup; round < config.startupRepetitions; ++round) {
        // Each takes every place in the order in turn.
        for (int turn = 0; turn < contenderCount; ++turn) {
            Contender &contender = contenders[(round + warmup + turn) % contenderCount];
            StartupSample sample = TimeStartup(contender.exe, contender.arguments, folder,
                                               contender.windowClass, contender.what);
            if (!sample.ready)
                ++notReady;
            else if (sample.inputIdle != 0)
                ++noInputIdle;
            if (round >= 0 && sample.ready)
                contender.times.push_back(sample.milliseconds);
        }
    }
    Summary somnivo = Summarize(contenders[0].times, SpreadKind::minToMax);
    Summary bare = Summarize(contenders[1].times, SpreadKind::minToMax);
    Summary bareWithDlls = Summarize(contenders[2].times, SpreadKind::minToMax);
    if (somnivo.count == 0 || bare.count == 0) {
        Row(figure, "n/a", "n/a", "n/a", "<= 1.5", "missed");
    } else {
        double ratio = somnivo.median / bare.median;
        Row(figure, Cell(somnivo, "ms", 1), Cell(bare, "ms", 1), Ratio(ratio), "<= 1.5",
            Verdict(ratio <= 1.5));
    }
    Note(Format("start-up: %d starts each, alternated, after one warm-up each; measured from "
                "just before CreateProcessA until WaitForInputIdle has returned (the program "
                "waits in its message loop) and a visible top-level window of its class belongs "
                "to the new process; baseline = bare_window.exe, one class and one window of the "
                "same size and style.",
                somnivo.count));
    if (bareWithDlls.count > 0)
        Note(Format("start-up: bare_window.exe loading comctl32.dll and shell32.dll before its "
                    "window, timed in the same rounds: %s (ratio %.2f to the bare window).",
                    Cell(bareWithDlls, "ms", 1).c_str(), bareWithDlls.median / bare.median));
    if (notReady)
        Note(Format("start-up: %d starts never showed a window within %lu s.", notReady,
                    READY_TIMEOUT_MS / 1000));
    if (noInputIdle)
        Note(Format("start-up: WaitForInputIdle failed %d times; those starts were timed by "
                    "polling the window alone.",
                    noInputIdle));
}

typedef LONG(NTAPI *QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);

const LONG STATUS_INFO_LENGTH_MISMATCH_CODE = static_cast<LONG>(0xC0000004);

// One of the system's tables, whole: the buffer grows until it fits.
bool ReadSystemTable(ULONG table, std::vector<char> &buffer) {
    static QuerySystemInformation query =
        reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return false;
    if (buffer.size() < (1 << 16))
        buffer.resize(1 << 16);
    LONG status;
    ULONG needed = 0;
    while ((status = query(table, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
           STATUS_INFO_LENGTH_MISMATCH_CODE)
        buffer.resize(buffer.size() * 2);
    return status == 0;
}

// The head of an entry of the system's process table, up to the process id.
struct ProcessEntry {
    ULONG nextEntryOffset;
    ULONG threadCount;
    LARGE_INTEGER unused[3];
    LARGE_INTEGER createTime;
    LARGE_INTEGER userTime;
    LARGE_INTEGER kernelTime;
    USHORT imageNameLength;
    USHORT imageNameCapacity;
    PWSTR imageName;
    LONG basePriority;
    HANDLE processId;
};

const ULONG SYSTEM_PROCESS_INFORMATION_TABLE = 5;

// User plus kernel time of a whole process, from the system's process
// table. Under Wine 8, GetProcessTimes on another process answers with the
// caller's own times; the table has each process's own, as Linux counts
// them (in steps of 10 ms).
double CpuMilliseconds(DWORD processId) {
    std::vector<char> buffer;
    if (!ReadSystemTable(SYSTEM_PROCESS_INFORMATION_TABLE, buffer))
        return -1.0;
    size_t offset = 0;
    for (;;) {
        const ProcessEntry &entry = *reinterpret_cast<const ProcessEntry *>(&buffer[offset]);
        if (HandleToULong(entry.processId) == processId)
            // Both count 100 ns.
            return static_cast<double>(entry.userTime.QuadPart + entry.kernelTime.QuadPart) /
                   10000.0;
        if (entry.nextEntryOffset == 0)
            return -1.0;
        offset += entry.nextEntryOffset;
    }
}

double GetProcessTimesMilliseconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return -1.0;
    ULARGE_INTEGER kernelTime, userTime;
    kernelTime.LowPart = kernel.dwLowDateTime;
    kernelTime.HighPart = kernel.dwHighDateTime;
    userTime.LowPart = user.dwLowDateTime;
    userTime.HighPart = user.dwHighDateTime;
    return static_cast<double>(kernelTime.QuadPart + userTime.QuadPart) / 10000.0;
}

void MeasureIdle(const Config &config, const Paths &paths) {
    Progress("idle: CPU time over %d s, %d times, somnivo.exe and bare_window.exe side by side, "
             "shown and hidden",
             config.idleSeconds, config.idleRepetitions);
    // All four at once: each pair lives through the same seconds of the machine.
    Program shownSomnivo = {}, hiddenSomnivo = {}, shownBare = {}, hiddenBare = {};
    DWORD inputIdle;
    bool started = StartSomnivo(paths, "idle-shown", "", "", false, shownSomnivo);
    started = StartSomnivo(paths, "idle-hidden", "", "", true, hiddenSomnivo) && started;
    started = StartProgram(paths.bareWindow, Folder(paths, "idle-bare-shown"), SW_SHOWNORMAL,
                           BARE_CLASS, shownBare) &&
              WaitUntilReady(shownBare, Shown::yes, inputIdle) && started;
    started = StartProgram(paths.bareWindow, Folder(paths, "idle-bare-hidden"), SW_HIDE, BARE_CLASS,
                           hiddenBare) &&
              WaitUntilReady(hiddenBare, Shown::no, inputIdle) && started;
    if (started) {
        Program *programs[] = {&shownSomnivo, &hiddenSomnivo, &shownBare, &hiddenBare};
        // The hide timer, the tray icon's arrival and the first paints are
        // start-up work, not idling.
        Sleep(1000);
        double startupCpu = CpuMilliseconds(shownSomnivo.process.dwProcessId);
        std::vector<double> used[4];
        for (int round = 0; round < config.idleRepetitions; ++round) {
            double before[4];
            for (int index = 0; index < 4; ++index)
                before[index] = CpuMilliseconds(programs[index]->process.dwProcessId);
            Sleep(static_cast<DWORD>(config.idleSeconds) * 1000);
            for (int index = 0; index < 4; ++index)
                used[index].push_back(CpuMilliseconds(programs[index]->process.dwProcessId) -
                                      before[index]);
        }
        const char *states[] = {"shown", "hidden"};
        for (int state = 0; state < 2; ++state) {
            Summary somnivo = Summarize(used[state], SpreadKind::minToMax);
            Summary bare = Summarize(used[state + 2], SpreadKind::minToMax);
            Row(Format("4 idle CPU per %d s, %s (vs bare_window)", config.idleSeconds,
                       states[state]),
                Cell(somnivo, "ms", 0), Cell(bare, "ms", 0), "-", "0 ms",
                Verdict(somnivo.high == 0.0));
        }
        bool stillHidden = !IsWindowVisible(hiddenSomnivo.window);
        Note(Format("idle: %d windows of %d s each, all four programs at once; CPU time is user "
                    "+ kernel from the system's process table (NtQuerySystemInformation, "
                    "SystemProcessInformation), which Wine reads from Linux in steps of 10 ms; "
                    "the hidden Somnivo started with Minimize=YES and was measured from 1 s after "
                    "its window had gone (still hidden at the end: %s); baseline = "
                    "bare_window.exe shown, and started with SW_HIDE.",
                    config.idleRepetitions, config.idleSeconds, stillHidden ? "yes" : "no"));
        double onSomnivo = GetProcessTimesMilliseconds(shownSomnivo.process.hProcess);
        double onBench = GetProcessTimesMilliseconds(GetCurrentProcess());
        Note(Format("idle: the shown somnivo.exe had used %.0f ms of CPU 1 s after its window "
                    "appeared. GetProcessTimes said %.0f ms for somnivo.exe and %.0f ms for the "
                    "bench itself, read one after the other at the end%s.",
                    startupCpu, onSomnivo, onBench,
                    onSomnivo == onBench ? " (the caller's own times, whatever the process: "
                                           "not used)"
                                         : ""));
    } else {
        Row("4 idle CPU, shown (vs bare_window)", "n/a", "n/a", "-", "0 ms", "missed");
        Row("4 idle CPU, hidden (vs bare_window)", "n/a", "n/a", "-", "0 ms", "missed");
    }
    StopAndCheck(shownSomnivo, "somnivo.exe (idle, shown)");
    StopAndCheck(hiddenSomnivo, "somnivo.exe (idle, hidden)");
    StopAndCheck(shownBare, "bare_window.exe (idle, shown)");
    StopAndCheck(hiddenBare, "bare_window.exe (idle, hidden)");
}

// The system's handle table, filtered by process: GetProcessHandleCount is a
// stub answering 0 under Wine 8, and the table is what Windows' own tools read.
struct HandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTrace;
    USHORT objectType;
    ULONG attributes;
    ULONG reserved;
};

struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

const ULONG SYSTEM_EXTENDED_HANDLE_INFORMATION = 64;

long CountHandles(DWORD processId) {
    std::vector<char> buffer;
    if (!ReadSystemTable(SYSTEM_EXTENDED_HANDLE_INFORMATION, buffer))
        return -1;
    const HandleTable *table = reinterpret_cast<const HandleTable *>(buffer.data());
    long count = 0;
    for (ULONG_PTR index = 0; index < table->count; ++index) {
        if (table->entries[index].processId == processId)
            ++count;
    }
    return count;
}

// Private bytes as Windows means them: committed memory that belongs to the
// process alone. Under Wine 8, GetProcessMemoryInfo leaves PrivateUsage at
// 0 for another process, so the bench walks the address space instead.
double PrivateCommittedBytes(HANDLE process) {
    MEMORY_BASIC_INFORMATION region;
    const char *address = nullptr;
    double total = 0.0;
    while (VirtualQueryEx(process, address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<double>(region.RegionSize);
        const char *next = static_cast<const char *>(region.BaseAddress) + region.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return total;
}

struct Footprint {
    long handles;
    double privateBytes;
    // What the plain calls report, shown so the reader can see why they are
    // not the figures.
    DWORD handleCountCall;
    SIZE_T privateUsageCall;
    SIZE_T pagefileUsageCall;
};

Footprint ReadFootprint(const Program &program) {
    Footprint footprint;
    footprint.handles = CountHandles(program.process.dwProcessId);
    footprint.privateBytes = PrivateCommittedBytes(program.process.hProcess);
    footprint.handleCountCall = 0;
    if (!GetProcessHandleCount(program.process.hProcess, &footprint.handleCountCall))
        footprint.handleCountCall = static_cast<DWORD>(-1);
    PROCESS_MEMORY_COUNTERS_EX memory;
    memset(&memory, 0, sizeof memory);
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(program.process.hProcess,
                         reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&memory), sizeof memory);
    footprint.privateUsageCall = memory.PrivateUsage;
    footprint.pagefileUsageCall = memory.PagefileUsage;
    return footprint;
}

double KiB(double bytes) {
    return bytes / 1024.0;
}

void MeasureLeaks(const Config &config, const Paths &paths) {
    Progress("leaks: %d suspend/resume cycles with exit_at_once.exe as both commands",
             config.cycles);
    std::string handleFigure = Format("5 handles after %d cycles (vs before)", config.cycles);
    std::string memoryFigure = Format("5 private bytes after %d cycles (vs before)", config.cycles);
    Program somnivo = {};
    if (!StartSomnivo(paths, "cycles", paths.exitAtOnce, paths.exitAtOnce, false, somnivo)) {
        Row(handleFigure, "n/a", "n/a", "n/a", "+0", "missed");
        Row(memoryFigure, "n/a", "n/a", "n/a", "<= +64 KiB", "missed");
        return;
    }
    int wrongAnswers = 0;
    std::vector<double> holds;
    std::string checkpoints;
    auto cycle = [&](bool timed) {
        LRESULT answer;
        double held = TimePowerEvent(somnivo.window, PBT_APMSUSPEND, answer);
        if (answer != 0)
            ++wrongAnswers;
        if (SendPowerEvent(somnivo.window, PBT_APMRESUMESUSPEND) != 0)
            ++wrongAnswers;
        if (timed)
            holds.push_back(held);
    };
    // The resume command is started and not waited for; the last ones get
    // time to end, so the handles counted are not those of a launch in flight.
    const DWORD settleMs = 1000;
    for (int index = 0; index < config.warmupCycles; ++index)
        cycle(false);
    Sleep(settleMs);
    Footprint before = ReadFootprint(somnivo);
    LONGLONG start = Now();
    const int checkpointEvery = config.cycles >= 10 ? config.cycles / 10 : 1;
    for (int index = 1; index <= config.cycles; ++index) {
        cycle(true);
        if (index % checkpointEvery == 0) {
            Footprint now = ReadFootprint(somnivo);
            checkpoints += Format(" %d:%ld/%.0f", index, now.handles, KiB(now.privateBytes));
            Progress("leaks: %d cycles, %ld handles, %.0f KiB private", index, now.handles,
                     KiB(now.privateBytes));
        }
    }
    double seconds = Microseconds(Now() - start) / 1e6;
    Sleep(settleMs);
    Footprint after = ReadFootprint(somnivo);
    // A known growth, to show the memory reading is not blind to one: the
    // edit box keeps a text sent to it in Somnivo's heap.
    std::string text(64 * 1024, 'x');
    SendMessageA(GetDlgItem(somnivo.window, IDC_RESUME_EDIT_ID), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
    double withText = PrivateCommittedBytes(somnivo.process.hProcess);
    StopAndCheck(somnivo, "somnivo.exe (cycles)");
    if (before.handles < 0 || after.handles < 0) {
        Row(handleFigure, "n/a", "n/a", "n/a", "+0", "missed");
        Note("leaks: NtQuerySystemInformation(SystemExtendedHandleInformation) failed.");
    } else {
        long growth = after.handles - before.handles;
        Row(handleFigure, Format("%ld", after.handles), Format("%ld", before.handles),
            Format("%+ld", growth), "+0", Verdict(growth <= 0));
    }
    double growth = KiB(after.privateBytes - before.privateBytes);
    Row(memoryFigure, Format("%.0f KiB", KiB(after.privateBytes)),
        Format("%.0f KiB", KiB(before.privateBytes)), Format("%+.0f KiB", growth), "<= +64 KiB",
        Verdict(growth <= 64.0));
    Summary hold = Summarize(Milliseconds(holds), SpreadKind::interquartile);
    Note(Format("leaks: %d cycles (code 4, then code 7) after %d warm-up cycles took %.1f s, "
                "%.1f ms per cycle; code 4 held %.1f ms [IQR %.1f-%.1f] in them. Before and "
                "after are read %lu ms after the last cycle; their \"ratio\" cell is the growth.",
                config.cycles, config.warmupCycles, seconds, seconds * 1000.0 / config.cycles,
                hold.median, hold.low, hold.high, settleMs));
    Note("leaks: handles are the entries of the system handle table "
         "(NtQuerySystemInformation, SystemExtendedHandleInformation) owned by somnivo.exe; "
         "private bytes are its committed MEM_PRIVATE regions (VirtualQueryEx).");
    Note(Format("leaks: check of the memory reading: a 64 KiB text sent to the Resume box "
                "after the cycles moved it by %+.0f KiB.",
                KiB(withText - after.privateBytes)));
    Note(Format("leaks: the plain calls, before -> after: GetProcessHandleCount %lu -> %lu, "
                "PrivateUsage %.0f -> %.0f KiB, PagefileUsage %.0f -> %.0f KiB.",
                before.handleCountCall, after.handleCountCall,
                KiB(static_cast<double>(before.privateUsageCall)),
                KiB(static_cast<double>(after.privateUsageCall)),
                KiB(static_cast<double>(before.pagefileUsageCall)),
                KiB(static_cast<double>(after.pagefileUsageCall))));
    Note("leaks: cycles:handles/private KiB, read right after the cycle:" + checkpoints);
    if (wrongAnswers)
        Note(Format("leaks: %d answers were not 0.", wrongAnswers));
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 5) {
        fputs("usage: somnivo_bench SOMNIVO.EXE BARE_WINDOW.EXE EXIT_AT_ONCE.EXE WORK_DIR "
              "[NAME=COUNT...]\n",
              stderr);
        return 2;
    }
    Config config;
    for (int index = 5; index < argc; ++index) {
        const char *equals = strchr(argv[index], '=');
        bool known = false;
        for (const Option &option : options) {
            if (equals && strlen(option.name) == static_cast<size_t>(equals - argv[index]) &&
                strncmp(argv[index], option.name, equals - argv[index]) == 0) {
                config.*option.field = atoi(equals + 1);
                known = true;
            }
        }
        if (!known) {
            fprintf(stderr, "somnivo_bench: unknown option %s\n", argv[index]);
            return 2;
        }
    }
    Paths paths = {argv[1], argv[2], argv[3], argv[4]};
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    ticksPerSecond = frequency.QuadPart;
    CreateDirectoryA(paths.work.c_str(), nullptr);
    SetCurrentDirectoryA(paths.work.c_str());

    // With a console of its own, the bench's launches would skip the
    // console that Wine makes for a console command started from
    // somnivo.exe, which has none.
    Note(Format("bench: %s console of its own; QueryPerformanceCounter runs at %lld Hz.",
                GetConsoleWindow() ? "has a" : "has no", ticksPerSecond));
    MeasureHold(config, paths);
    MeasureLatency(config, paths);
    MeasureStartup(config, paths);
    MeasureIdle(config, paths);
    MeasureLeaks(config, paths);
    return 0;
}
