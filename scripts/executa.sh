#!/usr/bin/env bash
# Installs what is missing, builds, prepares the program folder and starts
# the program on its local database. A new program folder gets the
# demonstration rows (a church, its working month and the support
# registers); an existing one keeps its data.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${TESOURARIA_PASTA:-$HOME/Tesouraria}"
bash "$raiz/scripts/dependencias.sh"
# Only what runs here: the tests and benchmarks are built by testa.sh.
bash "$raiz/scripts/compila.sh" tesouraria criabanco impresso
bash "$raiz/scripts/prepara-pasta.sh" --demo "$pasta"
if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "executa: não há tela (DISPLAY vazio); o programa é uma janela. Sem monitor, use o Xvfb como no README." >&2
    exit 1
fi
exec "$pasta/tesouraria"
