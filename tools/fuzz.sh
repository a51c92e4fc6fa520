#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs them, seeded from tests/fuzz/seeds.
#
# Usage: tools/fuzz.sh [SECONDS]
#          Short check (CI): each target for SECONDS (default 30); fails at
#          the first crash, hang or leak.
#        tools/fuzz.sh --runs N [TARGET...]
#          Campaign: each target (default all) to N executions, going on
#          past findings; prints executions and findings per target. The
#          corpus grows in build-fuzz/corpus/<target>, findings are kept in
#          build-fuzz/findings/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(language_project profile_reader settings_reader state_file instance_message hid_reply
         cli_arguments window_arguments)
mode=short
seconds=30
runs=0
if [ "${1:-}" = "--runs" ]; then
  mode=campaign
  runs="${2:?--runs needs a number of executions}"
  shift 2
  [ $# -gt 0 ] && targets=("$@")
elif [ $# -gt 0 ]; then
  seconds="$1"
fi

bash tools/deps.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_FUZZ=ON -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# A smaller quarantine than the default 256 MB: freed memory is still held
# back for hundreds of inputs, but new allocations stay in warm pages, which
# more than doubles the rate of the allocation-heavy targets.
export ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=32
export UBSAN_OPTIONS=print_stacktrace=1

options() {
  case "$1" in
    language_project) echo "-dict=tests/fuzz/fuzz_language_project.dict -max_len=4096" ;;
    *) echo "" ;;
  esac
}

stat_of() { # stat name, log file
  awk -v k="stat::$1:" '$1 == k { print $2 }' "$2" | tail -n 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

short_run() {
  local t=$1 log="$work/$1.log"
  mkdir -p "$work/$t"
  cp tests/fuzz/seeds/"$t"/* "$work/$t/"
  # shellcheck disable=SC2046
  if ! ./build-fuzz/tests/fuzz/fuzz_"$t" -max_total_time="$seconds" -timeout=5 -print_final_stats=1 \
      -artifact_prefix="$work/" $(options "$t") "$work/$t" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzzing $t: finding above" >&2
    exit 1
  fi
  echo "$t: $(stat_of number_of_executed_units "$log") executions," \
    "$(stat_of average_exec_per_sec "$log")/s, no finding"
}

campaign() {
  local t=$1 corpus="build-fuzz/corpus/$1" found_dir="build-fuzz/findings/$1"
  local log="$work/$1.log" done=0 before after ran
  mkdir -p "$corpus" "$found_dir"
  before=$(find "$found_dir" -type f | wc -l)
  while [ "$done" -lt "$runs" ]; do
    # Each finding ends one run; the next goes on with the grown corpus.
    # shellcheck disable=SC2046
    ./build-fuzz/tests/fuzz/fuzz_"$t" -runs=$((runs - done)) -timeout=5 -print_final_stats=1 \
      -artifact_prefix="$found_dir/" $(options "$t") "$corpus" tests/fuzz/seeds/"$t" >"$log" 2>&1 || true
    ran=$(stat_of number_of_executed_units "$log")
    [ -n "$ran" ] && [ "$ran" -gt 0 ] || { tail -n 20 "$log"; echo "$t: no executions" >&2; break; }
    done=$((done + ran))
    after=$(find "$found_dir" -type f | wc -l)
    [ $((after - before)) -ge 20 ] && break # something is badly wrong; look at these first
  done
  after=$(find "$found_dir" -type f | wc -l)
  echo "$t: $done executions, $((after - before)) findings"
}

for t in "${targets[@]}"; do
  if [ "$mode" = campaign ]; then campaign "$t"; else short_run "$t"; fi
done
[ "$mode" = short ] && echo "fuzzing: no crash, hang or leak found"
exit 0
