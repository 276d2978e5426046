#!/usr/bin/env bash
# Builds and runs every test: the normal build with warnings as errors (unit, widget and
# end-to-end tests, and a check of the Debian package), then the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer. The end-to-end tests start their own Xvfb and openbox.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/deps.sh" test

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUADRIVO_WERROR=ON >/dev/null
cmake --build "$root/build" -j"$jobs"
(cd "$root/build" && ctest --output-on-failure -j"$jobs")
"$root/scripts/check_package.sh" "$root/build"

cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DQUADRIVO_WERROR=ON \
      -DQUADRIVO_SANITIZE=ON -DQUADRIVO_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build-sanitize" -j"$jobs"
(cd "$root/build-sanitize" && \
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j"$jobs" -LE e2e)
