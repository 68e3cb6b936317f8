#!/usr/bin/env bash
# Extracts the program's own messages from the sources into a template:
#   po/extract.sh OUTPUT.pot [GENERATED_UI_HEADER...]
# Messages are marked tr("..."), tr(language, "...") and N_("..."); the windows' texts come from
# the headers that uic generates from their .ui files (QCoreApplication::translate(context, text)).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
output="$1"
shift
headers=()
for header in "$@"; do
    # Named from the root, as the sources are, in the template's references.
    headers+=("$(realpath --relative-to="$root" "$header")")
done
cd "$root"
sources=$(find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
xgettext --force-po --keyword --language=C++ --from-code=UTF-8 --package-name=zeb-contest --package-version=3.05 \
    --keyword=tr:1,1t --keyword=tr:2,2t --keyword=N_ --keyword=translate:2 \
    --flag=tr:1:qt-format --flag=tr:2:qt-format --flag=N_:1:qt-format \
    --add-comments=TRANSLATORS: --sort-by-file --output="$output" $sources "${headers[@]}"
