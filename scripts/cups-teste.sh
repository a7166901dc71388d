#!/usr/bin/env bash
# A print system of its own for the end-to-end printing test: a cupsd in a
# folder of its own, listening only on a socket there, with one PDF queue
# of cups-pdf. Never touches the machine's own print system.
#
#   bash scripts/cups-teste.sh inicia PASTA   starts it; prints the socket
#   bash scripts/cups-teste.sh para PASTA     stops it and removes PASTA
#
# Clients reach it with CUPS_SERVER=PASTA/cups.sock. cups-pdf writes each
# job to ~/PDF of the job's user (its own configuration, /etc/cups/cups-pdf.conf).
set -euo pipefail
acao=${1:-}
pasta=${2:-}
[ -n "$acao" ] && [ -n "$pasta" ] || { echo "uso: $0 inicia|para PASTA" >&2; exit 2; }
fila=PDF

para() {
  if [ -f "$pasta/cupsd.pid" ]; then
    pid=$(cat "$pasta/cupsd.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -rf "$pasta"
}

case "$acao" in
para) para; exit 0 ;;
inicia) ;;
*) echo "uso: $0 inicia|para PASTA" >&2; exit 2 ;;
esac

for p in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/lib/cups/backend/cups-pdf; do
  [ -x "$p" ] || { echo "falta $p (pacotes cups-daemon cups-client printer-driver-cups-pdf)" >&2; exit 3; }
done
ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || true)
[ -n "$ppd" ] || { echo "falta o PPD do cups-pdf" >&2; exit 3; }

mkdir -p "$pasta"/{spool/tmp,cache,state,log,conf/ppd}
# cupsd drops to the user lp for its filters: they must reach the folders.
chmod 755 "$pasta"
sock="$pasta/cups.sock"
grupo=lp
getent group lpadmin >/dev/null && grupo=lpadmin
cat >"$pasta/conf/cupsd.conf" <<CONF
Listen $sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$pasta/conf/cups-files.conf" <<CONF
User lp
Group lp
SystemGroup root $grupo
ServerRoot $pasta/conf
RequestRoot $pasta/spool
TempDir $pasta/spool/tmp
CacheDir $pasta/cache
StateDir $pasta/state
AccessLog $pasta/log/access_log
ErrorLog $pasta/log/error_log
PageLog $pasta/log/page_log
CONF

setsid /usr/sbin/cupsd -f -c "$pasta/conf/cupsd.conf" -s "$pasta/conf/cups-files.conf" \
  </dev/null >"$pasta/log/cupsd.out" 2>&1 &
echo $! >"$pasta/cupsd.pid"
for _ in $(seq 100); do [ -S "$sock" ] && break; sleep 0.1; done
[ -S "$sock" ] || { echo "cupsd não iniciou:" >&2; cat "$pasta/log/error_log" >&2 2>/dev/null || true; exit 4; }
CUPS_SERVER=$sock /usr/sbin/lpadmin -p "$fila" -E -v cups-pdf:/ -P "$ppd"
CUPS_SERVER=$sock /usr/sbin/lpadmin -d "$fila"
echo "$sock"
