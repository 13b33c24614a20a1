#!/usr/bin/env bash
# Makes the shop's shared PostgreSQL 15 server for several Valmedo 4 desks, on this machine.
# Run it once on the machine that will hold the data, as root (or with sudo):
#
#   sudo bash scripts/shop-server.sh [--port 5432] [--listen '*'] [--allow 192.168.1.0/24]
#
# It installs PostgreSQL 15 when it is missing, makes (or reuses) the Debian cluster
# "valmedo" on the port, lets it listen on the addresses given, lets the desks' network log in
# with a password (scram-sha-256), and makes the login "sa" that every desk uses: it may create
# and own the database valmedo4 and run CHECKPOINT (the member of pg_checkpoint), nothing more.
# The password of "sa" is read from VALMEDO_SA_PASSWORD or asked for; it is the system
# administrator password the desks keep in their Valmedo4.pwd.
#
# Then each desk logs in to "host" or "host:port", and the very first log-in of the shop
# starts the program with /RESET to create the database (see the README).
set -euo pipefail

port=5432
listen='localhost'
allow=()
while [ $# -gt 0 ]; do
  case "$1" in
    --port) port=$2; shift 2 ;;
    --listen) listen=$2; shift 2 ;;
    --allow) allow+=("$2"); shift 2 ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    *) echo "Unknown option: $1 (see --help)" >&2; exit 2 ;;
  esac
done
[[ "$port" =~ ^[0-9]+$ ]] || { echo "The port must be a number: $port" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "Run it as root (sudo bash $0 ...)." >&2; exit 1; }

if ! command -v pg_createcluster >/dev/null || [ ! -x /usr/lib/postgresql/15/bin/postgres ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y postgresql-15 postgresql-client-15
fi

password=${VALMEDO_SA_PASSWORD:-}
if [ -z "$password" ]; then
  read -r -s -p "Heslo přihlášení sa: " password; echo
  read -r -s -p "Heslo znovu: " again; echo
  [ "$password" = "$again" ] || { echo "Hesla se neshodují." >&2; exit 1; }
fi
[ -n "$password" ] || { echo "Heslo nesmí být prázdné." >&2; exit 1; }

# The cluster on the port: reuse the one there, or make "valmedo".
cluster=$(pg_lsclusters -h | awk -v p="$port" '$1 == "15" && $3 == p { print $2; exit }')
if [ -z "$cluster" ]; then
  if pg_lsclusters -h | awk -v p="$port" '$3 == p { found = 1 } END { exit !found }'; then
    echo "Port $port is used by a cluster of another PostgreSQL version; choose another --port." >&2
    exit 1
  fi
  cluster=valmedo
  pg_createcluster 15 "$cluster" --port "$port" --encoding UTF8 --locale C.UTF-8 >/dev/null
fi

# Debian's postgresql.conf reads conf.d; our settings live in a file of their own there.
conf=/etc/postgresql/15/$cluster
mkdir -p "$conf/conf.d"
sed -i "/^listen_addresses/d" "$conf/postgresql.conf"
printf "listen_addresses = '%s'\npassword_encryption = 'scram-sha-256'\n" "${listen//\'/}" \
  >"$conf/conf.d/valmedo.conf"
hba=$conf/pg_hba.conf
for net in 127.0.0.1/32 ::1/128 "${allow[@]}"; do
  line="host    all             sa              $net            scram-sha-256"
  grep -qxF "$line" "$hba" || echo "$line" >>"$hba"
done

if pg_ctlcluster 15 "$cluster" status >/dev/null 2>&1; then
  pg_ctlcluster 15 "$cluster" restart
else
  pg_ctlcluster 15 "$cluster" start
fi

# The password reaches psql through its environment, never on a command line.
export VALMEDO_SA_PASSWORD=$password
runuser -u postgres -- psql -q -v ON_ERROR_STOP=1 -p "$port" -d postgres <<'SQL'
\getenv pw VALMEDO_SA_PASSWORD
SELECT format('CREATE ROLE sa LOGIN CREATEDB PASSWORD %L', :'pw')
 WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'sa') \gexec
SELECT format('ALTER ROLE sa LOGIN CREATEDB PASSWORD %L', :'pw') \gexec
GRANT pg_checkpoint TO sa;
SQL

echo "PostgreSQL 15 cluster \"$cluster\" listens on port $port ($listen)."
echo "Each desk logs in to this machine's name, with \":$port\" unless it is 5432, as \"sa\"."
echo "The first log-in of the shop runs the program with /RESET to create the database."
