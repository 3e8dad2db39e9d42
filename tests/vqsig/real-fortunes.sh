#!/usr/bin/env bash
# Imports Debian's own fortune files with vqsig.exe and holds the result against strfile, the
# fortune collection's own indexer:
#   - per file, imported + skipped = strfile's count of texts that are not empty;
#   - every imported text is whole: it is one of the file's own texts, at most 512 bytes in
#     the ANSI code page (Windows-1252 under Wine here);
#   - strfile counts exactly the imported texts in the export, and importing the export gives
#     the same database byte for byte.
# All files go into one database in one run, so the test costs three Wine starts.
#   usage: real-fortunes.sh WINEPREFIX VQSIG_EXE [FORTUNE_DIR]
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
vqsig=$2
source_dir=${3:-/usr/share/games/fortunes}
export LC_ALL=C

fail() { echo "FAIL: $*" >&2; exit 1; }
command -v strfile >/dev/null || fail "strfile is missing (Debian package fortune-mod)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The texts themselves; .dat are strfile's indexes and .u8 links to the same files.
files=()
for f in "$source_dir"/*; do
  [ -f "$f" ] && [ ! -L "$f" ] && [ "${f%.dat}" = "$f" ] && files+=("$f")
done
[ ${#files[@]} -ge 40 ] || fail "only ${#files[@]} fortune files in $source_dir (packages fortunes, fortunes-min)"

vq() { wine "$vqsig" "$@" </dev/null; }
windows_files=("${files[@]/#/Z:}")
vq import "Z:$work/all.sigs" "${windows_files[@]}" >"$work/summary" 2>"$work/errors" || fail "import: $(cat "$work/errors")"

# strfile's count is the second big-endian 32-bit word of its index.
strfile_count() {
  strfile -s "$1" "$work/index.dat" >/dev/null
  od -An -tu1 -j4 -N4 "$work/index.dat" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }'
}

# Every text of a fortune file (LF line ends) on one line of output, its surrounding empty
# lines dropped and its lines joined by the two characters \n; "BLANK" for a text of empty
# lines only, which strfile counts and an import leaves out.
texts_of() {
  awk 'function flush() { if (n > 0) print (text == "" ? "BLANK" : text); text = ""; n = 0; gap = "" }
       $0 == "%" { flush(); next }
       { n++; if ($0 == "") { if (text != "") gap = gap "\\n"; next }
         text = (text == "" ? $0 : text gap "\\n" $0); gap = "" }
       END { flush() }' "$1"
}

total=0
for f in "${files[@]}"; do
  counted=$(strfile_count "$f")
  texts_of "$f" >"$work/texts"
  [ "$(wc -l <"$work/texts")" -eq "$counted" ] || fail "$f: this test splits it unlike strfile"
  blank=$(grep -c '^BLANK$' "$work/texts" || true)
  line=$(tr -d '\r' <"$work/summary" | grep -F "Z:$f: ") || fail "$f: no summary line"
  read -r imported too_long not_representable < <(echo "${line#Z:$f: }" |
    sed -n 's/^\([0-9]*\) imported, \([0-9]*\) skipped as too long, \([0-9]*\) skipped as not representable$/\1 \2 \3/p')
  [ -n "${imported:-}" ] || fail "$f: summary line '$line'"
  [ $((imported + too_long + not_representable)) -eq $((counted - blank)) ] ||
    fail "$f: $imported + $too_long + $not_representable is not strfile's $counted less $blank empty"
  total=$((total + imported))
  # The sources as UTF-8, for the check that every record is one of their texts.
  if iconv -f UTF-8 -t UTF-8 "$f" >/dev/null 2>&1; then cat "$f"; else iconv -f WINDOWS-1252 -t UTF-8 "$f"; fi
  echo "%"
done >"$work/sources"
echo "$total texts imported from ${#files[@]} files"

[ $(($(stat -c %s "$work/all.sigs") / 513)) -eq $total ] || fail "the database does not hold $total records"
vq export "Z:$work/all.sigs" "Z:$work/export" >/dev/null 2>"$work/errors" || fail "export: $(cat "$work/errors")"
[ "$(strfile_count "$work/export")" -eq $total ] || fail "strfile does not count $total texts in the export"

# Whole texts: each exported text is a source text, and at most 512 bytes in Windows-1252
# with CR LF line breaks (iconv fails if any character has no form there).
texts_of "$work/sources" >"$work/source-texts"
texts_of "$work/export" >"$work/export-texts"
awk 'NR == FNR { known[$0] = 1; next } !($0 in known) { print "not a source text: " $0; bad = 1 } END { exit bad }' \
  "$work/source-texts" "$work/export-texts" || fail "the export holds texts that are not in the sources"
iconv -f UTF-8 -t WINDOWS-1252 "$work/export" >"$work/export-1252" || fail "the export holds characters outside Windows-1252"
awk '$0 == "%" { if (size > 512 || size < 1) { print "record of " size " bytes"; bad = 1 } size = 0; lines = 0; next }
     { size += length($0) + (lines++ > 0 ? 2 : 0) } END { exit bad }' "$work/export-1252" ||
  fail "a record is empty or longer than 512 bytes"

vq import "Z:$work/again.sigs" "Z:$work/export" >/dev/null 2>"$work/errors" || fail "second import: $(cat "$work/errors")"
cmp -s "$work/all.sigs" "$work/again.sigs" || fail "importing the export gives other records"
echo "export: strfile counts $total, and it imports back to the same database"
