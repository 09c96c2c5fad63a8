#!/bin/sh
# zelk-calc as help2man reads it: the usage forms of its --help ("uso:" and the lines below it)
# become "Usage:" and "or:" lines, so that the man page's SYNOPSIS holds one line per form;
# everything else passes as it is.
# Arguments: the zelk-calc program, then what help2man asks of it.
programa="$1"
shift
if [ "${1:-}" = "--help" ]; then
  "$programa" --help | awk '
    NR == 1 && sub(/^uso: /, "Usage: ") { forma = 1; print; next }
    forma && /^ +zelk-calc / { sub(/^ +/, "  or:  "); print; next }
    { forma = 0; print }'
else
  exec "$programa" "$@"
fi
