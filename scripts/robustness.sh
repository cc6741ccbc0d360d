#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Robustness checks beyond the ordinary tests, run by test.sh:
#   1. the libFuzzer targets of tests/fuzz (clang, AddressSanitizer and
#      UndefinedBehaviorSanitizer), each for GOMIRLO_FUZZ_SECONDS (20) seconds,
#      on a copy of the committed seeds and past findings;
#   2. the whole test suite built with AddressSanitizer and
#      UndefinedBehaviorSanitizer in build-asan/, with LeakSanitizer on.
# Exits non-zero on any finding, failed test or sanitizer report. Findings of
# the fuzzers are kept in build-fuzz/findings/; once fixed, an input belongs in
# tests/fuzz/regressions/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${GOMIRLO_FUZZ_SECONDS:-20}
started=$SECONDS

bash scripts/deps.sh build fuzz

# --- Fuzzing ---------------------------------------------------------------

echo "== Building the fuzz targets (build-fuzz)"
nice cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=OFF -DGOMIRLO_FUZZ=ON >/dev/null
nice cmake --build build-fuzz -j2 --target fuzz_answer_text fuzz_record_file

findings=build-fuzz/findings
rm -rf "$findings"
mkdir -p "$findings"
work=$(mktemp -d /tmp/gomirlo-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT

# A smaller quarantine than the default keeps freed memory poisoned for
# thousands of inputs, and leaves the machine's page tables alone enough to
# try twice as many inputs in the same time.
fuzz_asan_options=quarantine_size_mb=64:detect_leaks=1:halt_on_error=1
failed=()
summary=()
for target in $(ls tests/fuzz/corpus); do
    corpus=$work/$target
    mkdir -p "$corpus"
    cp tests/fuzz/corpus/"$target"/* "$corpus"/
    # Past findings are read with the seeds but never written to.
    regressions=()
    [ -d tests/fuzz/regressions/"$target" ] && regressions=(tests/fuzz/regressions/"$target")
    log=$findings/$target.log
    echo "== Fuzzing $target for ${fuzz_seconds}s"
    if ASAN_OPTIONS=$fuzz_asan_options UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        nice build-fuzz/bin/fuzz_"$target" -max_total_time="$fuzz_seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/$target-" "$corpus" "${regressions[@]}" >"$log" 2>&1; then
        status=ok
    else
        status=FAILED
        failed+=("fuzz $target")
        grep -E -A12 'PROPERTY FAILED|ERROR: |runtime error' "$log" | head -40 || tail -40 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    summary+=("$(printf '%-16s %10s inputs  %s' "$target" "${runs:-?}" "$status")")
done
printf '%s\n' "${summary[@]}"
echo "== Fuzzing done after $((SECONDS - started))s"

# --- The test suite with sanitizers ----------------------------------------

echo "== Building the tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# -O1 as the sanitizers advise: quick to build, and reports point at the lines
# where things happen. Without NDEBUG, so Qt's and our assertions hold too.
nice cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
reports=build-asan/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
# AddressSanitizer and LeakSanitizer write their reports to files, so that one
# from a program that a test starts is seen too. UndefinedBehaviorSanitizer
# loses its reports when given a file, so it writes to the test's output, and
# the build makes every report of it end the program.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:log_path=$PWD/$reports/asan
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Leaks inside system libraries (fonts, graphics, sound) are theirs, not ours:
# the suppressions name only their frames.
export LSAN_OPTIONS=suppressions=$PWD/tests/fuzz/lsan.supp:print_suppressions=0
nice cmake --build build-asan -j2

echo "== Running the tests with sanitizers (built after $((SECONDS - started))s)"
# Every test runs once: a failure is a failure, whether or not a sanitizer
# reported it.
ctest_log=build-asan/ctest.log
if ! QT_QPA_PLATFORM=offscreen nice bash scripts/desktop.sh ctest --test-dir build-asan --output-on-failure -j2 \
    --output-log "$ctest_log"; then
    failed+=("tests under sanitizers")
fi
if grep -q -E 'runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer' "$ctest_log"; then
    failed+=("sanitizer reports in the test output")
fi
if compgen -G "$reports/*" >/dev/null; then
    failed+=("sanitizer reports")
    for report in "$reports"/*; do
        echo "--- $report"
        head -60 "$report"
    done
fi

echo "== Robustness checks took $((SECONDS - started))s"
if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "All robustness checks passed."
