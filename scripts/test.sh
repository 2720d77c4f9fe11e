#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: on the embedded
# database and on a throw-away PostgreSQL server of its own (its data under
# build/pgtest, a free local port, stopped at the end).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
export QT_QPA_PLATFORM=offscreen
server_dir=build/pgtest
TESSARY_TEST_PG=$(bash scripts/pg-test-server.sh start "$server_dir")
trap 'bash scripts/pg-test-server.sh stop "$server_dir"' EXIT
export TESSARY_TEST_PG TESSARY_REQUIRE_SERVER=1
ctest --test-dir build --output-on-failure -j "$(nproc)"
