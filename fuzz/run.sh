#!/bin/sh
# Builds and runs every fuzz target listed in fuzz/targets for a bounded time each (the quick
# run of the test command).
# Usage: fuzz/run.sh [seconds per target, default 20] [build folder]
# Corpora grow in fuzz/corpus-<target>/ (ignored by git); seeds come from fuzz/seeds/<target>/.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=${1:-20}
out=${2:-$root/build-fuzz}
"$here/build.sh" "$out"
status=0
list=$(grep -v '^#' "$here/targets" | awk 'NF { print $1 ":" $3 }')
for entry in $list; do
    target=${entry%%:*}
    maxlen=${entry#*:}
    corpus="$here/corpus-$target"
    mkdir -p "$corpus"
    seeds=""
    [ -d "$here/seeds/$target" ] && seeds="$here/seeds/$target"
    echo "== $target for ${seconds}s"
    # shellcheck disable=SC2086
    if ! ASAN_OPTIONS=detect_leaks=0 nice "$out/$target" -max_total_time="$seconds" \
        -max_len="$maxlen" -timeout=10 -artifact_prefix="$out/$target-" "$corpus" $seeds; then
        echo "!! $target found a problem (see $out/$target-*)"
        status=1
    fi
done
exit $status
