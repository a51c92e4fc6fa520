#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool on a simulated controller.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
bash tools/build.sh
exec ./build/corvane-config --simulate "$@"
