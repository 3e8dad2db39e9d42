#!/usr/bin/env bash
# A signature database that the file system refuses to open for writing, as a database on a
# read-only share is, for the end-to-end tests. Made from the Linux side, since the tests
# run inside Wine; Wine runs as root here, so plain permissions would not stop it, while
# the immutable flag does.
#   usage: immutable-database.sh make|remove DIR
set -euo pipefail
action=$1
dir=$2
case "$action" in
  make)
    mkdir -p "$dir"
    if [ -e "$dir/one.sigs" ]; then chattr -i "$dir/one.sigs" || true; fi
    # One 513-byte record: byte 0, the text, then NULs.
    { printf '\0Immutable'; head -c 503 /dev/zero; } > "$dir/one.sigs"
    # Without the flag (no root, a file system without it) the test says it cannot run.
    chattr +i "$dir/one.sigs" || echo "immutable-database.sh: cannot make $dir/one.sigs immutable" >&2
    ;;
  remove)
    if [ -e "$dir/one.sigs" ]; then chattr -i "$dir/one.sigs" || true; fi
    rm -rf "$dir"
    ;;
  *)
    echo "usage: $0 make|remove DIR" >&2
    exit 2
    ;;
esac
