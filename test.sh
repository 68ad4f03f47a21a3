#!/usr/bin/env bash
# Sets up (missing packages, build) and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
