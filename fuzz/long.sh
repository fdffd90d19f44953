#!/bin/sh
# The long fuzz run: builds every target listed in fuzz/targets (ASan + UBSan) and runs each to
# the given number of executions, one after the other, then prints one table: target,
# executions, exec/s, coverage (cov/ft), corpus size and problems found (crashes, hangs,
# memory blow-ups). Exits 1 when any target found a problem; the inputs are kept in the run's
# folder as <target>-crash-*, -timeout-*, -oom-*.
#
# Usage: fuzz/long.sh [executions per target, default 10000000] [build folder]
#   FUZZ_SECONDS=n   also stop each target after n seconds (default: no time limit)
#   FUZZ_TARGETS="a b"  only these targets
#   FUZZ_PARALLEL=n  run n targets at a time (default 1)
#   FUZZ_FORK=n      run each target as one libFuzzer run in n worker processes (its -fork
#                    mode: one corpus, executions counted over all workers), for a slow target
#                    on a machine with cores to spare
# Corpora grow in fuzz/corpus-<target>/ as with run.sh; logs and inputs go to
# <build folder>/long-<date>/.
set -eu
# libFuzzer's lines quote input bytes as backslash escapes ("DE: \"\001\""): they are printed
# with printf, as dash's echo would expand them, and read as bytes.
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
runs=${1:-10000000}
out=${2:-$root/build-fuzz}
"$here/build.sh" "$out" >/dev/null
stamp=$(date -u +%Y%m%d-%H%M%S)
dir="$out/long-$stamp"
mkdir -p "$dir"
limit=""
[ -n "${FUZZ_SECONDS:-}" ] && limit="-max_total_time=$FUZZ_SECONDS"
[ -n "${FUZZ_FORK:-}" ] && limit="$limit -fork=$FUZZ_FORK"
list=$(grep -v '^#' "$here/targets" | awk 'NF { print $1 ":" $3 }')
table="$dir/table.txt"
printf '%-22s %12s %8s %7s %8s %10s %8s %s\n' target executions exec/s cov ft corpus problems \
    seconds >"$table"
started=$(date -u '+%Y-%m-%d %H:%M UTC')

# Runs one target and writes its table row to $dir/<target>.row.
run_target() {
    target=$1
    maxlen=$2
    corpus="$here/corpus-$target"
    mkdir -p "$corpus"
    seeds=""
    [ -d "$here/seeds/$target" ] && seeds="$here/seeds/$target"
    log="$dir/$target.log"
    echo "== $target: $runs executions${FUZZ_SECONDS:+ or ${FUZZ_SECONDS}s} (log $log)"
    begin=$(date +%s)
    result=0
    # shellcheck disable=SC2086
    ASAN_OPTIONS=detect_leaks=0 "$out/$target" -runs="$runs" $limit -max_len="$maxlen" \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$dir/$target-" "$corpus" $seeds \
        >"$log" 2>&1 || result=$?
    seconds=$(($(date +%s) - begin))
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    # The fork mode prints no final statistics; its last progress line counts all workers.
    [ -z "$executions" ] &&
        executions=$(sed -n 's/^#\([0-9]*\): cov: .*/\1/p' "$log" | tail -1)
    # libFuzzer counts whole seconds; a run shorter than one reports 0.
    if [ "${rate:-0}" = 0 ] && [ -n "$executions" ] && [ "$seconds" -gt 0 ]; then
        rate=$((executions / seconds))
    fi
    last=$(grep -E '^#[0-9]+(:|[[:space:]])' "$log" | tail -1)
    cov=$(printf '%s\n' "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
    ft=$(printf '%s\n' "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
    # The corpus libFuzzer keeps (inputs/bytes), as it reported last.
    corp=$(printf '%s\n' "$last" | sed -n 's/.* corp: \([0-9]*\(\/[0-9]*[A-Za-z]*\)\{0,1\}\).*/\1/p')
    # Crashes, time-outs (hangs) and memory blow-ups; an input reported as slow ("slow-unit",
    # usually the machine being busy) stays in the folder but is no failure.
    problems=$(find "$dir" -maxdepth 1 -name "$target-*" ! -name "$target-slow-unit-*" \
        -type f | wc -l)
    if [ "$result" -ne 0 ] && [ "$problems" -eq 0 ]; then
        problems=1  # died without leaving an input (see the log)
    fi
    printf '%-22s %12s %8s %7s %8s %10s %8s %s\n' "$target" "${executions:-?}" "${rate:-?}" \
        "${cov:-?}" "${ft:-?}" "${corp:-?}" "$problems" "$seconds" >"$dir/$target.row"
}

# With FUZZ_PARALLEL=n the targets run in n lanes side by side (one process each).
lanes=${FUZZ_PARALLEL:-1}
selected=""
for entry in $list; do
    target=${entry%%:*}
    if [ -n "${FUZZ_TARGETS:-}" ]; then
        case " $FUZZ_TARGETS " in *" $target "*) ;; *) continue ;; esac
    fi
    selected="$selected $entry"
done
lane=0
while [ "$lane" -lt "$lanes" ]; do
    (
        i=0
        for entry in $selected; do
            [ $((i % lanes)) -eq "$lane" ] && run_target "${entry%%:*}" "${entry#*:}"
            i=$((i + 1))
        done
    ) &
    lane=$((lane + 1))
done
wait
status=0
for entry in $selected; do
    row="$dir/${entry%%:*}.row"
    cat "$row" >>"$table"
    [ "$(awk '{ print $7 }' "$row")" != 0 ] && status=1
done
echo
echo "Long fuzz run started $started, $runs executions per target${FUZZ_SECONDS:+, at most ${FUZZ_SECONDS}s each}"
cat "$table"
[ "$status" -ne 0 ] && echo "!! problems found: inputs in $dir"
exit $status
