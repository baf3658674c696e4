#!/usr/bin/env bash
# Installs what is needed, builds Hue Bench and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target huebench
exec build/huebench "$@"
