#!/usr/bin/env bash
# Installs what is missing, builds, starts a private PostgreSQL server and runs the
# benchmarks, which print their figures on SQLite and on that server. The server is
# stopped at the end, also when a benchmark fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
source "$root/scripts/pg-test-server.sh"
trap pg_test_stop EXIT
pg_test_start
build=${VALMEDO_BUILD_DIR:-$root/build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$build/bench/bench_lists"
"$build/bench/bench_customers"
"$build/bench/bench_videos"
"$build/bench/bench_lends"
"$build/bench/bench_grids"
"$build/bench/bench_reports"
"$build/bench/bench_back"
"$build/bench/bench_lend"
"$build/bench/bench_exchange"
