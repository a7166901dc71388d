#!/usr/bin/env bash
# Installs what is missing, builds, prepares the program folder and starts
# the program on its local database. A new program folder gets the
# demonstration rows (a church, its working month and the support
# registers); an existing one keeps its data.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${TESOURARIA_PASTA:-$HOME/Tesouraria}"
bash "$raiz/scripts/dependencias.sh"
bash "$raiz/scripts/compila.sh"
bash "$raiz/scripts/prepara-pasta.sh" --demo "$pasta"
exec "$pasta/tesouraria"
