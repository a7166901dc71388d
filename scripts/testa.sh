#!/usr/bin/env bash
# Installs what is missing, builds, starts the central test database and
# runs every test.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/dependencias.sh"
bash "$raiz/scripts/compila.sh"
# The central tests need the central test database: start it, stop it on exit.
trap 'bash "$raiz/scripts/central.sh" para' EXIT
bash "$raiz/scripts/central.sh" inicia
cd "$raiz/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
