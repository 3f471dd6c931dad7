#!/bin/sh
# Builds the fuzz targets with clang and runs each for a fixed time on its
# corpus. Usage: fuzz/pruefe.sh BUILDVERZEICHNIS [SEKUNDEN_JE_ZIEL]
# Exit 77 (skipped) when clang or its libFuzzer runtime is missing.
# Inputs found on the way stay in BUILDVERZEICHNIS/lauf/<ziel>; a crash is
# kept as BUILDVERZEICHNIS/funde/<ziel>-crash-* and fails the run.
set -u
QUELLE=$(cd "$(dirname "$0")" && pwd)
BUILD=${1:?Buildverzeichnis fehlt}
SEKUNDEN=${2:-20}
command -v clang++ >/dev/null 2>&1 || { echo "clang++ fehlt: Fuzzing übersprungen"; exit 77; }
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
  clang++ -x c++ -fsanitize=fuzzer -o /dev/null - >/dev/null 2>&1 || {
  echo "libFuzzer fehlt (Paket libclang-rt-14-dev): Fuzzing übersprungen"; exit 77; }

CC=clang CXX=clang++ cmake -S "$QUELLE" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build "$BUILD" -j"$(nproc)" >"$BUILD/bau.log" 2>&1 || { tail -40 "$BUILD/bau.log"; exit 1; }

# Leaks inside Qt's one-time set-up are no finding; the targets' own are
# caught by AddressSanitizer's other checks, so leak detection stays off.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The file targets write and sync a file per input: on a memory file system
# that costs next to nothing.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
fehler=0
mkdir -p "$BUILD/funde"
printf '%-20s %12s %8s %s\n' Ziel Ausführungen Korpus Ergebnis
for ziel in $(cd "$QUELLE/korpus" && ls); do
  mkdir -p "$BUILD/lauf/$ziel"
  "$BUILD/$ziel" -max_total_time="$SEKUNDEN" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$BUILD/funde/$ziel-" \
    "$BUILD/lauf/$ziel" "$QUELLE/korpus/$ziel" >"$BUILD/lauf/$ziel.log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$BUILD/lauf/$ziel.log" | tail -1)
  korpus=$(find "$BUILD/lauf/$ziel" -type f | wc -l)
  if [ $rc -eq 0 ]; then
    printf '%-20s %12s %8s %s\n' "$ziel" "${runs:-?}" "$korpus" ok
  else
    printf '%-20s %12s %8s %s\n' "$ziel" "${runs:-?}" "$korpus" "FEHLER ($rc)"
    grep -E "Eigenschaft verletzt|ERROR: |runtime error|SUMMARY|Test unit written" "$BUILD/lauf/$ziel.log" | head -10
    fehler=1
  fi
done
exit $fehler
