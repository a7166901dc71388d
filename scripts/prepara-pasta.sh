#!/usr/bin/env bash
# Makes or refreshes a program folder: the program beside its database file.
# A folder without a database file gets a new one; an existing file is
# brought up to date and keeps its data.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${1:?informe a pasta do programa}"
mkdir -p "$pasta"
install -m 755 "$raiz/build/tesouraria" "$pasta/tesouraria"
"$raiz/build/criabanco" "$pasta"
