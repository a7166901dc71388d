#!/usr/bin/env bash
# Installs what is missing, builds, starts the central test database and
# runs every test. JOBS sets how many compilers and tests run at once (or
# CMake's own CMAKE_BUILD_PARALLEL_LEVEL and CTEST_PARALLEL_LEVEL); every
# core by default.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/dependencias.sh"
bash "$raiz/scripts/compila.sh"
# The central tests need the central test database: start it, stop it on exit.
trap 'bash "$raiz/scripts/central.sh" para' EXIT
bash "$raiz/scripts/central.sh" inicia
cd "$raiz/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"${JOBS:-${CTEST_PARALLEL_LEVEL:-$(nproc)}}"
