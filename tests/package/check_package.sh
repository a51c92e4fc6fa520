#!/usr/bin/env bash
# Checks the built Debian packages: the exact set of files each installs,
# stripped programs whose debug symbols are in the -dbgsym packages, the
# command line's libraries, lintian, the AppStream metadata, and the shell
# completions as the shells load them.
# Usage: check_package.sh DIR VERSION_ARCH (tools/package.sh --check), with
# DIR holding corvane-cli_VERSION_ARCH.deb, corvane-config_VERSION_ARCH.deb
# and their -dbgsym packages.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
suffix=$2
version=${suffix%_*}

passes=0 failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passes=$((passes + 1)); }
expect() { # WHAT GOT WANT
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: got '$2', want '$3'"; fi
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
debs=()
# Each package is named after the program it carries.
for pkg in corvane-cli corvane-config; do
  deb=$dir/${pkg}_$suffix.deb
  dbgsym=$dir/$pkg-dbgsym_$suffix.deb
  debs+=("$deb" "$dbgsym")
  dpkg-deb -x "$deb" "$work/$pkg"
  dpkg-deb -x "$dbgsym" "$work/$pkg-dbg"

  # Files and links, not folders: a folder appears whenever something is in it.
  (cd "$work/$pkg" && find . ! -type d | sed 's/^\.//' | LC_ALL=C sort) >"$work/files"
  if diff -u <(LC_ALL=C sort "$here/expected-files-$pkg.txt") "$work/files"; then
    pass "$pkg: file list"
  else
    fail "$pkg: file list differs from tests/package/expected-files-$pkg.txt (- expected, + packaged)"
  fi

  binary="$work/$pkg/usr/bin/$pkg"
  if readelf -S --wide "$binary" | grep -q '\.debug_info'; then
    fail "$pkg is not stripped"
  fi
  id=$(readelf -n "$binary" | sed -n 's/.*Build ID: *//p')
  if [ -n "$id" ] && [ -f "$work/$pkg-dbg/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug" ]; then
    pass "$pkg stripped, debug symbols in $(basename "$dbgsym")"
  else
    fail "no debug symbols for $pkg (build ID '$id') in $(basename "$dbgsym")"
  fi
done

# A headless install must not pull in a graphics stack: the command line
# links QtCore, hidapi, libudev and the C and C++ runtimes, nothing else.
expect "corvane-cli: libraries beyond QtCore, hidapi and libudev" \
  "$(readelf -d "$work/corvane-cli/usr/bin/corvane-cli" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' |
     grep -Ev '^(lib(Qt6Core|hidapi-hidraw|udev|stdc\+\+|gcc_s|c|m)\.so\.|ld-linux)' | xargs)" ""
expect "corvane-config: depends on this corvane-cli" \
  "$(dpkg-deb -f "$dir/corvane-config_$suffix.deb" Depends | grep -o "corvane-cli (= [^)]*)")" \
  "corvane-cli (= $version)"

# Errors and warnings fail; information tags are shown for the record.
if lintian --info --display-info --fail-on error,warning "${debs[@]}"; then
  pass "lintian"
else
  fail "lintian"
fi

# The metadata's ID is the reverse of the project's domain, whose top-level
# domain the validator does not know: that one remark is no fault.
if appstreamcli validate --no-net --strict --override=cid-maybe-not-rdns=pedantic \
     "$work/corvane-config/usr/share/metainfo/"*.metainfo.xml; then
  pass "appstreamcli validate"
else
  fail "appstreamcli validate"
fi

# Software centres lay out screenshots by the sizes the metadata states
# before loading them, so each must be that of the picture in docs/ that
# its address names. A PNG's width and height are the big-endian words at
# bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*2^24 + $2*2^16 + $3*2^8 + $4 "x" $5*2^24 + $6*2^16 + $7*2^8 + $8 }'; }
shots=0
while read -r stated name; do
  expect "screenshot size of $name" "$(png_size "$here/../../docs/$name")" "$stated"
  shots=$((shots + 1))
done < <(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)"[^>]*>[^<]*/\([^/<]*\)</image>.*|\1x\2 \3|p' \
           "$work/corvane-config/usr/share/metainfo/"*.metainfo.xml)
[ "$shots" -gt 0 ] || fail "no screenshot with a stated size in the AppStream metadata"

# Completions: load each as its shell would and ask for a few candidates.
completions=$work/corvane-cli/usr/share
bash_probe() { # LINE -> candidates, one line
  bash -c 'source "$1"; COMP_LINE=$2; COMP_POINT=${#COMP_LINE}; _corvane_cli; echo "${COMPREPLY[*]}"' \
    _ "$completions/bash-completion/completions/corvane-cli" "$1"
}
expect "bash: commands" "$(bash_probe 'corvane-cli --json re')" "restart reset-defaults"
expect "bash: fields to set" "$(bash_probe 'corvane-cli --all set stripe.')" \
  "stripe.mirror= stripe.leds_per_channel= stripe.channels="
expect "bash: capacity is read-only" "$(bash_probe 'corvane-cli set LMA')" ""
expect "bash: get options" "$(bash_probe 'corvane-cli get --fi')" "--fields"
expect "bash: dry run" "$(bash_probe 'corvane-cli set --dr')" "--dry-run"
expect "bash: items of a list field" "$(bash_probe 'corvane-cli set led.protocol=ap')" "apa106 apa102"
expect "bash: numbers are not guessed" "$(bash_probe 'corvane-cli set BRIG=1')" ""
expect "fish: fields to set" \
  "$(fish -c 'source $argv[1]; complete -C"corvane-cli set matrix.mirror"' "$completions/fish/vendor_completions.d/corvane-cli.fish" | cut -f1 | xargs)" \
  "matrix.mirror_x= matrix.mirror_y="
if zsh -n "$completions/zsh/vendor-completions/_corvane-cli"; then
  pass "zsh: completion parses"
else
  fail "zsh: completion does not parse"
fi

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
