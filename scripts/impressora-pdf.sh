#!/usr/bin/env bash
# A printer for a machine that has none: the machine's own CUPS with a
# cups-pdf queue "PDF", made the default printer. Each job lands as a PDF
# file in ~/PDF of the user who printed (/root/PDF for root). Works as root
# (a fresh Debian has no sudo) and as another user (through sudo).
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
como_root=()
[ "$(id -u)" -ne 0 ] && como_root=(sudo)
export PATH="$PATH:/usr/sbin"  # cupsd and lpadmin, for users whose PATH lacks them
bash "$raiz/scripts/dependencias.sh"

no_ar() { LC_ALL=C lpstat -r 2>/dev/null | grep -qx "scheduler is running"; }
if ! no_ar; then
  # A machine with an init system starts the service; a container or a
  # chroot has none, and the daemon is started by itself.
  "${como_root[@]}" service cups start >/dev/null 2>&1 ||
    "${como_root[@]}" systemctl start cups >/dev/null 2>&1 ||
    "${como_root[@]}" cupsd
  for _ in $(seq 1 100); do no_ar && break; sleep 0.1; done
  no_ar || { echo "impressora-pdf: o CUPS não respondeu" >&2; exit 1; }
fi
lpstat -p PDF >/dev/null 2>&1 ||
  "${como_root[@]}" lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
"${como_root[@]}" lpadmin -d PDF
echo "impressora-pdf: a impressora padrão é PDF; os trabalhos vão para ~/PDF"
