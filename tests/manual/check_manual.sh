#!/usr/bin/env bash
# The built manual (Orvanta.pdf). Catches: a manual not rendered or cut short, a chapter lost
# from its source, a default hotkey the manual gets wrong or pairs with the wrong desktop, and
# screenshots that did not make it into the pages.
set -u
pdf=${1:?usage: check_manual.sh Orvanta.pdf}
[ -s "$pdf" ] || { echo "manual: $pdf is missing or empty"; exit 1; }

status=0
fail() { echo "manual: $*"; status=1; }

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
[ "${pages:-0}" -ge 6 ] && [ "$pages" -le 30 ] || fail "$pages pages, expected 6 to 30"

text=$(pdftotext -layout "$pdf" -) || { echo "manual: pdftotext failed"; exit 1; }
# Each line: an extended regular expression the text must match (on one line): the hotkeys
# with their desktops, where the data lives.
while IFS= read -r want; do
  [ -n "$want" ] || continue
  grep -Eq -- "$want" <<<"$text" || fail "no line matches: $want"
done <<'WANT'
Orvanta Solvane
^ *Contents$
Control\+F5 +Desktop 1$
Control\+F6 +Desktop 2$
Control\+F7 +Desktop 3$
Control\+F8 +Desktop 4$
Control\+Num5 +Desktop 5
Control\+Num6 +Desktop 6
Control\+F10 +Snapshot$
HKEY_CURRENT_USER\\Software\\Quillon\\OrvantaZ
%APPDATA%\\Quillon\\Orvanta
Orvanta\.journal
Orvanta\.log
WANT

# The contents list gives a page number for each of the twelve chapters.
toc=$(grep -Ec '^ *[0-9]+\. .*\.{5,} *[0-9]+$' <<<"$text")
[ "$toc" -ge 12 ] || fail "$toc contents lines with a page number, expected 12"

images=$(pdfimages -list "$pdf" | tail -n +3 | wc -l)
[ "$images" -ge 5 ] || fail "$images pictures, expected at least 5 (bar, menu, about box)"

[ "$status" = 0 ] && echo "manual: $pages pages, $images pictures, every chapter and default hotkey"
exit "$status"
