#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo database at the default
# place when there is none, and starts the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
db="$(./build/tessary-admin default-path)"
if [ ! -e "$db" ]; then
  mkdir -p "$(dirname "$db")"
  ./build/tessary-admin demo "$db"
fi
exec ./build/tessary
