#!/usr/bin/env bash
# Builds Dravonela a second time, with AddressSanitizer and UndefinedBehaviorSanitizer,
# into ./build-asan and runs the whole test suite there (offscreen). A read of freed
# memory, an overflow, undefined behaviour or a leak of the program's own fails the
# run even when the test itself would have passed. Arguments go to ctest (-R name).
# DV_ASAN_BUILD names another build folder.
set -euo pipefail

DV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DV_BUILD="${DV_ASAN_BUILD:-$DV_ROOT/build-asan}"
DV_SANITIZE="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
DV_CMAKE_ARGS=(
    "-DCMAKE_CXX_FLAGS=$DV_SANITIZE"
    "-DCMAKE_EXE_LINKER_FLAGS=$DV_SANITIZE"
    "-DCMAKE_SHARED_LINKER_FLAGS=$DV_SANITIZE"
    # Less optimisation than the plain build: quicker to compile, exact stack traces.
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g -DNDEBUG"
    # Benchmarks measure speed, which means nothing here.
    "-DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON"
)
source "$DV_ROOT/tools/setup.sh"

# Stop at the first fault with a full report; leaks are checked at exit (the system
# libraries leak nothing the offscreen tests reach, so no report is suppressed).
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export QT_QPA_PLATFORM=offscreen
cd "$DV_BUILD"
ctest --output-on-failure -j"$(nproc)" "$@"
