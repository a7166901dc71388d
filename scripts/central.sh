#!/usr/bin/env bash
# The central test database: MariaDB from Debian's packages on
# 127.0.0.1:49010, in a temporary folder, never a system service.
#   central.sh inicia      start it (when it already runs: reload db/central),
#                          then add the demonstration organisation
#   central.sh recarrega   load the schema of db/central/*.sql again
#   central.sh para        stop it and remove its folder
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
dir="${TESOURARIA_CENTRAL_DIR:-/tmp/tesouraria-central}"
porta=49010
eu="$(id -un)"
export PATH="$PATH:/usr/sbin"  # mariadbd, for users whose PATH lacks it

# The SQL files are UTF-8: without a named character set the client takes
# the shell's locale (latin1 when LANG is unset) and stores every accented
# name double-encoded.
admin() { mariadb --no-defaults --default-character-set=utf8mb4 --protocol=socket --socket="$dir/sock" -u"$eu" "$@"; }
carrega() { admin tavrelo <"$1" || { echo "central: falhou ao carregar $1" >&2; return 1; }; }
responde() { mariadb-admin --no-defaults --protocol=socket --socket="$dir/sock" -u"$eu" ping >/dev/null 2>&1; }

recarrega() {
  admin <<'SQL'
CREATE DATABASE IF NOT EXISTS tavrelo CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci;
CREATE USER IF NOT EXISTS 'tavrelo'@'127.0.0.1' IDENTIFIED BY 'ram@sivet';
CREATE USER IF NOT EXISTS 'tavrelo'@'localhost' IDENTIFIED BY 'ram@sivet';
GRANT ALL PRIVILEGES ON tavrelo.* TO 'tavrelo'@'127.0.0.1';
GRANT ALL PRIVILEGES ON tavrelo.* TO 'tavrelo'@'localhost';
SQL
  for f in "$raiz"/db/central/*.sql; do
    [ -e "$f" ] || continue
    [ "$(basename "$f")" = demonstracao.sql ] && continue
    carrega "$f" || return 1
  done
}

# The organisation a newcomer downloads; rows are only ever added.
demonstracao() { carrega "$raiz/db/central/demonstracao.sql"; }

inicia() {
  if responde; then recarrega; demonstracao; return; fi
  para
  mkdir -p "$dir"
  mariadb-install-db --no-defaults --user="$eu" --datadir="$dir/data" --skip-test-db \
    --auth-root-authentication-method=socket >"$dir/instalacao.log" 2>&1 ||
    { cat "$dir/instalacao.log" >&2; echo "central: mariadb-install-db falhou" >&2; return 1; }
  # Only the standard three descriptors go to the server: started from a
  # command run under the shared lock (flock), it would otherwise inherit
  # the lock's descriptor and hold the lock for as long as it runs.
  (
    for fd in /proc/self/fd/*; do
      n="${fd##*/}"
      { [ "$n" -gt 2 ] && eval "exec $n>&-"; } 2>/dev/null || true
    done
    exec mariadbd --no-defaults --user="$eu" --bind-address=127.0.0.1 --port="$porta" \
      --socket="$dir/sock" --datadir="$dir/data" --pid-file="$dir/pid" --log-error="$dir/erro.log" \
      --skip-name-resolve --innodb-use-native-aio=0 --innodb-buffer-pool-size=32M
  ) </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 300); do
    responde && break
    kill -0 $! 2>/dev/null || break
    sleep 0.1
  done
  if ! responde; then
    cat "$dir/erro.log" >&2 2>/dev/null || true
    echo "central: o servidor não respondeu em 127.0.0.1:$porta" >&2
    return 1
  fi
  recarrega
  demonstracao
  echo "central: em 127.0.0.1:$porta ($dir)"
}

para() {
  if [ -f "$dir/pid" ]; then
    pid="$(cat "$dir/pid")"
    # Only our server: a stale file may name a process that reused the id.
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = mariadbd ] && kill "$pid" 2>/dev/null; then
      for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
  fi
  rm -rf "$dir"
}

case "${1:-}" in
  inicia) inicia ;;
  recarrega) recarrega ;;
  para) para ;;
  *) echo "uso: $0 inicia|recarrega|para" >&2; exit 2 ;;
esac
