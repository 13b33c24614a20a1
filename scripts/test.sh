#!/usr/bin/env bash
# Installs what is missing, builds, starts a private PostgreSQL server and runs every
# test with CTest. The server is stopped at the end, also when a test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
source "$root/scripts/pg-test-server.sh"
trap pg_test_stop EXIT
pg_test_start
cd "${VALMEDO_BUILD_DIR:-$root/build}"
ctest --output-on-failure -j"$(nproc)" "$@"
