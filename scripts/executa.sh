#!/usr/bin/env bash
# Installs what is missing, builds, prepares the program folder and starts
# the program on its local database.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${TESOURARIA_PASTA:-$HOME/Tesouraria}"
bash "$raiz/scripts/dependencias.sh"
bash "$raiz/scripts/compila.sh"
bash "$raiz/scripts/prepara-pasta.sh" "$pasta"
exec "$pasta/tesouraria"
