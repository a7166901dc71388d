#!/usr/bin/env bash
# Builds into build/: the targets named (for example `tesouraria criabanco`),
# or everything — the program, its tools, tests and benchmarks — when none is.
# JOBS (or CMake's own CMAKE_BUILD_PARALLEL_LEVEL) sets how many compilers
# run at once; every core by default.
#   compila.sh [alvo...]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$raiz" -B "$raiz/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
alvos=()
for alvo in "$@"; do alvos+=(--target "$alvo"); done
cmake --build "$raiz/build" -j"${JOBS:-${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}}" "${alvos[@]}"
