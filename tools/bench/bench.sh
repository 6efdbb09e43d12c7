#!/bin/sh
# make bench: figures of the built somnivo.exe under Wine, each beside a
# baseline measured in the same run, as one table with notes.
#
#   tools/bench/bench.sh
#
# SOMNIVO_BENCH_COUNTS="cycles=100 hold=10 ..." passes smaller counts to
# somnivo_bench.exe for a quick look; the figures of such a run are not
# comparable with a full one.
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
export SOMNIVO_BENCH_STARTED="${SOMNIVO_BENCH_STARTED:-$(date +%s)}"

# The bench driver and the programs it starts must share one X server, and
# through it one Wine desktop: the windows it looks for are those of that
# server.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" /bin/sh "$0" "$@"
fi

fail() {
    echo "bench: $*" >&2
    exit 1
}

case "$root" in
*" "*) fail "the checkout's path has a blank in it; the commands in suspend.ini cannot" ;;
esac

# The product is the 32-bit build; where Wine's 32-bit loader cannot start,
# the same sources built for 64-bit Windows stand in for it.
if "$root/tools/wine-run.sh" --can-run-win32; then
    arch=win32
    wine_arch=""
    measured="build/win32 (32-bit, the product as it ships)"
else
    arch=win64
    wine_arch="--win64"
    measured="build/win64 (64-bit: this kernel cannot run 32-bit programs, so the same sources built for x86_64)"
fi

work=$root/build/bench-$arch
rm -rf "$work"
mkdir -p "$work"
log=$work/build.log

build() {
    preset=$1
    shift
    echo "bench: building $* with the $preset preset" >&2
    if ! (cd "$root" && cmake --preset "$preset" && cmake --build --preset "$preset" --target "$@") \
        >>"$log" 2>&1; then
        tail -n 20 "$log" >&2
        if grep -q "No rule to make target\|unknown target" "$log"; then
            echo "bench: is add_subdirectory(tools/bench) in CMakeLists.txt?" >&2
        fi
        fail "the $preset build failed; its output is in ${log#"$root"/}"
    fi
}

build "$arch" somnivo somnivo_bench bare_window exit_at_once
# The sizes are those of the product, built even where it cannot run.
build win32 somnivo powersim bare_window exit_at_once

windows_path() { printf 'Z:%s' "$1" | sed 's|/|\\|g'; }

# A prefix of its own: the bench finds windows by process, but a test's
# powersim searching by title would find Somnivo windows of the bench.
export SOMNIVO_WINEPREFIX="$root/build/wineprefix-bench-$arch"
export WINEPREFIX="$SOMNIVO_WINEPREFIX"
bin=$root/build/$arch
# shellcheck disable=SC2086
wine_run() { "$root/tools/wine-run.sh" $wine_arch "$@"; }

# Whatever the bench started is in the bench's own prefix: on an interrupted
# or failed run, stopping that prefix's Wine server stops exactly those.
on_exit() {
    status=$?
    if [ "$status" -ne 0 ]; then
        /usr/lib/wine/wineserver -k 2>/dev/null || true
    fi
    exit "$status"
}
trap on_exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Makes the prefix on a first run and starts the Wine server and desktop, so
# that none of it lands in the first figure.
echo "bench: starting Wine in ${SOMNIVO_WINEPREFIX#"$root"/}" >&2
wine_run "$bin/tools/bench/exit_at_once.exe" </dev/null >/dev/null 2>&1 ||
    fail "Wine could not run exit_at_once.exe"

measuring_started=$(date +%s)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# There before the bench writes to it, so that tail finds it.
: >"$work/progress.txt"
# No console for the bench (stdin and stdout are no terminal): a console
# command it starts then gets a new console from Wine, as one started by
# somnivo.exe, a windowed program, does.
# shellcheck disable=SC2086
wine_run "$bin/tools/bench/somnivo_bench.exe" \
    "$(windows_path "$bin/somnivo.exe")" \
    "$(windows_path "$bin/tools/bench/bare_window.exe")" \
    "$(windows_path "$bin/tools/bench/exit_at_once.exe")" \
    "$(windows_path "$work")" ${SOMNIVO_BENCH_COUNTS:-} \
    </dev/null >"$work/figures.tsv" 2>"$work/progress.txt" &
