#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, installs it on this machine and runs the
# installed programs, so that what users get is tested and not only the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh dpkg-dev desktop-file-utils appstream man-db lintian xdg-utils libfile-mimeinfo-perl \
              shared-mime-info
cmake --build --preset default --target package
deb=$(ls -t build/default/zeb-contest_*.deb | head -n 1)
echo "Package: $deb"
dpkg-deb --field "$deb" Version Depends
# Not a single error or warning; lintian refuses to run as root only with a notice.
lintian --fail-on error,warning "$deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall "./$deb" > /dev/null
[ "$(dpkg-query -W -f='${Version}' zeb-contest)" = "$(dpkg-deb --field "$deb" Version)" ]

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package-check: $*" >&2; exit 1; }

# The programs show the program's version, whatever the package's.
[ "$(/usr/bin/zebscore --version)" = "zebscore 3.05" ] || fail "zebscore --version"
/usr/bin/zebscore --json tests/data/cli/party-lf.cbr > "$work/party.jsonl" || status=$?
# That log is scored with warnings and unknown prefixes answered Ignore: status 0.
[ "${status:-0}" -eq 0 ] || fail "installed zebscore failed with status $status"
grep -q '"outcome":"scored"' "$work/party.jsonl"
[ -z "$(/usr/bin/zebscore --help | awk 'length($0) > 80')" ] || fail "--help wider than 80"

# The window answers --help and --version without a display and without Qt.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANGUAGE=en /usr/bin/zebcontest --help) ||
    fail "zebcontest --help failed"
grep -q '^Usage: zebcontest \[LOG\]$' <<< "$help"
[ "$(env -u DISPLAY /usr/bin/zebcontest --version)" = "zebcontest 3.05" ] ||
    fail "zebcontest --version"

# The Czech messages and manual pages where a Czech user's programs look for them.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANGUAGE=cs /usr/bin/zebcontest --help)
grep -q '^Použití: zebcontest \[DENÍK\]$' <<< "$help" || fail "zebcontest --help is not Czech"
for page in zebscore zebcontest; do
    man -L C -w "$page" | grep -q "/man1/$page.1.gz$" || fail "no compressed manual page $page"
    man -L cs -w "$page" | grep -q "/cs/man1/$page.1.gz$" || fail "no Czech manual page $page"
done
MANWIDTH=80 man -L C zebscore 2>/dev/null | grep -q 'EXIT STATUS'
MANWIDTH=80 man -L cs zebscore 2>/dev/null | grep -q 'NÁVRATOVÝ KÓD'
# The JSON objects keep their quotes when rendered.
MANWIDTH=80 man -L C zebscore 2>/dev/null | grep -qF '{"kind": ..., "text": ...}' ||
    fail "the JSON section of zebscore(1) lost its quotes"
MANWIDTH=80 man -L C zebcontest 2>/dev/null | grep -q 'COLUMN CONFIGURATION'
MANWIDTH=80 man -L cs zebcontest 2>/dev/null | grep -q 'KONFIGURACE SLOUPCŮ'

desktop-file-validate /usr/share/applications/zebcontest.desktop
grep -q '^Exec=zebcontest --contest$' /usr/share/applications/zebcontest.desktop ||
    fail "the desktop entry has no action that evaluates a whole contest"
dpkg-deb --field "$deb" Depends | grep -q 'qt6-translations-l10n' ||
    fail "the package does not bring Qt's Czech texts"
appstreamcli validate --no-net /usr/share/metainfo/cz.zeb.zebcontest.metainfo.xml
test -f /usr/share/icons/hicolor/scalable/apps/zebcontest.svg
test -f /usr/share/mime/packages/zebcontest.xml

# A Cabrillo log named *.cbr is ours, not a comic book, also for the tools that try globs
# before the content (xdg-mime on a desktop without gio).
cp tests/data/cli/party-lf.cbr "$work/OK1ABC.cbr"
type=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION xdg-mime query filetype "$work/OK1ABC.cbr")
[ "$type" = application/x-zeb-cabrillo ] || fail "xdg-mime says $type for a Cabrillo log"
echo "package-check: the installed package works"
