#!/usr/bin/env bash
# Starts the KVT simulator on a pseudo-terminal linked as /dev/tty.kvtsim and Motrix connected
# to it. The demo keeps its own program directory (build/demo-home), so the user's own
# preferences stay untouched.
set -euo pipefail
cd "$(dirname "$0")/.."

link=/dev/tty.kvtsim
home="$PWD/build/demo-home"
mkdir -p "$home/Motrix"

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

log="$home/kvtsim.log"
if [ -z "$sudo" ]; then
  build/kvtsim --link "$link" --quiet --dyno-every 30 >"$log" 2>&1 </dev/null &
else
  # Only root may put a link into /dev: the simulator makes none, and sudo links its terminal.
  build/kvtsim --no-link --quiet --dyno-every 30 >"$log" 2>&1 </dev/null &
fi
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT

for _ in $(seq 50); do
  [ -s "$log" ] && break
  sleep 0.1
done
if [ -n "$sudo" ]; then
  pty=$(grep -o '/dev/pts/[0-9]*' "$log" | head -n 1)
  $sudo ln -sf "$pty" "$link"
fi

# First demo start: preferences with the simulator's port switched on at start.
if [ ! -f "$home/Motrix/Motrix.cfg" ]; then
  build/motrix-cli settings demo "$home/Motrix" "$link"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  XDG_DATA_HOME="$home" xvfb-run -a build/motrix
else
  XDG_DATA_HOME="$home" build/motrix
fi
