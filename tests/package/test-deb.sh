#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian package on this machine, checks what it installed, and removes it again:
# tests/package/test-deb.sh [PATH.deb] (without a path it builds one with scripts/package).
# Runs only where it may install (root or passwordless sudo, apt-get and dpkg), and never over
# a Scourwell that is already installed; elsewhere it says why and succeeds, so it breaks no
# run on another machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
skip() { echo "package test skipped: $*"; exit 0; }

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo -n true 2>/dev/null || skip "needs root or passwordless sudo"
    sudo="sudo -n"
fi
command -v apt-get >/dev/null && command -v dpkg >/dev/null || skip "needs apt-get and dpkg"
if dpkg-query -W -f='${Status}' scourwell 2>/dev/null | grep -q "install ok installed"; then
    skip "a scourwell package is installed already"
fi

if [ $# -gt 0 ]; then
    deb=$(realpath "$1")
else
    deb=$("$root/scripts/package" | tail -n 1)
fi

passes=0
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passes=$((passes + 1)); }
check() { # check WHAT COMMAND...: runs it, shows its output when it fails
    local what=$1 out
    shift
    if out=$("$@" 2>&1); then pass "$what"; else fail "$what"; echo "$out"; fi
}

# Lintian first: it reads the file only. Errors fail, warnings are shown.
if command -v lintian >/dev/null; then
    tags=$(lintian "$deb" 2>/dev/null || true)
    [ -n "$tags" ] && echo "$tags"
    if grep -q '^E:' <<<"$tags"; then fail "lintian reports errors"; else pass "lintian: no errors"; fi
else
    fail "lintian is not installed (scripts/setup installs it)"
fi

export DEBIAN_FRONTEND=noninteractive
work=$(mktemp -d)
cleanup() {
    $sudo apt-get purge -y -qq scourwell >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
$sudo apt-get install -y -qq "$deb" >/dev/null

version=$(dpkg-deb -f "$deb" Version)
for program in scourwell quillon; do
    check "$program --version" test "$(QT_QPA_PLATFORM=offscreen "/usr/bin/$program" --version)" = "$program $version"
done
check "desktop entries" desktop-file-validate /usr/share/applications/scourwell.desktop \
    /usr/share/applications/quillon.desktop
check "metainfo" appstreamcli validate --no-net /usr/share/metainfo/org.example.scourwell.metainfo.xml
check "icons" test -s /usr/share/icons/hicolor/scalable/apps/scourwell.svg -a \
    -s /usr/share/icons/hicolor/scalable/apps/quillon.svg
check "help page" test -s /usr/share/doc/scourwell/scourwell-help.html
check "man pages" test -s /usr/share/man/man1/scourwell.1.gz -a -s /usr/share/man/man1/quillon.1.gz
if command -v systemd-analyze >/dev/null; then
    check "user service" env XDG_RUNTIME_DIR="$work" systemd-analyze --user verify \
        /usr/lib/systemd/user/scourwell.service
else
    echo "user service not verified: systemd-analyze is not installed"
fi

# As the service runs it: the installed program keeps its files in ~/.config/scourwell even
# as root, who could write /usr/bin, and SIGTERM ends it with status 0.
HOME="$work" XDG_CONFIG_HOME="" /usr/bin/scourwell --headless >"$work/headless.out" 2>&1 &
pid=$!
for _ in $(seq 100); do
    [ -f "$work/.config/scourwell/ConfigDat.ini" ] && break
    sleep 0.1
done
check "program folder ~/.config/scourwell" test -f "$work/.config/scourwell/ConfigDat.ini"
check "nothing kept in /usr/bin" test ! -e /usr/bin/ConfigDat.ini -a ! -e /usr/bin/Logs
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
check "SIGTERM ends --headless with status 0" test "$status" -eq 0

$sudo apt-get purge -y -qq scourwell >/dev/null
check "removed again" test ! -e /usr/bin/scourwell -a ! -e /usr/share/applications/scourwell.desktop

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
