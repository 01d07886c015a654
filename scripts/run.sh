#!/usr/bin/env bash
# Sets everything up and builds (scripts/setup.sh), then starts Cricklet,
# which works in the per-user folder where its library and settings live.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
program="$PWD/${CRICKLET_BUILD_DIR:-build}/app/cricklet"
data_home="${XDG_DATA_HOME:-}"
[[ "$data_home" == /* ]] || data_home="$HOME/.local/share"
work_dir="$data_home/cricklet"
mkdir -p "$work_dir"
# The program looks for its HTML template and help page in the working folder
# before the installed data folder; a build that is not installed puts them
# there. A copy the user edited is kept.
[ -e "$work_dir/Template.htm" ] || cp resources/Template.htm "$work_dir/"
[ -e "$work_dir/Help" ] || cp -r resources/Help "$work_dir/"
# Files and folders given are taken from the folder the user started in.
cd "$OLDPWD"
exec "$program" "$@"
