#!/bin/sh
# Builds TALU with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-san and runs the quick suite on SQLite under it. Any finding of
# either (leaks included) fails the test that shows it.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALU_SANITIZE=ON -DTALU_BENCH=OFF >/dev/null
cmake --build build-san -j"$(nproc)"
cd build-san
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
env -u TALU_TEST_PG ctest --output-on-failure -j"$(nproc)" -LE zuverlaessigkeit
