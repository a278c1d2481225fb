#!/usr/bin/env bash
# Installs the dependencies and builds the release configuration.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
