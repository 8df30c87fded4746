#!/usr/bin/env bash
# Installs what is missing, builds Quillor and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLOR_BUILD_TESTS=OFF
cmake --build build --parallel "$(nproc)" --target quillor
exec build/src/app/quillor "$@"
