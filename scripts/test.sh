#!/usr/bin/env bash
# Installs what is missing, then builds and runs every check: the test suite (Release), the
# benchmarks in a short run, the release check, the test suite again under AddressSanitizer
# and UndefinedBehaviorSanitizer (Debug, so assertions are on), and a bounded fuzz run of
# the patch set reader when clang is present. Stops at the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

echo "== Build and test (Release)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2
ctest --test-dir build --output-on-failure

echo "== Benchmarks (short run)"
for bench in build/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    "$bench" --benchmark_min_time=0.05
done

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON \
    -DTOLVANE_BUILD_BENCH=OFF
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -E ReleaseCheck

if command -v clang++ >/dev/null 2>&1 && [ -f fuzz/CMakeLists.txt ]; then
    echo "== Fuzz the patch set reader (60 s)"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_BUILD_FUZZ=ON \
        -DTOLVANE_BUILD_TESTS=OFF -DTOLVANE_BUILD_BENCH=OFF
    cmake --build build-fuzz -j2 --target fuzz_patchset_reader
    mkdir -p build-fuzz/corpus
    # The seeds in fuzz/seeds hold values at and past the format's limit; the fuzzer would
    # not take inputs longer than its largest seed unless told to.
    build-fuzz/fuzz/fuzz_patchset_reader -max_total_time=60 -rss_limit_mb=2048 \
        -max_len=262144 build-fuzz/corpus tests/data fuzz/seeds
else
    echo "== clang++ or the fuzz target missing: fuzz run skipped"
fi

echo "All checks passed."
