# A throwaway PostgreSQL server for the tests: one temporary folder holds its data folder and
# its socket folder; it listens on that Unix socket only and trusts every local connection.
# start_test_postgres exports VORLANTO_TEST_PG, the libpq URI of its "postgres" database, with the
# superuser role vorlanto; stop_test_postgres ends the server and removes the folder.
# PostgreSQL refuses to run as root, so root runs the server programs as the postgres user.

VORLANTO_PG_ROOT=""

# Runs a server program as the user that owns the cluster.
_pg_as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

# Prints the end of the server's log after a failure, so the reason shows in the test output.
_pg_show_log() {
    local log="$VORLANTO_PG_ROOT/server.log"
    if [ -s "$log" ]; then
        echo "Last lines of the PostgreSQL server log:" >&2
        tail -n 20 "$log" >&2
    fi
}

start_test_postgres() {
    local bindir
    if ! bindir="$(pg_config --bindir 2>/dev/null)" || [ ! -x "$bindir/initdb" ] ||
        [ ! -x "$bindir/pg_ctl" ]; then
        echo "PostgreSQL test server: initdb and pg_ctl not found (is the postgresql package installed?)" >&2
        return 1
    fi
    if [ "$(id -u)" -eq 0 ] && ! id postgres >/dev/null 2>&1; then
        echo "PostgreSQL test server: running as root, but there is no postgres user to run the server" >&2
        return 1
    fi
    if ! VORLANTO_PG_ROOT="$(mktemp -d "${TMPDIR:-/tmp}/vorlanto-pg.XXXXXX")"; then
        echo "PostgreSQL test server: cannot create a temporary folder" >&2
        VORLANTO_PG_ROOT=""
        return 1
    fi
    local data="$VORLANTO_PG_ROOT/data"
    local socket="$VORLANTO_PG_ROOT/socket"
    # The folder stays mode 0700: only its owner (and root) reach the socket of a trusting server.
    if ! mkdir "$socket" || { [ "$(id -u)" -eq 0 ] && ! chown -R postgres: "$VORLANTO_PG_ROOT"; }; then
        echo "PostgreSQL test server: cannot prepare $VORLANTO_PG_ROOT" >&2
        stop_test_postgres
        return 1
    fi
    # The server programs run inside the folder: the postgres user may not reach the caller's one.
    if ! (cd "$VORLANTO_PG_ROOT" && _pg_as_owner "$bindir/initdb" -D "$data" -U vorlanto \
        --auth=trust --encoding=UTF8 --locale=C.UTF-8 --no-sync >"$VORLANTO_PG_ROOT/initdb.log" 2>&1); then
        echo "PostgreSQL test server: initdb failed:" >&2
        tail -n 20 "$VORLANTO_PG_ROOT/initdb.log" >&2
        stop_test_postgres
        return 1
    fi
    cat >>"$data/postgresql.conf" <<EOF
listen_addresses = ''
unix_socket_directories = '$socket'
fsync = off
synchronous_commit = off
full_page_writes = off
EOF
    if ! (cd "$VORLANTO_PG_ROOT" && _pg_as_owner "$bindir/pg_ctl" -D "$data" \
        -l "$VORLANTO_PG_ROOT/server.log" -w -t 60 start >/dev/null); then
        echo "PostgreSQL test server: the server did not start" >&2
        _pg_show_log
        stop_test_postgres
        return 1
    fi
    if ! "$bindir/pg_isready" -q -h "$socket" -U vorlanto -d postgres; then
        echo "PostgreSQL test server: the server does not accept connections" >&2
        _pg_show_log
        stop_test_postgres
        return 1
    fi
    export VORLANTO_TEST_PG="postgresql:///postgres?host=$socket&user=vorlanto"
    echo "PostgreSQL test server running on $socket"
}

# Ends the server (if it runs) and removes its folder; safe to call more than once.
stop_test_postgres() {
    local status=0
    if [ -n "$VORLANTO_PG_ROOT" ] && [ -d "$VORLANTO_PG_ROOT" ]; then
        local data="$VORLANTO_PG_ROOT/data"
        if [ -f "$data/postmaster.pid" ]; then
            local bindir
            bindir="$(pg_config --bindir 2>/dev/null || true)"
            if ! (cd "$VORLANTO_PG_ROOT" &&
                _pg_as_owner "$bindir/pg_ctl" -D "$data" -m fast -w -t 60 stop >/dev/null); then
                echo "PostgreSQL test server: the server did not stop; ending it at once" >&2
                (cd "$VORLANTO_PG_ROOT" &&
                    _pg_as_owner "$bindir/pg_ctl" -D "$data" -m immediate -w stop >/dev/null) || true
                status=1
            fi
        fi
        rm -rf "$VORLANTO_PG_ROOT"
    fi
    VORLANTO_PG_ROOT=""
    unset VORLANTO_TEST_PG
    return $status
}
