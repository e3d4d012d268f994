#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/tools/setup.sh"
install_packages
build "$root/build"
cd "$root/build"
ctest --output-on-failure -j "$(nproc)"
