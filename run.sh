#!/usr/bin/env bash
# Installs the dependencies and builds the release configuration.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"

# The front panel as the editor draws it, for a look without a host.
mkdir -p out
./build/release/tools/keldra-render --panel out/panel.png \
  --set GainH=0.8 --set HPF=0.3 --set OUT=6 --oversampling 16
