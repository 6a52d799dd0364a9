#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and runs with. Safe to run again.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mapfile -t packages < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")

sudo_if_needed=()
if [ "$(id -u)" -ne 0 ]; then sudo_if_needed=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -eq 0 ]; then
  echo "bootstrap: all ${#packages[@]} packages are installed"
  exit 0
fi
echo "bootstrap: installing ${missing[*]}"
"${sudo_if_needed[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_if_needed[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
