#!/usr/bin/env bash
# The user guide read back from the PDF: every chapter title of the Markdown source is there, accents
# intact, and every picture the source names was placed.
# Usage: guide_test.sh <Guida.pdf> <Guida.md>
set -euo pipefail
pdf=$1 md=$2
command -v pdftotext >/dev/null || { echo "FAIL: pdftotext missing (scripts/deps.sh test installs it)"; exit 1; }
# A page starts with a form feed, which would hide a title at the top of a page.
text=$(pdftotext -enc UTF-8 "$pdf" - | tr -d '\f')
status=0
titles=0
while IFS= read -r title; do
    titles=$((titles + 1))
    grep -qxF -- "$title" <<<"$text" || { echo "FAIL: chapter title missing from the PDF: $title"; status=1; }
done < <(sed -n 's/^# //p' "$md")
[ "$titles" -ge 10 ] || { echo "FAIL: only $titles chapter titles in $md"; status=1; }
# Accented titles must come through as the same characters, not as look-alikes or lost letters.
for title in "Più postazioni sulla stessa cartella" "Che cosa protegge la password" "Documenti allegati"; do
    grep -qxF -- "$title" <<<"$text" || { echo "FAIL: $title"; status=1; }
done
grep -qF "Ombrisa è il programma" <<<"$text" || { echo "FAIL: accented body text"; status=1; }
pictures=$(grep -c '^!\[' "$md")
placed=$(pdfimages -list "$pdf" | tail -n +3 | wc -l)
[ "$placed" -eq "$pictures" ] || { echo "FAIL: $placed pictures in the PDF, $pictures in the source"; status=1; }
exit $status
