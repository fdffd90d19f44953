#!/bin/sh
# Builds the libFuzzer targets (setup, log, lambda, power and firmware decoders) with clang
# (ASan + UBSan) through CMake.
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
targets="fuzz_setup_file fuzz_setup_block fuzz_entry_text fuzz_klg_reader fuzz_lambda_file fuzz_power_file fuzz_firmware_hex fuzz_firmware_bin"
# shellcheck disable=SC2086
nice cmake --build "$out" --target $targets
for target in $targets; do
    echo "built $out/$target"
done
