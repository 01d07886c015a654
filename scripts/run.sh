#!/usr/bin/env bash
# Sets everything up and builds (scripts/setup.sh), then starts Cricklet in
# the per-user working folder, where its library and settings live.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
program="$PWD/${CRICKLET_BUILD_DIR:-build}/app/cricklet"
work_dir="${XDG_DATA_HOME:-$HOME/.local/share}/cricklet"
mkdir -p "$work_dir"
cd "$work_dir"
exec "$program" "$@"
