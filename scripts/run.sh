#!/usr/bin/env bash
# Installs what is needed, builds the programs and starts the chromatogram generator.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/bootstrap.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc)" --target quelmar xstgtool
exec build/release/app/quelmar "$@"
