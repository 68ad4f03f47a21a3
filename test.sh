#!/usr/bin/env bash
# Sets up (missing packages, build) and runs every test headless.
# With VORNIX_SANITIZE=1 the suite runs a second time, built with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
if [ "${VORNIX_SANITIZE:-0}" = 1 ]; then
    echo "== The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer"
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    (cd build-sanitize && ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
fi
