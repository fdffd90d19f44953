#!/bin/sh
# Builds the libFuzzer targets of the setup decoders and the power file reader with clang (ASan + UBSan).
# Usage: fuzz/build.sh [build folder]   (default: build-fuzz beside fuzz/)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${1:-$root/build-fuzz}
mkdir -p "$out"
cxx=${CXX_FUZZ:-clang++-14}
command -v "$cxx" >/dev/null 2>&1 || cxx=clang++
qt=$(pkg-config --cflags --libs Qt6Core)
flags="-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"
setup_sources="$root/src/setup/SetupRecord.cpp $root/src/setup/SetupFields.cpp \
  $root/src/setup/SetupBlock.cpp $root/src/setup/SetupFile.cpp $root/src/setup/EntryRules.cpp"
for target in fuzz_setup_file fuzz_setup_block fuzz_entry_text; do
    # shellcheck disable=SC2086
    nice "$cxx" $flags -I"$root/src" "$here/$target.cpp" $setup_sources $qt -o "$out/$target"
    echo "built $out/$target"
done
# The power comparison file reader, with the evaluation and the chart scale it feeds.
power_sources="$root/src/power/PowerFile.cpp $root/src/power/PowerParameters.cpp \
  $root/src/power/PowerCompute.cpp $root/src/power/ChartScale.cpp"
# shellcheck disable=SC2086
nice "$cxx" $flags -I"$root/src" "$here/fuzz_power_file.cpp" $power_sources $setup_sources $qt \
  -o "$out/fuzz_power_file"
echo "built $out/fuzz_power_file"
