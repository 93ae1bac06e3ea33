#!/usr/bin/env bash
# Installs what is missing, builds the optimised, the sanitizer and the
# fuzzing builds, and runs every test of each with ctest.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
jobs=$(nproc)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_SANITIZE=OFF >/dev/null
cmake --build build/release -j "$jobs"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZOR_SANITIZE=ON -DZOR_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOR_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$jobs"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
# libX11's own leak at exit under a real X display (see the file).
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
failed=()
# Runs one stage's tests; a stage with failures is named again at the end,
# with the tests that failed, so that the last lines of a long run tell. The
# failed tests run once more, alone, to tell a test that fails only beside
# others from one that always fails; the stage has failed either way.
stage() {
  local name=$1 dir=$2 tests again
  shift 2
  if ! ctest --test-dir "$dir" --output-on-failure "$@"; then
    status=1
    tests=$(sed 's/^[0-9]*://' "$dir/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | tr '\n' ' ')
    echo "== $name: the failed tests once more, one at a time"
    if ctest --test-dir "$dir" --output-on-failure --rerun-failed -j 1; then again="passed"; else again="failed"; fi
    failed+=("$name: $tests(run again alone: $again)")
  fi
}
echo "== fuzz targets"
# Each target fuzzes for a fixed time (ZOR_FUZZ_SECONDS, twice that for the
# whole savegames) on one core; they all run at once so the stage takes
# about that long whatever the core count.
fuzzers=$(ctest --test-dir build/fuzz -N | sed -n 's/^Total Tests: //p')
stage "fuzz targets" build/fuzz -j "${fuzzers:-$jobs}"
echo "== sanitizer build"
stage "sanitizer build" build/asan -j "$jobs"
echo "== optimised build"
stage "optimised build" build/release -j "$jobs"
for line in "${failed[@]}"; do echo "FAILED in the $line"; done
exit $status
