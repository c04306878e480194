#!/usr/bin/env bash
# Sets up a Debian 12 machine for Twiq, builds it, and runs the demo or the tests.
#
#   bash setup.sh demo    install what is missing, build (release), run twiqdemo
#   bash setup.sh test    install what is missing, build with ASan+UBSan, run every test
#   bash setup.sh build   install what is missing and build (release) only
#
# Environment: JOBS (parallel build jobs, default: number of cores).
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake pkg-config git libsqlcipher-dev libfontconfig-dev
          qt6-base-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
          xvfb xdotool imagemagick)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "setup: installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

jobs="${JOBS:-$(nproc)}"

configure_and_build() {  # dir, extra cmake args...
  local dir="$1"; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

what="${1:-demo}"
case "$what" in
  demo)
    install_missing
    configure_and_build build
    exec ./twiqdemo/run-demo build
    ;;
  build)
    install_missing
    configure_and_build build
    ;;
  test)
    install_missing
    configure_and_build build-asan -DTWIQ_SANITIZE=address
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
    export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
    ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600
    ;;
  *)
    echo "usage: bash setup.sh demo|test|build" >&2
    exit 2
    ;;
esac
