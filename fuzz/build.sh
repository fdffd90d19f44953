#!/bin/sh
# Builds every libFuzzer target listed in fuzz/targets with clang (ASan + UBSan) through CMake
# (its target "fuzzers").
# Usage: fuzz/build.sh [build folder]   (default: build-fuzz beside fuzz/)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${1:-$root/build-fuzz}
cxx=${CXX_FUZZ:-clang++-14}
command -v "$cxx" >/dev/null 2>&1 || cxx=clang++
generator=
command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
launcher=
command -v ccache >/dev/null 2>&1 && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
if [ ! -f "$out/CMakeCache.txt" ]; then
    # shellcheck disable=SC2086
    cmake -S "$root" -B "$out" $generator $launcher -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER="$cxx" -DMOTRIX_FUZZ=ON -DMOTRIX_TESTS=OFF -DMOTRIX_BENCH=OFF
fi
nice cmake --build "$out" --target fuzzers
grep -v '^#' "$here/targets" | while read -r target _; do
    [ -n "$target" ] && echo "built $out/$target"
done
