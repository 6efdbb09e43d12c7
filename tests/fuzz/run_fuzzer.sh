#!/bin/sh
# run_fuzzer.sh [--fresh] FUZZER SECONDS WORK_DIR
# Runs the settings fuzzer for SECONDS from the committed seeds. New inputs go
# to WORK_DIR/corpus, never to the seeds, and a failing input to
# WORK_DIR/crashes/; --fresh empties WORK_DIR first, so each run starts from
# the seeds alone. The exit status is the fuzzer's: non-zero on any finding.
set -eu

fresh=no
if [ "${1:-}" = "--fresh" ]; then
    fresh=yes
    shift
fi
if [ $# -ne 3 ]; then
    echo "usage: $0 [--fresh] FUZZER SECONDS WORK_DIR" >&2
    exit 2
fi
fuzzer=$1
seconds=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)

[ "$fresh" = yes ] && rm -rf "$work"
mkdir -p "$work/corpus" "$work/crashes"

# Leaks, and any sanitizer report, count as findings.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
if [ -z "${ASAN_SYMBOLIZER_PATH:-}" ] && [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then
    export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi

echo "Fuzzing for ${seconds}s; new inputs in $work/corpus, findings in $work/crashes/"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=8192 \
    -dict="$here/settings.dict" -print_final_stats=1 \
    -artifact_prefix="$work/crashes/" "$work/corpus" "$here/corpus"
