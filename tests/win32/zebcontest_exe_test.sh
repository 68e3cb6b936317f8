#!/usr/bin/env bash
# The Win32 form under Wine, on a virtual X screen of its own: its tests inside their own process,
# then zebcontest.exe worked by form_driver.exe (see there for what it checks), after zebscore.exe
# has written the protocols that the form must show and save; then its contest window worked by
# contest_driver.exe over a folder of logs, in Czech, beside zebscore.exe's results of it.
#
# Usage: zebcontest_exe_test.sh ZEBCONTEST_EXE FORM_DRIVER_EXE ZEBSCORE_EXE FORM_TESTS_EXE FIXTURES
#                               ROUNDS CONTEST_DRIVER_EXE CONTEST_FIXTURES
# FIXTURES holds party-crlf.cbr and party-lf.cbr, CONTEST_FIXTURES the logs of a contest (*.cbr);
# WINEPREFIX names the Wine prefix to use.
set -uo pipefail
if [ -z "${ZEB_ON_VIRTUAL_SCREEN:-}" ]; then
    exec env ZEB_ON_VIRTUAL_SCREEN=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
exe=$(realpath "$1")
driver=$(realpath "$2")
zebscore=$(realpath "$3")
form_tests=$(realpath "$4")
fixtures=$(realpath "$5")
rounds=${6:-1}
contest_driver=$(realpath "$7")
contest_fixtures=$(realpath "$8")
export WINEDEBUG=-all
: "${WINEPREFIX:?WINEPREFIX names the Wine prefix}"

work=$(mktemp -d)
cleanup() {
    wineserver -k 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# Czech letters in every path that the dialogs give the core.
mkdir -p "$work/Deníky ZEB"
cp "$fixtures/party-crlf.cbr" "$fixtures/party-lf.cbr" "$work/Deníky ZEB/"
cd "$work/Deníky ZEB" || exit 1

# Wine's own desktop in one X window: its windows show and hide at once, where on a bare virtual
# screen each would wait in vain for a window manager.
cat > desktop.reg << 'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
wine reg import desktop.reg > /dev/null 2>&1

wine "$form_tests" || exit 1

wine "$zebscore" --unknown-prefix ignore -o auto.prn party-crlf.cbr > /dev/null 2>&1
wine "$zebscore" --exch-start 74 --unknown-prefix ignore -o corrected.prn party-crlf.cbr \
    > /dev/null 2>&1
if [ ! -s auto.prn ] || [ ! -s corrected.prn ]; then
    echo "zebscore.exe wrote no protocol"
    exit 1
fi
wine "$driver" "$(winepath -w "$exe")" "$rounds" || exit 1

# The contest: its logs and a file that is no log, in a folder of Czech letters.
cd "$work" || exit 1
mkdir -p "Soutěž ZEB"
cp "$contest_fixtures"/*.cbr "Soutěž ZEB/"
echo "poznámky k závodu" > "Soutěž ZEB/poznámky.txt"
wine "$zebscore" --contest zebscore --config-beside "Soutěž ZEB" > /dev/null 2>&1
if [ ! -s zebscore/results.csv ]; then
    echo "zebscore.exe wrote no results"
    exit 1
fi
LANGUAGE=cs wine "$contest_driver" "$(winepath -w "$exe")" "$(winepath -w "$zebscore")" "$rounds"
