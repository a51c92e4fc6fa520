#!/usr/bin/env bash
# End-to-end tests of the window (tests/e2e): the real corvane-config on
# simulated controllers under a virtual X server, driven through the
# accessibility bus with real mouse and key events.
#   tools/e2e.sh [--build-dir DIR] [NAME...]
# NAME picks test classes of tests/e2e/test_end_to_end.py (all without).
# Installs what is missing first. Exit status: 0 passed, 1 failed, 77 when
# no X server or accessibility tooling could be installed (CTest: skipped).
set -euo pipefail
self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
cd "$(dirname "$0")/.."

# Inside the private session bus: the accessibility bus, then the tests.
if [ "${1:-}" = "--on-bus" ]; then
  shift
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  trap 'kill "$launcher" 2>/dev/null; wait "$launcher" 2>/dev/null' EXIT
  patterns=()
  for name in "$@"; do patterns+=(-k "$name"); done
  cd tests/e2e
  /usr/bin/python3 -m unittest -v "${patterns[@]}" test_end_to_end
  exit
fi

build_dir=build
names=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build_dir="${2:?--build-dir needs a folder}"; shift 2 ;;
    -h|--help) sed -n '2,8p' "$0"; exit 0 ;;
    -*) echo "unknown option: $1" >&2; exit 2 ;;
    *) names+=("$1"); shift ;;
  esac
done

tools=(xvfb xauth at-spi2-core python3-pyatspi python3-dogtail dbus-x11)
have_tools() {
  command -v Xvfb >/dev/null && command -v dbus-run-session >/dev/null \
    && [ -x /usr/libexec/at-spi-bus-launcher ] \
    && /usr/bin/python3 -c 'import pyatspi, dogtail.rawinput' 2>/dev/null
}
if ! have_tools; then
  bash tools/deps.sh "${tools[@]}" >&2 || true
  if ! have_tools; then
    echo "SKIPPED: the virtual X server and accessibility tools (${tools[*]}) could not be installed" >&2
    exit 77
  fi
fi
for program in corvane-config corvane-cli; do
  [ -x "$build_dir/$program" ] || { echo "no program at $build_dir/$program: build first" >&2; exit 1; }
done

# A display number of its own, so tests and a desktop never meet.
xvfb_pid=""
cleanup() { [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }; rm -f "$display_file"; }
display_file=$(mktemp)
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.05; done
[ -s "$display_file" ] || { echo "the virtual X server did not start" >&2; exit 1; }

# The bus daemon's complaint about its file limit is harmless noise.
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORMTHEME -u QT_SCALE_FACTOR -u SESSION_MANAGER \
    DISPLAY=":$(cat "$display_file")" CORVANE_BUILD_DIR="$(realpath "$build_dir")" \
    PYTHONWARNINGS=ignore::DeprecationWarning PYTHONDONTWRITEBYTECODE=1 \
    dbus-run-session -- bash "$self" --on-bus "${names[@]}" 2> >(grep -v "Failed to set fd limit" >&2)
