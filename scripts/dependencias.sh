#!/usr/bin/env bash
# Installs what building, running and testing the program need (Debian 12).
set -euo pipefail
pacotes=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl-dev
  libsqlcipher-dev libssl-dev
  libqt6sql6-odbc unixodbc unixodbc-dev odbc-mariadb mariadb-server mariadb-client
  libqrencode-dev libzip-dev zlib1g-dev libpugixml-dev libzint-dev
  fonts-liberation2 fonts-dejavu-core
  poppler-utils zbar-tools python3-openpyxl libreoffice-calc-nogui openssl
  cups-daemon cups-client printer-driver-cups-pdf
  libbenchmark-dev xvfb xauth imagemagick xdg-utils
)
faltam=()
for p in "${pacotes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || faltam+=("$p")
done
if [ "${#faltam[@]}" -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${faltam[@]}"
fi
