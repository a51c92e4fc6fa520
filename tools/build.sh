#!/usr/bin/env bash
# Configures and builds. --sanitize builds with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ instead of build/.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  opts=(-DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF)
fi
# A compiler cache, where installed, makes rebuilds of other checkouts cheap.
command -v ccache >/dev/null && opts+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja "${opts[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
