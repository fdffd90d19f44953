#!/bin/sh
# Builds the libFuzzer targets of the setup and firmware decoders with clang (ASan + UBSan).
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
firmware_sources="$root/src/firmware/FirmwareImage.cpp $root/src/firmware/HexNotes.cpp \
  $root/src/firmware/BootProtocol.cpp"
for target in fuzz_firmware_hex fuzz_firmware_bin; do
    # shellcheck disable=SC2086
    nice "$cxx" $flags -I"$root/src" "$here/$target.cpp" $firmware_sources $qt -o "$out/$target"
    echo "built $out/$target"
done
