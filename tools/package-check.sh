#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine and runs the installed programs, so that
# what users get is tested and not only the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh dpkg-dev desktop-file-utils appstream man-db
cmake --build --preset default --target package
deb=$(ls -t build/default/zeb-contest_*.deb | head -n 1)
echo "Package: $deb"
dpkg-deb --field "$deb" Depends
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall "./$deb" > /dev/null

/usr/bin/zebscore --version
/usr/bin/zebscore --json tests/data/cli/party-lf.cbr > /tmp/zeb-package-check.jsonl || status=$?
# That log is scored with warnings and unknown prefixes answered Ignore: status 0.
[ "${status:-0}" -eq 0 ] || { echo "installed zebscore failed with status $status"; exit 1; }
grep -q '"outcome":"scored"' /tmp/zeb-package-check.jsonl
test -x /usr/bin/zebcontest
man -w zebscore
MANWIDTH=80 man zebscore 2>/dev/null | grep -q 'EXIT STATUS'
desktop-file-validate /usr/share/applications/zebcontest.desktop
appstreamcli validate --no-net /usr/share/metainfo/cz.zeb.zebcontest.metainfo.xml
test -f /usr/share/icons/hicolor/scalable/apps/zebcontest.svg
test -f /usr/share/mime/packages/zebcontest.xml
echo "package-check: the installed package works"
