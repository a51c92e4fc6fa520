#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages this project needs that are missing.
# Extra package names may be given as arguments. Run as root (or with sudo).
# qt6-translations-l10n carries Qt's own texts (file dialogs, standard
# buttons) in the program's other languages.
set -euo pipefail

pkgs=(cmake ninja-build g++ pkg-config
      qt6-base-dev libgl-dev libhidapi-dev libudev-dev libsimpleini-dev
      nlohmann-json3-dev libgtest-dev libbenchmark-dev python3 python3-jsonschema
      fonts-dejavu-core libumockdev-dev umockdev qt6-translations-l10n ansible-core
      clang-tidy python3-yaml "$@")

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
