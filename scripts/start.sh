#!/usr/bin/env bash
# Installs what is missing, builds, and starts Valmedo 4 on the embedded database.
# The shop's files (Valmedo4.pwd, .ini, .log) live in a working folder of their own,
# by default ~/Valmedo4; set VALMEDO_HOME to choose another.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
work=${VALMEDO_HOME:-$HOME/Valmedo4}
mkdir -p "$work"
cd "$work"
exec "${VALMEDO_BUILD_DIR:-$root/build}/valmedo4" "$@"
