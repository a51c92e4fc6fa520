#!/usr/bin/env bash
# Takes the README's screenshot of the main window on a simulated controller,
# under a virtual X server:
#   tools/screenshot.sh              -> docs/screenshot-main.png
#   tools/screenshot.sh --lang de    -> docs/screenshot-main-de.png
# Options: --build-dir DIR (default build), --wait SECONDS (longest wait for
# the editor, default 10).
#
# The program runs as a copy in a scratch folder, so its settings file lands
# beside that copy and the user's own settings are neither read nor changed.
# Its runtime folder is private too, so a copy the user has open does not
# take the start-up for itself.
set -euo pipefail
self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
cd "$(dirname "$0")/.."

# Runs on the virtual display: start, wait for the filled editor, shoot, close.
shoot() {
  local scratch=$1 out=$2 max_wait=$3
  CORVANE_BENCH_STARTUP=1 "$scratch/corvane-config" --simulate \
      --simulate-state "$scratch/sim-state" 2>"$scratch/stderr.log" &
  local pid=$!
  local waited=0
  # The program says when the editor is filled; without that line, the
  # longest wait has to do.
  until grep -q "editor filled" "$scratch/stderr.log" 2>/dev/null; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "the program ended early:" >&2; cat "$scratch/stderr.log" >&2; return 1
    fi
    if [ "$waited" -ge $((max_wait * 10)) ]; then
      echo "no 'editor filled' line after ${max_wait} s; taking the picture anyway" >&2
      break
    fi
    sleep 0.1; waited=$((waited + 1))
  done
  sleep 0.5 # let the last paint land
  # No window manager: the window sits undecorated on a black root; trim it out.
  import -window root "$scratch/root.png"
  convert "$scratch/root.png" -trim +repage "$out"
  kill -TERM "$pid"
  wait "$pid" || true
}
# xvfb-run is a POSIX shell script, which drops exported functions: it runs
# this script again with an internal first argument instead.
if [ "${1:-}" = "--on-display" ]; then
  shift
  shoot "$@"
  exit
fi

lang=""
build_dir=build
max_wait=10
while [ $# -gt 0 ]; do
  case "$1" in
    --lang) lang="${2:?--lang needs a language code}"; shift 2 ;;
    --lang=*) lang="${1#--lang=}"; shift ;;
    --build-dir) build_dir="${2:?--build-dir needs a folder}"; shift 2 ;;
    --wait) max_wait="${2:?--wait needs seconds}"; shift 2 ;;
    -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done
case "$lang" in
  ""|[A-Za-z][A-Za-z]|[A-Za-z][A-Za-z][-_][A-Za-z][A-Za-z]) ;;
  *) echo "not a language code: $lang" >&2; exit 2 ;;
esac

bash tools/deps.sh xvfb xauth imagemagick

if [ -f "$build_dir/build.ninja" ]; then
  cmake --build "$build_dir" --target corvane-config
else
  bash tools/build.sh
fi
binary="$build_dir/corvane-config"
[ -x "$binary" ] || { echo "no program at $binary" >&2; exit 1; }

out=docs/screenshot-main${lang:+-$lang}.png
mkdir -p docs

# Inside the build folder rather than /tmp, which may be mounted noexec.
scratch=$(realpath "$(mktemp -d "$build_dir/.screenshot.XXXXXX")")
trap 'rm -rf "$scratch"' EXIT
cp "$binary" "$scratch/corvane-config"
mkdir -m 700 "$scratch/runtime" "$scratch/config"
if [ -n "$lang" ]; then
  printf '[CONFIG]\nLANGUAGE=%s\n' "$lang" > "$scratch/CORVANE_Config.ini"
fi


env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR \
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" XDG_CONFIG_HOME="$scratch/config" \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$self" --on-display "$scratch" "$PWD/$out" "$max_wait"

echo "wrote $out"
