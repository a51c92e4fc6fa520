#!/usr/bin/env bash
# Every benchmark of the project in one run, as one table of ratios against
# what the same machine does at the same time:
#   first paint        the window program vs a minimal Qt Widgets window
#                      (bench/minimal_window.cpp), both offscreen: wall time
#                      from the launch, and the process's CPU time, which
#                      other work on a shared machine does not stretch
#   editor filled      process start to the filled editor on a simulated
#                      controller vs that window's first paint + the 200 ms
#                      start-up delay + 23 exchanges x 2 ms
#   peak RSS           the program with its editor filled vs that window
#   language switch    the switch as the user makes it (handler, relayout,
#                      repaint) vs building the main window until it is
#                      painted, both as CPU time of the main thread
#   --all load-profile corvane-cli with 8 and 16 simulated controllers vs 1,
#                      through the real executable
#   protocol floors    one exchange and 21 reads vs their 2 ms poll waits,
#                      a full editor load vs 21 x 2 ms
#   idle               CPU time and wake-ups of the program after loading
#
# Options: --runs N (start-ups and command-line runs per figure, default 10),
# --idle SECONDS (default 10), --build-dir DIR (default build; its programs
# are built first), --bin-dir DIR (measure the programs in DIR as they are:
# corvane-config, corvane-cli, minimal_window, bench_*), --strict (exit 1
# when a target is missed).
#
# Programs run offscreen as copies in a scratch folder with private runtime,
# configuration and state folders, so the user's settings and a copy the
# user has open are never touched.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=10
idle=10
build_dir=build
bin_dir=""
strict=0
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="${2:?}"; shift 2 ;;
    --idle) idle="${2:?}"; shift 2 ;;
    --build-dir) build_dir="${2:?}"; shift 2 ;;
    --bin-dir) bin_dir="${2:?}"; shift 2 ;;
    --strict) strict=1; shift ;;
    -h|--help) sed -n '2,29p' "$0"; exit 0 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done

programs=(corvane-config corvane-cli minimal_window bench_transport bench_doinit bench_language_switch)
if [ -z "$bin_dir" ]; then
  [ -f "$build_dir/build.ninja" ] || bash tools/build.sh
  cmake --build "$build_dir" --target "${programs[@]}" >/dev/null
fi

# Beside the programs rather than in /tmp, which may be mounted noexec.
scratch=$(realpath "$(mktemp -d "${bin_dir:-$build_dir}/.bench.XXXXXX")")
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill -TERM "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
for p in "${programs[@]}"; do
  src="$build_dir/$p"
  [ -n "$bin_dir" ] && src="$bin_dir/$p"
  [ -x "$src" ] || src="$build_dir/bench/$p"
  [ -x "$src" ] || { echo "no program $p" >&2; exit 1; }
  cp "$src" "$scratch/$p"
done
mkdir -m 700 "$scratch/runtime" "$scratch/config" "$scratch/data"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/runtime" XDG_CONFIG_HOME="$scratch/config"
export XDG_DATA_HOME="$scratch/data" CORVANE_BENCH_STARTUP=1

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Starts a program in the background, stderr into $scratch/stderr.log.
launch() {
  rm -f "$scratch/CORVANE_Config.ini" # every run is a first start
  CORVANE_BENCH_T0=$EPOCHREALTIME "$scratch/$1" "${@:2}" 2>"$scratch/stderr.log" &
  pid=$!
}
launch_program() { launch corvane-config --simulate --simulate-state "$scratch/sim-state"; }

# Waits for "<what> after <ms> ms (CPU <ms> ms)"; prints both numbers.
await() {
  local deadline=$((SECONDS + 10))
  until grep -q "$1 after" "$scratch/stderr.log"; do
    if ! kill -0 "$pid" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
      echo "no '$1 after <ms> ms' line:" >&2
      cat "$scratch/stderr.log" >&2
      return 1
    fi
    sleep 0.005
  done
  sed -n "s/.*$1 after \([0-9.]*\) ms (CPU \([0-9.]*\) ms).*/\1 \2/p" "$scratch/stderr.log" | head -1
}

