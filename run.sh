#!/usr/bin/env bash
# Sets up (missing packages, build) and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
exec build/vornix
