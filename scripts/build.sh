#!/usr/bin/env bash
# Configures and builds into ./build (Ninja).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
# The source lists are globbed: a header added since the last build can be
# missed by the moc step unless it rescans, so make it rescan (cheap).
find build -path '*_autogen/timestamp' -delete 2>/dev/null || true
# BUILD_TARGETS names the targets to build (all when unset).
cmake --build build -j "$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