finish() { wait "$pid" || true; pid=""; }
stop() { kill -TERM "$pid"; finish; }
peak_rss_kib() { awk '/^VmHWM/ { print $2 }' "/proc/$pid/status"; }
cpu_ticks() {
  local stat rest
  stat=$(cat "/proc/$1/stat")
  rest=${stat##*) }
  # shellcheck disable=SC2086 # split into fields on purpose
  set -- $rest
  echo $((${12} + ${13}))
}
# Context switches of all threads: each one is a wake-up.
wakeups() { awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n + 0 }' /proc/"$1"/task/*/status; }

echo "start-up: $runs runs each, alternating" >&2
: >"$scratch/min-paint"; : >"$scratch/paint"; : >"$scratch/filled"
for ((i = 1; i <= runs; i++)); do
  CORVANE_BENCH_EXIT=1 launch minimal_window
  await "first paint" >>"$scratch/min-paint"
  finish
  CORVANE_BENCH_EXIT=1 launch_program
  await "editor filled" >>"$scratch/filled"
  await "first paint" >>"$scratch/paint"
  finish
done
min_paint=$(median <"$scratch/min-paint")
paint=$(median <"$scratch/paint")
filled=$(median <"$scratch/filled")
cpu_median() { awk '{ print $2 }' "$1" | median; }
min_paint_cpu=$(cpu_median "$scratch/min-paint")
paint_cpu=$(cpu_median "$scratch/paint")
start_floor=$(awk -v p="$min_paint" 'BEGIN { printf "%.1f", p + 200 + 23 * 2 }')

echo "peak memory and idle ($idle s)" >&2
launch minimal_window
await "first paint" >/dev/null
sleep 1
min_rss=$(peak_rss_kib)
stop
launch_program
await "editor filled" >/dev/null
sleep 1 # the first paint and the start-up timer are over
rss=$(peak_rss_kib)
ticks0=$(cpu_ticks "$pid"); wake0=$(wakeups "$pid")
sleep "$idle"
ticks1=$(cpu_ticks "$pid"); wake1=$(wakeups "$pid")
stop
idle_cpu_ms=$(((ticks1 - ticks0) * 1000 / $(getconf CLK_TCK)))
idle_wakeups=$((wake1 - wake0))

echo "command line: --all load-profile with 1, 8 and 16 controllers, $runs runs each" >&2
# Two profiles in turn, so that every run changes what the controllers hold.
"$scratch/corvane-cli" --simulate=1 --simulate-state "$scratch/profile-state" save-profile "$scratch/profile.cvn" \
  >/dev/null
for v in 100 150; do
  sed "s/^BRIG=.*/BRIG=$v/" "$scratch/profile.cvn" >"$scratch/profile-$v.cvn"
done
declare -A fleet
for n in 1 8 16; do
  : >"$scratch/fleet"
  for ((i = 1; i <= runs; i++)); do
    profile="$scratch/profile-$((i % 2 ? 100 : 150)).cvn"
    t0=$EPOCHREALTIME
    "$scratch/corvane-cli" --simulate="$n" --simulate-state "$scratch/fleet-state" --all load-profile "$profile" \
      >/dev/null || { echo "corvane-cli --simulate=$n --all load-profile failed" >&2; exit 1; }
    awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }' >>"$scratch/fleet"
  done
  fleet[$n]=$(median <"$scratch/fleet")
done

