#!/bin/sh
# coverage.sh OUT_DIR CORPUS_DIR...
# The line coverage of the settings reader and writer that a corpus reaches:
# builds the fuzzer with clang's source-based coverage in OUT_DIR, runs each
# input of the corpora once, and prints llvm-cov's report for src/settings/.
# e.g. tests/fuzz/coverage.sh build/fuzz-coverage \
#          build/host-asan/tests/fuzz/long-run/corpus tests/fuzz/corpus
set -eu

if [ $# -lt 2 ]; then
    echo "usage: $0 OUT_DIR CORPUS_DIR..." >&2
    exit 2
fi
out=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../src" && pwd)
llvm=/usr/lib/llvm-14/bin

mkdir -p "$out"
# No sanitizers: only which lines ran is asked here.
"$llvm/clang++" -std=c++17 -O1 -g -fsanitize=fuzzer -fprofile-instr-generate \
    -fcoverage-mapping -I"$src" "$here/settings_fuzzer.cpp" "$src/settings/text.cpp" \
    "$src/settings/settings_format.cpp" -o "$out/settings_fuzzer_coverage"

rm -f "$out/inputs.profraw"
LLVM_PROFILE_FILE="$out/inputs.profraw" "$out/settings_fuzzer_coverage" -runs=0 "$@" \
    >"$out/run.log" 2>&1 || {
    cat "$out/run.log" >&2
    exit 1
}
"$llvm/llvm-profdata" merge -sparse "$out/inputs.profraw" -o "$out/inputs.profdata"
"$llvm/llvm-cov" report "$out/settings_fuzzer_coverage" -instr-profile="$out/inputs.profdata" \
    "$src/settings/settings_format.cpp" "$src/settings/text.cpp"
