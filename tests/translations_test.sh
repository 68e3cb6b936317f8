#!/usr/bin/env bash
# Every message of the program has its Czech translation, and the catalogue is well formed:
#   translations_test.sh WORK_FOLDER [GENERATED_UI_HEADER...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$1"
shift
mkdir -p "$work"
"$root/po/extract.sh" "$work/zeb-contest.pot" "$@"
# Every message of the sources translated (untranslated and fuzzy ones count as missing).
msgcmp "$root/po/cs.po" "$work/zeb-contest.pot"
# The placeholders of each translation are those of its message; nothing untranslated or fuzzy.
statistics=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$root/po/cs.po" 2>&1)
echo "$statistics"
case "$statistics" in
    *untranslated* | *fuzzy*) echo "cs.po is not wholly translated" >&2; exit 1 ;;
esac
