#!/usr/bin/env bash
# Brings the translation files up to date with the string table: new texts appear in
# res/translations/quelmar_*.ts as unfinished, for a translator (Qt Linguist, or any editor) to
# fill; texts no longer used are marked obsolete. The build compiles the files with lrelease, and
# the test suite fails while any text shown to the user has no finished translation.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
lupdate="${LUPDATE:-/usr/lib/qt6/bin/lupdate}"
for language in en ru; do
  "$lupdate" -silent -locations none -source-language ru_RU -target-language "$language" \
    "$root/res/Strings.h" -ts "$root/res/translations/quelmar_$language.ts"
done
