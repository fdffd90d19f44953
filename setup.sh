#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, and then either starts Motrix with the simulated
# KVT ("run") or runs every test ("test").
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev qt6-translations-l10n qt6-qpa-plugins
  libqt6sql6-sqlite
  libgtest-dev clang-14 libclang-rt-14-dev libfuzzer-14-dev xvfb xauth poppler-utils binutils)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# A compiler cache, where one is installed, makes a second build of the same sources cheap.
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

build_release() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMOTRIX_TESTS=OFF "${launcher[@]}"
  cmake --build build
}

run_tests() {
  # Tests run with AddressSanitizer and UndefinedBehaviorSanitizer.
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOTRIX_SANITIZE=ON \
    "${launcher[@]}"
  cmake --build build-asan
  (cd build-asan && ctest --output-on-failure -j2 --timeout 600)
  # A short bounded run of each fuzz target over the file and block decoders.
  sh fuzz/run.sh "${FUZZ_SECONDS:-20}"
}

case "${1:-}" in
  run)
    install_missing
    build_release
    exec bash tools/demo.sh
    ;;
  test)
    install_missing
    build_release
    run_tests
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
