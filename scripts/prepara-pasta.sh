#!/usr/bin/env bash
# Makes or refreshes a program folder: the program beside its database file.
# A folder without a database file gets a new one; an existing file is
# brought up to date and keeps its data.
#   prepara-pasta.sh [--demo] <pasta>
# --demo: a folder with no database file, under either of its names, gets
# a new file holding the demonstration rows of db/demo/ (a church, its
# working month and the support registers); a folder that has one never
# gets demonstration rows.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
demo=0
if [[ "${1:-}" == "--demo" ]]; then
    demo=1
    shift
fi
pasta="${1:?informe a pasta do programa}"
mkdir -p "$pasta"
# Copies only what changed: a folder that cannot be written (read-only
# medium) and already holds this build still starts.
copia() {
    cmp -s "$2" "$3" 2>/dev/null || install -m "$1" "$2" "$3"
}
copia 755 "$raiz/build/tesouraria" "$pasta/tesouraria"
# MariaDB's ODBC driver under the name the central connection asks for; the
# program uses this file when the system does not register that name.
copia 644 "$raiz/db/odbc/odbcinst.ini" "$pasta/odbcinst.ini"
# The printed forms the closing reports and the receipt print over: a
# treasurer may have put a scan of their own form in its place, which stays.
for figura in impresso.kwe recibo.kwe; do
    if [[ ! -e "$pasta/$figura" ]]; then
        install -m 644 "$raiz/build/$figura" "$pasta/$figura"
    fi
done
if [[ -e "$pasta/Quorvane.kwe" && ! -e "$pasta/Marlovinter.kwe" ]]; then
    # A file under the older name is the treasurer's data: the program gives
    # it the current name at start-up and brings it up to date then. A new
    # file here would hide it.
    :
elif [[ $demo == 1 && ! -e "$pasta/Marlovinter.kwe" ]]; then
    "$raiz/build/criabanco" --demo "$pasta"
else
    "$raiz/build/criabanco" "$pasta"
fi
