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
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
echo "== fuzz targets"
# Each target fuzzes for a fixed time (ZOR_FUZZ_SECONDS) on one core; they
# all run at once so the stage takes about that long whatever the core count.
fuzzers=$(ctest --test-dir build/fuzz -N | sed -n 's/^Total Tests: //p')
ctest --test-dir build/fuzz --output-on-failure -j "${fuzzers:-$jobs}" || status=1
echo "== sanitizer build"
ctest --test-dir build/asan --output-on-failure -j "$jobs" || status=1
echo "== optimised build"
ctest --test-dir build/release --output-on-failure -j "$jobs" || status=1
exit $status
