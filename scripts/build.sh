#!/usr/bin/env bash
# Configures and builds into ./build (Ninja).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
# BUILD_TARGETS names the targets to build (all when unset).
cmake --build build -j "$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
