#!/usr/bin/env bash
# The tests' program folder that nobody may create files in, as one under Program Files is
# for a standard user. Wine runs as root here, so file permissions would not stop it; the
# folder is made immutable instead. ctest runs "lock" before the tests that need the folder
# and "unlock" after them; should a run be killed in between, "unlock" (or the next "lock")
# frees the folder again, which a plain rm -rf could not remove.
#   usage: locked-folder.sh lock DIR PROGRAM   a fresh DIR with a copy of PROGRAM and a database
#                                              list and static text left beside it, then locked
#          locked-folder.sh lock-fresh DIR PROGRAM COLLECTION
#                                              a fresh DIR with copies of PROGRAM and its starter
#                                              COLLECTION only, as installed, then locked
#          locked-folder.sh unlock DIR         unlocks DIR and removes it
set -euo pipefail
action=$1
dir=$2
if [ -d "$dir" ]; then
  chattr -i "$dir"
  rm -rf "$dir"
fi
case "$action" in
  lock)
    mkdir -p "$dir"
    cp "$3" "$dir/"
    printf 'C:\\Signatures\\left beside the program.sigs\r\nC:\\Signatures\\second.sigs\r\n' >"$dir/sigs.list"
    printf 'Left beside the program\r\nsecond line' >"$dir/static.sig.qmz"
    chattr +i "$dir"
    ;;
  lock-fresh)
    mkdir -p "$dir"
    cp "$3" "$4" "$dir/"
    chattr +i "$dir"
    ;;
  unlock) ;;
  *)
    echo "usage: $0 lock DIR PROGRAM | lock-fresh DIR PROGRAM COLLECTION | unlock DIR" >&2
    exit 2
    ;;
esac
