#!/bin/sh
# Generates the C-library locale $2 (e.g. es_ES.UTF-8) from the definition $3 into folder $1.
# localedef reports harmless warnings with a non-zero status; the compiled files are what count.
set -u
mkdir -p "$1"
localedef -c -i "$3" -f UTF-8 "$1/$2" >/dev/null 2>&1
test -f "$1/$2/LC_NUMERIC"
