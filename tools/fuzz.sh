#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for a short while.
# Usage: tools/fuzz.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
bash tools/deps.sh clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_FUZZ=ON -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_language_project fuzz_profile_reader

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$corpus/lang" "$corpus/profile"
cp "resources/i18n/VOXTRALANGNEUES PROJEKT" "$corpus/lang/embedded"
printf '[GLOBAL]\nINFO=CORVANE CONFIGURATION FILE\nID=-1\nVERSION=11\n\n[PARAMETER]\nLMAX=4096\nSTUP=-16777216\n' \
  > "$corpus/profile/sample"

export ASAN_OPTIONS=detect_leaks=1
./build-fuzz/tests/fuzz/fuzz_language_project -max_total_time="$seconds" -timeout=5 \
  -dict=tests/fuzz/fuzz_language_project.dict "$corpus/lang" 2>&1 | tail -n 3
./build-fuzz/tests/fuzz/fuzz_profile_reader -max_total_time="$seconds" -timeout=5 "$corpus/profile" 2>&1 | tail -n 3
echo "fuzzing: no crash, hang or leak found"