bench_pid=$!
# Progress as it comes, without Wine's own messages.
tail -f "$work/progress.txt" --pid=$bench_pid 2>/dev/null | grep --line-buffered '^bench:' >&2 &
status=0
wait $bench_pid || status=$?
wait
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
# Wine's server and desktop linger a moment; the X server must outlive them.
timeout 20 /usr/lib/wine/wineserver -w 2>/dev/null || true
[ "$status" -eq 0 ] || fail "somnivo_bench.exe failed (exit $status); see ${work#"$root"/}/progress.txt"

size_of() { stat -c %s "$1"; }

# The size as shipped, stripped: the exes are linked with -s already, and a
# second strip of a copy shows that nothing is left to take out.
stripped_size() {
    i686-w64-mingw32-strip -o "$work/stripped.exe" "$1"
    size_of "$work/stripped.exe"
    rm -f "$work/stripped.exe"
}

imports() {
    i686-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ { printf "%s%s", sep, $3; sep = " " }'
}

size_row() {
    product=$root/build/win32/$1
    baseline=$root/build/win32/tools/bench/$2
    a=$(stripped_size "$product")
    b=$(stripped_size "$baseline")
    ratio=$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')
    printf 'ROW\t6 size %s, win32 (vs %s)\t%d KiB (%d B)\t%d KiB (%d B)\t%s\t-\t-\n' \
        "$(basename "$1")" "$2" $((a / 1024)) "$a" $((b / 1024)) "$b" "$ratio"
    printf 'NOTE\tsize: %s (as built: %d B) imports %s; %s imports %s.\n' \
        "$(basename "$1")" "$(size_of "$product")" "$(imports "$product")" "$2" "$(imports "$baseline")"
}

{
    cat "$work/figures.tsv"
    size_row somnivo.exe bare_window.exe
    size_row tools/powersim/powersim.exe exit_at_once.exe
} >"$work/all.tsv"

finished=$(date +%s)
elapsed=$((finished - SOMNIVO_BENCH_STARTED))
preparing=$((measuring_started - SOMNIVO_BENCH_STARTED))

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
echo "Somnivo benchmark, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "machine:  $cpu, $(nproc) cores, $(uname -sr), $(/usr/lib/wine/wine64 --version 2>/dev/null || wine --version)"
echo "measured: $measured"
echo "sizes:    build/win32 (the product)"
echo "load:     $load_before before, $load_after after (1, 5, 15 min averages)"
echo
# The table with each column as wide as its widest cell, then the notes
# wrapped at 100 columns.
awk -F'\t' '
    function wrap(text, first, rest,    words, count, index_, line) {
        count = split(text, words, " ")
        line = first
        for (index_ = 1; index_ <= count; index_++) {
            if (line != first && length(line) + 1 + length(words[index_]) > 100) {
                print line
                line = rest
            }
            line = line (line == first || line == rest ? "" : " ") words[index_]
        }
        print line
    }
    function cells(values,    column, line) {
        line = ""
        for (column = 1; column <= 6; column++)
            line = line sprintf("%s%-*s", column > 1 ? " | " : "", width[column], values[column])
        sub(/ +$/, "", line)
        print line
    }
    $1 == "ROW" {
        rows++
        for (column = 1; column <= 6; column++) {
            table[rows, column] = $(column + 1)
            if (length($(column + 1)) > width[column]) width[column] = length($(column + 1))
        }
    }
    $1 == "NOTE" { notes[++noteCount] = $2 }
    END {
        split("figure|Somnivo|baseline|ratio|goal|met?", header, "|")
        for (column = 1; column <= 6; column++) {
            if (length(header[column]) > width[column]) width[column] = length(header[column])
            dashes = sprintf("%*s", width[column], "")
            gsub(/ /, "-", dashes)
            rule = rule (column > 1 ? "-+-" : "") dashes
        }
        cells(header)
        print rule
        for (row = 1; row <= rows; row++) {
            for (column = 1; column <= 6; column++) values[column] = table[row, column]
            cells(values)
        }
        print ""
        wrap("Cells: median [spread]. The spread is min-max over the repetitions, except in " \
             "the rows of figure 2, where it is the interquartile range of the samples.", "", "")
        print ""
        print "Notes:"
        for (note = 1; note <= noteCount; note++) wrap(notes[note], "- ", "  ")
    }' "$work/all.tsv"
echo
echo "Run time: ${elapsed} s: ${preparing} s of builds and Wine start-up, then $((finished - measuring_started)) s of measuring."
echo "Raw figures: ${work#"$root"/}/all.tsv"
