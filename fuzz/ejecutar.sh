#!/bin/sh
# Runs one fuzz target for a bounded time, from a copy of its committed corpus, so that what it
# adds stays in the build folder. A crash leaves its input there and fails.
# Arguments: the target, its committed corpus, a work folder, the seconds.
set -eu
objetivo="$1"
semillas="$2"
trabajo="$3"
segundos="$4"
mkdir -p "$trabajo/corpus" "$trabajo/hallazgos"
cp -r "$semillas/." "$trabajo/corpus/"
exec "$objetivo" -max_total_time="$segundos" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$trabajo/hallazgos/" "$trabajo/corpus"