echo "in-process benchmarks" >&2
# Prints "name,real_time,counter,cpu_time" per benchmark (times in ms).
gbench() {
  "$scratch/$1" --benchmark_format=csv "${@:2}" 2>/dev/null | awk -F, -v c="$counter" '
    { gsub(/"/, "") }
    NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i; next }
    { printf "%s,%.2f,%s,%.2f\n", $1, $col["real_time"], (c ? $col[c] : ""), $col["cpu_time"] }'
}
counter=per_exchange_vs_2ms gbench bench_transport >"$scratch/transport"
counter=vs_floor gbench bench_doinit >"$scratch/doinit"
counter="" gbench bench_language_switch >"$scratch/switch"
pick() { awk -F, -v n="$2" -v f="$3" '$1 ~ n { print $f; exit }' "$scratch/$1"; }
exchange=$(pick transport BM_OneExchange 3)
reads=$(pick transport BM_TwentyOneReads 3)
doinit=$(pick doinit BM_DoInit 3)
doinit_ms=$(pick doinit BM_DoInit 2)
# Both run on the main thread alone: their CPU time, which other work on a
# shared machine does not stretch as it stretches wall time.
switch_ms=$(pick switch BM_LanguageSwitch 4)
build_ms=$(pick switch BM_BuildMainWindow 4)

# One row: figure, this project, baseline, ratio, target (the ratio's upper bound).
missed=0
row() {
  local ok
  ok=$(awk -v r="$4" -v t="$5" 'BEGIN { print (r <= t) ? "met" : "MISSED" }')
  [ "$ok" = met ] || missed=1
  printf '| %s | %s | %s | %s | <= %s %s |\n' "$1" "$2" "$3" "$4" "$5" "$ok"
}
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }

echo
echo "Machine: $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1), $(nproc) cores," \
  "load average $(cut -d' ' -f1-3 /proc/loadavg); $(date -u +%Y-%m-%d)"
echo
echo "| figure | this project | baseline | ratio | target |"
echo "|---|---|---|---|---|"
row "time to first paint (offscreen)" "$paint ms" "minimal window: $min_paint ms" "$(ratio "$paint" "$min_paint")" 1.3
row "CPU time to first paint" "$paint_cpu ms" "minimal window: $min_paint_cpu ms" \
  "$(ratio "$paint_cpu" "$min_paint_cpu")" 1.3
row "start to editor filled" "$filled ms" "minimal window + 200 ms + 23 x 2 ms: $start_floor ms" \
  "$(ratio "$filled" "$start_floor")" 1.1
row "peak RSS, offscreen" "$(mib "$rss")" "minimal window: $(mib "$min_rss")" "$(ratio "$rss" "$min_rss")" 1.2
row "language switch as the user makes it (CPU)" "$switch_ms ms" "building the window until painted: $build_ms ms" \
  "$(ratio "$switch_ms" "$build_ms")" 0.25
row "--all load-profile, 8 controllers" "${fleet[8]} ms" "1 controller: ${fleet[1]} ms" \
  "$(ratio "${fleet[8]}" "${fleet[1]}")" 1.15
row "--all load-profile, 16 controllers" "${fleet[16]} ms" "1 controller: ${fleet[1]} ms" \
  "$(ratio "${fleet[16]}" "${fleet[1]}")" 1.3
row "one exchange" "$(awk -v r="$exchange" 'BEGIN { printf "%.2f ms", r * 2 }')" "2 ms poll wait" \
  "$(awk -v r="$exchange" 'BEGIN { printf "%.2f", r }')" 1.1
row "21 reads" "$(awk -v r="$reads" 'BEGIN { printf "%.1f ms", r * 42 }')" "21 x 2 ms" \
  "$(awk -v r="$reads" 'BEGIN { printf "%.2f", r }')" 1.1
row "editor load (DoInit)" "$doinit_ms ms" "21 x 2 ms" "$(awk -v r="$doinit" 'BEGIN { printf "%.2f", r }')" 1.15
row "idle: wake-ups in $idle s (CPU ${idle_cpu_ms} ms)" "$idle_wakeups" "0" "$idle_wakeups" 2

[ "$strict" = 1 ] && [ "$missed" = 1 ] && exit 1
exit 0
