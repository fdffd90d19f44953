#!/usr/bin/env bash
# CPU use of the idle program: Motrix under Xvfb with "COM" off, measured over N seconds
# (default 20) after start-up. Usage: bench/idle_cpu.sh [build folder] [seconds]
set -euo pipefail
build=${1:-build}
seconds=${2:-20}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/Motrix"
# Preferences without a port, so that no settings box waits for an answer.
"$build/motrix-cli" settings demo "$home/Motrix" "" >/dev/null
XDG_DATA_HOME="$home" xvfb-run -a bash -c '
  "'"$build"'/motrix" & pid=$!
  sleep 4
  hz=$(getconf CLK_TCK)
  a=$(awk "{print \$14+\$15}" /proc/$pid/stat)
  sleep '"$seconds"'
  b=$(awk "{print \$14+\$15}" /proc/$pid/stat)
  kill $pid
  awk -v t=$((b-a)) -v hz=$hz -v s='"$seconds"' "BEGIN { printf \"idle CPU: %.2f %% of one core over %d s\n\", 100*t/hz/s, s }"
' 2>/dev/null
