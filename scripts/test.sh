#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test (core, widgets, end-to-end).
# PRESET=ci makes warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-default}
scripts/deps.sh
scripts/check-format.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" "$@"
