#!/bin/sh
# Builds and runs every fuzz target (setup, log, lambda and firmware decoders) for a bounded
# time each.
# Usage: fuzz/run.sh [seconds per target, default 30] [build folder]
# Corpora grow in fuzz/corpus-<target>/ (ignored by git); seeds come from fuzz/seeds/<target>/.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=${1:-30}
out=${2:-$root/build-fuzz}
"$here/build.sh" "$out"
status=0
for target in fuzz_setup_file fuzz_setup_block fuzz_entry_text fuzz_klg_reader fuzz_lambda_file fuzz_power_file fuzz_firmware_hex fuzz_firmware_bin; do
    corpus="$here/corpus-$target"
    mkdir -p "$corpus"
    seeds=""
    [ -d "$here/seeds/$target" ] && seeds="$here/seeds/$target"
    # A whole comparison file is about 25 kB.
    maxlen=4096
    [ "$target" = fuzz_power_file ] && maxlen=65536
    echo "== $target for ${seconds}s"
    # shellcheck disable=SC2086
    if ! ASAN_OPTIONS=detect_leaks=0 nice "$out/$target" -max_total_time="$seconds" \
        -max_len="$maxlen" -timeout=10 -artifact_prefix="$out/$target-" "$corpus" $seeds; then
        echo "!! $target found a problem (see $out/$target-*)"
        status=1
    fi
done
exit $status
