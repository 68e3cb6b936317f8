#!/usr/bin/env bash
# zebscore.exe under Wine beside the Linux zebscore, as an evaluator uses it. --contest over a
# folder whose name and logs have Czech letters gives the same JSON Lines and messages, the same
# files to the byte (results, cross-check, index page, entrant reports, repaired copies), and the
# same protocols with CR LF line ends; no output replaces an input, however it is spelled; a full
# disk and a read-only disk keep the earlier file and leave no temporary file; Ctrl-C stops between
# two logs with status 130 and leaves no temporary file and no table of a part of the contest.
#
# Usage: zebscore_exe_test.sh ZEBSCORE_EXE LINUX_ZEBSCORE LOG_FOLDER...
# Every *.cbr of the folders takes part; WINEPREFIX names the Wine prefix to use.
set -uo pipefail
exe=$(realpath "$1")
linux=$(realpath "$2")
shift 2
if [ ! -x "$linux" ]; then
    echo "no Linux zebscore at $linux to compare with: build it first (make build)"
    exit 77
fi
export WINEDEBUG=-all
: "${WINEPREFIX:?WINEPREFIX names the Wine prefix}"

work=$(mktemp -d)
mounts=()
cleanup() {
    for m in "${mounts[@]}"; do umount "$m" 2> /dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
windows() { wine "$exe" "$@"; }

# The same logs for both, in a folder of Czech letters, each log's name with them too.
logs="Přihlášky ZEB"
for side in linux windows; do
    mkdir -p "$work/$side/$logs"
    for folder in "$@"; do
        for log in "$folder"/*.cbr; do
            [ -f "$log" ] && cp "$log" "$work/$side/$logs/ČÁP-$(basename "$log")"
        done
    done
done
count=$(ls "$work/linux/$logs" | wc -l)
echo "a contest of $count logs"

for side in linux windows; do
    (
        cd "$work/$side" || exit 1
        run=("$linux")
        [ "$side" = windows ] && run=(wine "$exe")
        "${run[@]}" --contest výsledky --json "$logs" > výsledky.jsonl 2> zprávy.txt
        echo $? > status
    )
done
# The paths that the program makes are the system's: with backslashes on Windows, in the messages
# and the JSON (where a backslash is written twice); all else is the same text.
cmp -s "$work/linux/status" "$work/windows/status" || fail "the status differs from Linux"
difference=$(sed 's|\\\\|/|g' "$work/windows/výsledky.jsonl" | cmp "$work/linux/výsledky.jsonl" - 2>&1) ||
    fail "the JSON Lines differ from Linux beyond the separators: $difference"
difference=$(sed 's|\\|/|g' "$work/windows/zprávy.txt" | cmp "$work/linux/zprávy.txt" - 2>&1) ||
    fail "the messages differ from Linux beyond the separators: $difference"
grep -q 'open výsledky\\index.html$' "$work/windows/zprávy.txt" ||
    fail "the closing line names no Windows path: $(tail -n 1 "$work/windows/zprávy.txt")"

# The user's language: Czech on a Czech Windows, English on another, the Czech letters right.
czech=$(LANG=cs_CZ.UTF-8 wine "$exe" --bogus 2>&1)
[ "$czech" = "zebscore: neznámá volba '--bogus'
Více řekne 'zebscore --help'." ] || fail "a Czech user reads: $czech"
english=$(LANG=en_US.UTF-8 wine "$exe" --bogus 2>&1)
[ "$english" = "zebscore: unknown option '--bogus'
Try 'zebscore --help' for more information." ] || fail "an English user reads: $english"
# Every file of the contest: the protocols are text, with CR LF; all else the same bytes.
files=$(cd "$work/linux/výsledky" && find . -type f | sort)
[ "$files" = "$(cd "$work/windows/výsledky" && find . -type f | sort)" ] ||
    fail "other files than on Linux: $(diff -r "$work/linux/výsledky" "$work/windows/výsledky" | head -n 3)"
protocols=0
others=0
while IFS= read -r file; do
    linux_file="$work/linux/výsledky/$file"
    windows_file="$work/windows/výsledky/$file"
    if [[ "$file" == ./protocols/*.prn ]]; then
        sed 's/$/\r/' "$linux_file" | cmp -s - "$windows_file" ||
            fail "protocol $file is not the Linux one with CR LF"
        protocols=$((protocols + 1))
    else
        cmp -s "$linux_file" "$windows_file" || fail "$file differs from Linux"
        others=$((others + 1))
    fi
done <<< "$files"
[ "$protocols" -gt 0 ] || fail "no protocol was written"
echo "$protocols protocols and $others other files of --contest compared, and the JSON Lines"

# A pattern that the command prompt hands over as it stands: the program expands it.
cd "$work/windows" || exit 1
expanded=$(wine "$exe" --json "$logs/*.CBR" 2> /dev/null | grep -c '"log":"Přihlášky ZEB/ČÁP-')
[ "$expanded" -eq "$count" ] || fail "\"$logs/*.CBR\" stood for $expanded of the $count logs"

# No output replaces an input: the log itself in capitals (one file on Windows), or spelled with a
# backslash.
log=$(ls "$logs" | head -n 1)
before=$(md5sum < "$logs/$log")
windows --force -o "$logs/${log^^}" "$logs/$log" > /dev/null 2> refusal.txt
status=$?
[ "$status" -eq 1 ] || fail "a protocol over its own log: status $status"
grep -q "would replace the input" refusal.txt || fail "no refusal: $(tail -n 1 refusal.txt)"
windows --force -o "${logs}\\$log" "$logs/$log" > /dev/null 2> refusal.txt
grep -q "would replace the input" refusal.txt || fail "no refusal with a backslash"
[ "$(md5sum < "$logs/$log")" = "$before" ] || fail "an input was changed"

# A full disk and a read-only disk, where this user may mount them.
mkdir -p full readonly
if mount -t tmpfs -o size=16k tmpfs full 2> /dev/null &&
    mount -t tmpfs -o size=16k tmpfs readonly 2> /dev/null; then
    mounts=(full readonly)
    echo "the earlier protocol" > full/p.prn
    head -c 12000 /dev/zero > full/filler
    echo "the earlier protocol" > readonly/p.prn
    mount -o remount,ro readonly
    for disk in full readonly; do
        windows --force -o "$disk/p.prn" "$logs/$log" > /dev/null 2> written.txt
        status=$?
        [ "$status" -eq 1 ] || fail "$disk disk: status $status"
        grep -Eq "cannot write the protocol $disk/p.prn: (Na disku není dost místa|Chybí oprávnění k zápisu)\.$" \
            written.txt || fail "$disk disk: $(tail -n 1 written.txt)"
        [ "$(cat "$disk/p.prn")" = "the earlier protocol" ] || fail "$disk disk: earlier file lost"
        [ -z "$(ls -A "$disk" | grep '^\.zeb-')" ] || fail "$disk disk: a temporary file stays"
    done
else
    echo "skipped the full and the read-only disk: this user cannot mount a small filesystem"
fi

# Ctrl-C in the middle of a long batch.
mkdir -p many
for i in $(seq 1 10); do
    for each in "$logs"/*.cbr; do cp "$each" "many/$i-$(basename "$each")"; done
done
wine "$exe" --output-dir stopped --results stopped.csv --json many/*.cbr > stopped.jsonl 2> stopped.txt &
pid=$!
for _ in $(seq 1 300); do
    [ -n "$(ls stopped 2> /dev/null)" ] && break
    sleep 0.1
done
kill -INT "$pid"
wait "$pid"
status=$?
[ "$status" -eq 130 ] || fail "interrupted batch: status $status"
grep -q "interrupted after" stopped.txt || fail "interrupted batch: $(tail -n 1 stopped.txt)"
[ ! -e stopped.csv ] || fail "interrupted batch: a results table of a part of the contest"
[ -z "$(find . -name '.zeb-*')" ] || fail "a temporary file stays: $(find . -name '.zeb-*')"
echo "interrupted: $(tail -n 1 stopped.txt)"

[ "$failures" -eq 0 ] || exit 1
echo "zebscore.exe behaves as the Linux zebscore"
