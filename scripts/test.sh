#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal
# build and once built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== Build and test"
bash "$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash "$root/scripts/build.sh" "$root/build-sanitize" -DVFC_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs"
