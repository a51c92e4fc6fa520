#!/usr/bin/env bash
# Builds the Debian packages from debian/ with debhelper:
#   dist/corvane-cli_<version>_<arch>.deb     the command line, udev rule, completions
#   dist/corvane-config_<version>_<arch>.deb  the window program and its desktop files
#   dist/<package>-dbgsym_<version>_<arch>.deb  their debug symbols
# The build runs in a copy of the sources under build-deb/, so the checkout
# and its parent folder stay clean. --check then checks what was built
# (tests/package/check_package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

extra=(debhelper dpkg-dev)
[ "$check" -eq 1 ] && extra+=(lintian appstream zsh fish)
bash tools/deps.sh "${extra[@]}"

# The package version comes from debian/changelog; the programs report the
# one in CMakeLists.txt. A release raises both.
version=$(dpkg-parsechangelog -S Version)
cmake_version=$(sed -n 's/^project(corvane-config VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if [ "$version" != "$cmake_version" ]; then
  echo "debian/changelog has version $version, CMakeLists.txt $cmake_version" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)

stage=build-deb
rm -rf "$stage"
mkdir -p "$stage/src" dist
tar -cf - --exclude-vcs --exclude='./build*' --exclude=./dist . | tar -xf - -C "$stage/src"

# A compiler cache, where installed, makes rebuilds cheap. debhelper points
# HOME at a scratch folder, so name the cache folder outright.
if command -v ccache >/dev/null; then
  export CORVANE_CMAKE_ARGS=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
  CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
  export CCACHE_DIR
fi

# The build log is long (every compiler call); it is shown when the build fails.
log=$stage/build.log
echo "building the package (log: $log)"
if ! (cd "$stage/src" && dpkg-buildpackage --build=binary --no-sign -Jauto) >"$log" 2>&1; then
  tail -n 60 "$log" >&2
  echo "package build failed; the whole log is $log" >&2
  exit 1
fi

rm -f dist/corvane-c*.deb
for pkg in corvane-cli corvane-cli-dbgsym corvane-config corvane-config-dbgsym; do
  mv "$stage/${pkg}_${version}_${arch}.deb" dist/
  echo "built dist/${pkg}_${version}_${arch}.deb"
done

if [ "$check" -eq 1 ]; then
  bash tests/package/check_package.sh dist "${version}_${arch}"
fi
