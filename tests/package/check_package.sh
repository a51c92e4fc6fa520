#!/usr/bin/env bash
# Checks the built Debian package: the exact set of files it installs,
# stripped programs whose debug symbols are in the -dbgsym package, lintian,
# the AppStream metadata, and the shell completions as the shells load them.
# Usage: check_package.sh PACKAGE.deb DBGSYM.deb (tools/package.sh --check).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=$1
dbgsym=$2

passes=0 failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passes=$((passes + 1)); }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -x "$dbgsym" "$work/dbg"

# Files and links, not folders: a folder appears whenever something is in it.
(cd "$work/root" && find . ! -type d | sed 's/^\.//' | LC_ALL=C sort) >"$work/files"
if diff -u <(LC_ALL=C sort "$here/expected-files.txt") "$work/files"; then
  pass "file list"
else
  fail "file list differs from tests/package/expected-files.txt (- expected, + packaged)"
fi

for program in corvane-config corvane-cli; do
  binary="$work/root/usr/bin/$program"
  if readelf -S --wide "$binary" | grep -q '\.debug_info'; then
    fail "$program is not stripped"
  fi
  id=$(readelf -n "$binary" | sed -n 's/.*Build ID: *//p')
  if [ -n "$id" ] && [ -f "$work/dbg/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug" ]; then
    pass "$program stripped, debug symbols in $(basename "$dbgsym")"
  else
    fail "no debug symbols for $program (build ID '$id') in $(basename "$dbgsym")"
  fi
done

# Errors and warnings fail; information tags are shown for the record.
if lintian --info --display-info --fail-on error,warning "$deb" "$dbgsym"; then
  pass "lintian"
else
  fail "lintian"
fi

# The metadata's ID is the reverse of the project's domain, whose top-level
# domain the validator does not know: that one remark is no fault.
if appstreamcli validate --no-net --strict --override=cid-maybe-not-rdns=pedantic \
     "$work/root/usr/share/metainfo/"*.metainfo.xml; then
  pass "appstreamcli validate"
else
  fail "appstreamcli validate"
fi

# Completions: load each as its shell would and ask for a few candidates.
completions=$work/root/usr/share
bash_probe() { # LINE -> candidates, one line
  bash -c 'source "$1"; COMP_LINE=$2; COMP_POINT=${#COMP_LINE}; _corvane_cli; echo "${COMPREPLY[*]}"' \
    _ "$completions/bash-completion/completions/corvane-cli" "$1"
}
expect() { # WHAT GOT WANT
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: got '$2', want '$3'"; fi
}
expect "bash: commands" "$(bash_probe 'corvane-cli --json re')" "restart reset-defaults"
expect "bash: fields to set" "$(bash_probe 'corvane-cli --all set stripe.')" \
  "stripe.mirror= stripe.leds_per_channel= stripe.channels="
expect "bash: capacity is read-only" "$(bash_probe 'corvane-cli set LMA')" ""
expect "bash: get options" "$(bash_probe 'corvane-cli get --fi')" "--fields"
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
