#!/usr/bin/env bash
# Takes the README's screenshots of the main window on a simulated controller,
# under a virtual X server:
#   tools/screenshot.sh                      -> docs/screenshot-main.png
#   tools/screenshot.sh --lang de            -> docs/screenshot-main-de.png
#   tools/screenshot.sh --scale 2 --dark     -> docs/screenshot-main-scale2-dark.png
# Options: --lang CODE (the stored language), --scale FACTOR (QT_SCALE_FACTOR,
# as on a high-resolution screen), --dark (a dark palette through the qt6ct
# platform theme, as a user would set one), --page N (the editor page shown,
# 0 to 3), --out FILE, --build-dir DIR (default build), --wait SECONDS
# (longest wait for the editor, default 10).
#
# The program runs as a copy in a scratch folder, so its settings file lands
# beside that copy and the user's own settings are neither read nor changed.
# Its runtime and configuration folders are private too, so a copy the user
# has open does not take the start-up for itself.
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
  # No window manager, so no frame: the widest window with the program's
  # title is the main window (Qt also keeps a 1x1 helper window of that name).
  local best="" best_width=0 id width
  for id in $(xdotool search --onlyvisible --name '^CORVANE Config Tool'); do
    width=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
    if [ "$width" -gt "$best_width" ]; then best=$id; best_width=$width; fi
  done
  if [ -z "$best" ]; then
    echo "no main window found" >&2; kill -TERM "$pid"; wait "$pid" || true; return 1
  fi
  import -window "$best" "$out"
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
scale=""
dark=0
page=""
out=""
build_dir=build
max_wait=10
while [ $# -gt 0 ]; do
  case "$1" in
    --lang) lang="${2:?--lang needs a language code}"; shift 2 ;;
    --lang=*) lang="${1#--lang=}"; shift ;;
    --scale) scale="${2:?--scale needs a factor}"; shift 2 ;;
    --scale=*) scale="${1#--scale=}"; shift ;;
    --dark) dark=1; shift ;;
    --page) page="${2:?--page needs a page number}"; shift 2 ;;
    --out) out="${2:?--out needs a file name}"; shift 2 ;;
    --build-dir) build_dir="${2:?--build-dir needs a folder}"; shift 2 ;;
    --wait) max_wait="${2:?--wait needs seconds}"; shift 2 ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done
case "$lang" in
  ""|[A-Za-z][A-Za-z]|[A-Za-z][A-Za-z][-_][A-Za-z][A-Za-z]) ;;
  *) echo "not a language code: $lang" >&2; exit 2 ;;
esac
case "$scale" in
  ""|[1-4]|[1-3].[0-9]|[1-3].[0-9][0-9]) ;;
  *) echo "not a scale factor from 1 to 4: $scale" >&2; exit 2 ;;
esac
case "$page" in
  ""|[0-3]) ;;
  *) echo "not a page number from 0 to 3: $page" >&2; exit 2 ;;
esac

extra=()
[ "$dark" -eq 0 ] || extra+=(qt6ct)
bash tools/deps.sh xvfb xauth imagemagick xdotool x11-utils "${extra[@]}"

if [ -f "$build_dir/build.ninja" ]; then
  cmake --build "$build_dir" --target corvane-config
else
  bash tools/build.sh
fi
binary="$build_dir/corvane-config"
[ -x "$binary" ] || { echo "no program at $binary" >&2; exit 1; }

if [ -z "$out" ]; then
  out="docs/screenshot-main${lang:+-$lang}${scale:+-scale${scale/./_}}"
  [ "$dark" -eq 0 ] || out+="-dark"
  out+=".png"
fi
mkdir -p "$(dirname "$out")"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac

# Inside the build folder rather than /tmp, which may be mounted noexec.
scratch=$(realpath "$(mktemp -d "$build_dir/.screenshot.XXXXXX")")
trap 'rm -rf "$scratch"' EXIT
cp "$binary" "$scratch/corvane-config"
mkdir -m 700 "$scratch/runtime" "$scratch/config"
{
  echo "[CONFIG]"
  [ -z "$lang" ] || echo "LANGUAGE=$lang"
  [ -z "$page" ] || echo "TABACTIVE=$page"
} > "$scratch/CORVANE_Config.ini"

env_args=(QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" XDG_CONFIG_HOME="$scratch/config")
[ -z "$scale" ] || env_args+=(QT_SCALE_FACTOR="$scale")
if [ "$dark" -eq 1 ]; then
  mkdir -p "$scratch/config/qt6ct"
  # qt6ct's own dark colour scheme, with Qt's Fusion style and Qt's usual
  # fonts, so the picture differs from the light one in its colours only.
  cat > "$scratch/config/qt6ct/qt6ct.conf" <<'CONF'
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
style=Fusion

[Fonts]
general="Sans Serif,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
fixed="Monospace,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
CONF
  env_args+=(QT_QPA_PLATFORMTHEME=qt6ct)
fi

env -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR "${env_args[@]}" \
    xvfb-run -a -s "-screen 0 2560x1600x24" \
    bash "$self" --on-display "$scratch" "$out" "$max_wait"

echo "wrote ${out#"$PWD"/}"
