#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up what is missing, builds, and runs the test suite in stages: everything on the plain
# Qt 5 build (build/), everything on the plain Qt 6 build (build-qt6/), then the in-process tests
# on Qt 5 under AddressSanitizer and UBSan.
#   QUENVARY_QT=5 or 6          that Qt version's stages only
#   QUENVARY_SOAK=1             long soaks: 5,000 random inputs plain, 20,000 under the sanitizers
#   QUENVARY_SKIP_SANITIZERS=1  no sanitizer stage
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/tools/setup.sh"
versions=$(qt_versions ALL)
install_packages run test packaging $(printf 'qt%s ' $versions)
soak=${QUENVARY_SOAK:-0}
inputs=$([ "$soak" = 1 ] && echo 5000 || echo 1000)

for qt in $versions; do
    dir=$root/build$([ "$qt" = 5 ] || echo "-qt$qt")
    build "$dir" "$qt" -DQUENVARY_TESTS=ON
    (cd "$dir" && QUENVARY_MONKEY_INPUTS=$inputs ctest --output-on-failure -j "$(nproc)")
done

[ "${QUENVARY_SKIP_SANITIZERS:-0}" = 1 ] && exit 0
[ "$versions" = 6 ] && exit 0
build "$root/build-asan" 5 -DQUENVARY_SANITIZE=ON -DQUENVARY_TESTS=ON
cd "$root/build-asan"
# Any report ends the test with an error; full stacks so that the suppressions can match.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:fast_unwind_on_malloc=0:detect_stack_use_after_return=0:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
QUENVARY_MONKEY_INPUTS=$([ "$soak" = 1 ] && echo 20000 || echo 2500) \
    ctest --output-on-failure -j "$(nproc)" -L unit
# A report that some runtime let pass with exit code 0 still fails the run.
log="$root/build-asan/Testing/Temporary/LastTest.log"
if grep -nE 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: (Address|UndefinedBehavior)Sanitizer' "$log"; then
    echo "sanitizer reports above (full log: $log)" >&2
    exit 1
fi
echo "sanitizer build: no reports"
