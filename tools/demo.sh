#!/bin/sh
# make demo: Somnivo under Wine, driven from outside as a user and the system
# would drive it. Everything lands in build/demo/: the commands it runs, the
# log they write, the settings file it saves and screenshots of its windows.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
export SOMNIVO_DEMO_STARTED="${SOMNIVO_DEMO_STARTED:-$(date +%s%3N)}"

# Somnivo, powersim and the screenshots must share one X server: the windows
# to photograph, and the ones powersim finds, are those of that server.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" /bin/sh "$0" "$@"
fi

demo=$root/build/demo
wine_log=$demo/wine.log
somnivo_pid=""
step=0

now_ms() { date +%s%3N; }

seconds_since() {
    elapsed=$(($(now_ms) - $1))
    echo "$((elapsed / 1000)).$((elapsed % 1000 / 100)) s"
}

heading() {
    step=$((step + 1))
    printf '\n== %d. %s\n' "$step" "$1"
}

indent() { sed 's/^/  /'; }

fail() {
    echo "FAILED: $*" >&2
    if [ -s "$wine_log" ]; then
        echo "Wine's messages are in ${wine_log#"$root"/}." >&2
    fi
    exit 1
}

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds or time is up.
wait_until() {
    deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# Without a window manager Wine's windows are plain X windows named after
# their titles, frame and caption included.
window_shown() { xwininfo -name "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
window_hidden() { ! window_shown "$1"; }
window_gone() { ! xwininfo -name "$1" >/dev/null 2>&1; }
process_ended() { ! kill -0 "$somnivo_pid" 2>/dev/null; }
log_has() { grep -q "$1" "$demo/power.log" 2>/dev/null; }

window_geometry() {
    xwininfo -name "$1" | awk '
        /Absolute upper-left X:/ { x = $NF }
        /Absolute upper-left Y:/ { y = $NF }
        /Width:/ { w = $NF }
        /Height:/ { h = $NF }
        END { printf "%dx%d+%d+%d\n", w, h, x, y }'
}

# A shown window may not have painted yet.
settle() { sleep 0.5; }

screenshot_window() {
    settle
    import -window root -crop "$(window_geometry "$1")" +repage "$2"
    echo "Screenshot of \"$1\": ${2#"$root"/}"
}

screenshot_screen() {
    settle
    import -window root "$1"
    echo "Screenshot of the whole screen: ${1#"$root"/}"
}

wine_run() {
    if [ "$arch" = win64 ]; then
        set -- --win64 "$@"
    fi
    "$root/tools/wine-run.sh" "$@" 2>>"$wine_log"
}

# post CLASS TITLE MESSAGE [WPARAM]: what a click would have the window receive.
post() {
    wine_run "$root/build/$arch/tools/demo/send_message.exe" "$@" >>"$wine_log" ||
        fail "could not post message $3 to the window \"$2\""
}

stop_leftovers() {
    if [ -n "$somnivo_pid" ] && ! process_ended; then
        kill "$somnivo_pid" 2>/dev/null || true
    fi
    if [ -n "${WINEPREFIX:-}" ]; then
        /usr/lib/wine/wineserver -k 2>/dev/null || true
    fi
}

on_exit() {
    status=$?
    [ "$status" -eq 0 ] || stop_leftovers
    exit "$status"
}
trap on_exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

ini_file() {
    printf 'Suspend=%s\r\nResume=%s\r\nMinimize=NO\r\n' "$1" "$2"
}

# Each line with its line ends spelled out, so a CR LF file can be told from
# an LF one, and a last line without an end shows as such.
show_line_ends() {
    LC_ALL=C sed -e 's/\r/<CR>/g' -e 's/$/<LF>/' "$1" | indent
    if [ -s "$1" ] && [ "$(tail -c 1 "$1" | wc -l)" -eq 0 ]; then
        echo "  (the last line has no LF: ignore the last <LF> above)"
    fi
}

build() {
    heading "Build"
    # Wine's 32-bit loader is a 32-bit Linux program; where it cannot start,
    # the same sources built for 64-bit Windows stand in for the product.
    if "$root/tools/wine-run.sh" --can-run-win32; then
        arch=win32
        echo "Running the 32-bit build, the product as it ships."
    else
        arch=win64
        echo "Running the 64-bit build: this kernel cannot run 32-bit programs."
    fi
    rm -rf "$demo"
    mkdir -p "$demo"
    if ! (cd "$root" && cmake --preset "$arch" &&
        cmake --build --preset "$arch" --target somnivo powersim send_message) \
        >"$demo/build.log" 2>&1; then
        tail -n 20 "$demo/build.log" >&2
        fail "the $arch build did not succeed; its output is in build/demo/build.log"
    fi
    rm -f "$demo/build.log"
    echo "Built somnivo.exe, powersim.exe and send_message.exe in build/$arch/."
}

set_up_folder() {
    heading "Demo folder build/demo"
    for script in suspend.bat resume.bat; do
        # Windows' cmd reads a batch file line by line up to CR LF.
        sed 's/$/\r/' "$root/tools/demo/$script" >"$demo/$script"
    done
    # Wine's drive Z: is the Linux root; full paths show in the settings
    # window where the commands live.
    windows_demo="Z:$(printf '%s' "$demo" | sed 's|/|\\|g')"
    ini_file "$windows_demo\\suspend.bat" "$windows_demo\\resume.bat" >"$demo/suspend.ini"
    echo "suspend.bat  logs a line to power.log, works about 2 s, logs another"
    echo "resume.bat   logs one line to power.log"
    echo "suspend.ini  (Somnivo's settings, read from its working directory):"
    tr -d '\r' <"$demo/suspend.ini" | indent
    # A Wine prefix of its own, so that powersim here and the programs of a
    # test run at the same time never find each other's windows, and the
    # demo can stop whatever is left in it.
    export SOMNIVO_WINEPREFIX="$root/build/wineprefix-demo-$arch"
    export WINEPREFIX="$SOMNIVO_WINEPREFIX"
}

start_somnivo() {
    heading "Start somnivo.exe in build/demo"
    if [ ! -f "$WINEPREFIX/.somnivo-ready" ]; then
        echo "Making the demo's Wine prefix ${WINEPREFIX#"$root"/} (first run only)..."
        wine_run cmd /c exit >/dev/null || fail "Wine could not make its prefix"
    fi
    started=$(now_ms)
    # Started straight from its own process, not through wine_run, so the
    # pid is the program's and its exit code comes back through wait.
    (
        cd "$demo"
        if [ "$arch" = win64 ]; then set -- --win64; else set --; fi
        exec "$root/tools/wine-run.sh" "$@" "$root/build/$arch/somnivo.exe"
    ) >>"$wine_log" 2>&1 &
    somnivo_pid=$!
    wait_until 30 window_shown Somnivo ||
        fail "the settings window \"Somnivo\" did not appear within 30 s"
    echo "The settings window appeared after $(seconds_since "$started"), at $(window_geometry Somnivo)."
    screenshot_window Somnivo "$demo/settings.png"
}

simulate_power_events() {
    heading "Power events: powersim cycle"
    if ! wine_run "$root/build/$arch/tools/powersim/powersim.exe" cycle >"$demo/powersim.txt"; then
        grep '^powersim:' "$wine_log" >&2 || true
        fail "powersim cycle failed"
    fi
    indent <"$demo/powersim.txt"
    [ "$(grep -c -- '-> answer' "$demo/powersim.txt")" -eq 4 ] ||
        fail "powersim did not get four answers"
    # The resume command runs on while Somnivo answers at once.
    wait_until 10 log_has "resume command ran" ||
        fail "resume.bat did not write to power.log within 10 s"
    echo "power.log:"
    tr -d '\r' <"$demo/power.log" | indent
}

show_about_window() {
    heading "About window: the system menu's About"
    post myWindowClass Somnivo 0x0112 0 # WM_SYSCOMMAND, the About item
    wait_until 10 window_shown "About Somnivo" ||
        fail "the About window did not appear within 10 s"
    screenshot_window "About Somnivo" "$demo/about.png"
    post AboutWindow "About Somnivo" 0x0010 # WM_CLOSE
    wait_until 10 window_gone "About Somnivo" ||
        fail "the About window did not close within 10 s"
    echo "Closed the About window."
}

minimize_to_tray() {
    heading "Minimize to the notification area"
    post myWindowClass Somnivo 0x0112 0xF020 # WM_SYSCOMMAND, SC_MINIMIZE
    wait_until 10 window_hidden Somnivo ||
        fail "the settings window was still shown 10 s after the minimize"
    echo "The settings window is hidden."
    # With no notification area on the X server, Wine's explorer shows the
    # icons in a small window of its own.
    if wait_until 5 window_shown "Wine System Tray"; then
        screenshot_window "Wine System Tray" "$demo/tray.png"
    else
        screenshot_screen "$demo/tray.png"
    fi
}

close_somnivo() {
    heading "Close somnivo.exe"
    # Without /F, taskkill asks politely: a WM_CLOSE to each of its windows.
    started=$(now_ms)
    wine_run taskkill /IM somnivo.exe | tr -d '\r' | indent
    wait_until 10 process_ended ||
        fail "somnivo.exe had not ended 10 s after the close request"
    code=0
    wait "$somnivo_pid" || code=$?
    somnivo_pid=""
    echo "somnivo.exe ended after $(seconds_since "$started") with exit code $code."
    [ "$code" -eq 0 ] || fail "somnivo.exe ended with exit code $code"
    # Explorer and the Wine server linger a moment; the X server must
    # outlive them.
    timeout 20 /usr/lib/wine/wineserver -w || /usr/lib/wine/wineserver -k || true

    echo "suspend.ini as it wrote it, $(wc -c <"$demo/suspend.ini") bytes:"
    show_line_ends "$demo/suspend.ini"
    if ini_file "$windows_demo\\suspend.bat" "$windows_demo\\resume.bat" |
        cmp -s - "$demo/suspend.ini"; then
        echo "The same bytes as the file it read."
    else
        echo "Not the same bytes as the file it read."
    fi
}

build
set_up_folder
start_somnivo
simulate_power_events
show_about_window
minimize_to_tray
close_somnivo
printf '\nDone in %s; files in build/demo/.\n' "$(seconds_since "$SOMNIVO_DEMO_STARTED")"
