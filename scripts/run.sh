#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo database at the default
# place when there is none, and starts the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# The program and the admin command only: the tests are the test command's.
BUILD_TARGETS="tessary tessary-admin" bash scripts/build.sh
db="$(./build/tessary-admin default-path)"
if [ ! -e "$db" ]; then
  mkdir -p "$(dirname "$db")"
  ./build/tessary-admin demo "$db"
else
  # A demo database made by an earlier version is brought up to date.
  ./build/tessary-admin upgrade "$db"
fi
exec ./build/tessary
