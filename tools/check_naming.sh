#!/usr/bin/env bash
# Checks that every name declared in src/ is in plain Qt style (.clang-tidy)
# or one the product's design gives (tools/naming-allowlist.txt); fails on the
# first kind of violation it finds. Needs the compile database of a build
# (tools/build.sh; another build folder through BUILD_DIR).
#
# --fix renames what clang-tidy finds instead, in src/ and at every use in the
# tests and benchmarks; what its fix-its cannot reach (names in strings, the
# fuzz targets, which need clang) is left for the next build to point out.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${BUILD_DIR:-build}
list=tools/naming-allowlist.txt

# The names of one section of the list as one alternation: "A|B|C".
names() {
  awk -v section="[$1]" '/^\[/ { on = ($0 == section); next }
    on && NF && !/^#/ { print $1 }' "$list" | paste -sd'|'
}
types=$(names types)
functions=$(names functions)
members=$(names members)

option() { printf "  - { key: readability-identifier-naming.%s, value: '^(%s)\$' }\n" "$1" "$2"; }
config=$(cat .clang-tidy
  option FunctionIgnoredRegexp "$functions"
  option MethodIgnoredRegexp "$functions"
  for kind in Public Private Protected; do option "${kind}MemberIgnoredRegexp" "$members"; done)

tidy=(run-clang-tidy -p "$build" -j 2 -quiet -config "$config" -header-filter "^$root/src/")

if [ "${1:-}" = "--fix" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  "${tidy[@]}" -export-fixes "$work/found.yaml" "^$root/(src|tests|bench)/" >/dev/null || true
  mkdir "$work/fixes"
  python3 tools/naming_fixes.py "$root/src/" "$work/found.yaml" >"$work/fixes/naming.yaml"
  clang-apply-replacements "$work/fixes"
  exit
fi

# clang-tidy has no rule against a prefix, so types named T... are found here:
# every one must be a type the design names.
invented=$(grep -rhoE --include='*.h' --include='*.cpp' \
    -e '\b(class|struct|union|enum)\s+T[A-Z][A-Za-z0-9_]*' \
    -e '\busing\s+T[A-Z][A-Za-z0-9_]*\s*=' \
    -e '\btypedef\b[^;]*\bT[A-Z][A-Za-z0-9_]*\s*;' src |
  grep -oE '\bT[A-Z][A-Za-z0-9_]*' | sort -u | grep -vxE "$types" || true)
if [ -n "$invented" ]; then
  echo "Types with a T prefix the design does not name (see $list):" $invented >&2
  exit 1
fi

# Every clang-tidy command line carries the whole configuration: only the
# findings are shown, each once (a header's are found in every file using it).
"${tidy[@]}" "^$root/src/" 2>&1 |
  sed -n 's/\x1b\[[0-9;]*m//g; /: \(error\|warning\): /p' | sort -u
