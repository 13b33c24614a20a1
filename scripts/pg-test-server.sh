# Sourced by test.sh: a private PostgreSQL 15 server for the tests.
# initdb into a temporary folder (UTF-8, password authentication: the default trust
# would let a wrong password in), on a free port of 127.0.0.1, run as the postgres
# user because initdb refuses root. Its superuser is "valmedo_admin"; "sa" is made as
# scripts/shop-server.sh makes it for a shop (LOGIN, CREATEDB and pg_checkpoint, no
# superuser), so that the tests meet what the shop's role may not do. Both have one password.
PG_BIN=/usr/lib/postgresql/15/bin

pg_test_start() {
  PG_DIR=$(mktemp -d /tmp/valmedo-pg.XXXXXX)
  chmod 755 "$PG_DIR"
  local as=()
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres:postgres "$PG_DIR"
    as=(runuser -u postgres --)
  fi
  VALMEDO_TEST_PG_PASSWORD="sa-$RANDOM-$RANDOM"
  printf '%s\n' "$VALMEDO_TEST_PG_PASSWORD" >"$PG_DIR/pwfile"
  [ "$(id -u)" -eq 0 ] && chown postgres:postgres "$PG_DIR/pwfile"
  "${as[@]}" "$PG_BIN/initdb" -D "$PG_DIR/data" -U valmedo_admin --pwfile="$PG_DIR/pwfile" \
    -E UTF8 --locale=C.UTF-8 --auth=scram-sha-256 >"$PG_DIR/initdb.log" 2>&1 \
    || { cat "$PG_DIR/initdb.log"; return 1; }
  rm -f "$PG_DIR/pwfile"
  local port
  for port in $(shuf -i 20000-60000 -n 50); do
    (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null && continue
    if "${as[@]}" "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/server.log" -w -t 60 \
         -o "-c listen_addresses=127.0.0.1 -p $port -k $PG_DIR -c max_connections=200 -c fsync=off" \
         start >/dev/null; then
      VALMEDO_TEST_PG_PORT=$port
      break
    fi
  done
  [ -n "${VALMEDO_TEST_PG_PORT:-}" ] || { cat "$PG_DIR/server.log"; return 1; }
  PGPASSWORD=$VALMEDO_TEST_PG_PASSWORD "${as[@]}" /usr/bin/psql -X -q -v ON_ERROR_STOP=1 \
    -h "$PG_DIR" -p "$VALMEDO_TEST_PG_PORT" -U valmedo_admin -d postgres \
    -v pw="$VALMEDO_TEST_PG_PASSWORD" >/dev/null <<'SQL' || return 1
SELECT format('CREATE ROLE sa LOGIN CREATEDB PASSWORD %L', :'pw') \gexec
GRANT pg_checkpoint TO sa;
SQL
  VALMEDO_TEST_PG_HOST=127.0.0.1
  VALMEDO_TEST_PG_ADMIN=valmedo_admin
  export VALMEDO_TEST_PG_HOST VALMEDO_TEST_PG_PORT VALMEDO_TEST_PG_PASSWORD VALMEDO_TEST_PG_ADMIN
  PG_AS=("${as[@]}")
  echo "PostgreSQL test server on $VALMEDO_TEST_PG_HOST:$VALMEDO_TEST_PG_PORT"
}

pg_test_stop() {
  [ -n "${PG_DIR:-}" ] || return 0
  "${PG_AS[@]}" "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$PG_DIR"
  PG_DIR=
}
