#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the program need,
# when they are missing. Safe to run again: it only calls apt-get when a
# package is absent.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev sqlite3
  postgresql libqt6sql6-psql libqt6sql6-odbc unixodbc odbc-postgresql tdsodbc
  libgtest-dev libbenchmark-dev libpq-dev
  xvfb xauth
  lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
