#!/usr/bin/env bash
# Installs what is needed, builds Marlix and starts it. When the operator has configured no device of
# their own and no profile chooses simulation, Marlix is attached to the bundled controller emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
exec build/marlix
