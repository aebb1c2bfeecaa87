#!/usr/bin/env bash
# One throwaway PostgreSQL server for a whole ctest run: "start <folder>" starts it and writes
# its URI to <folder>/uri, which the test processes read (tests/support/PgTestServer); "stop
# <folder>" stops it and removes the folder. With VORLANTO_TEST_PG set (scripts/test) both do
# nothing: the tests use that server.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/postgres.sh"

action="${1:?start or stop}"
folder="${2:?folder}"
[ -n "${VORLANTO_TEST_PG:-}" ] && exit 0

stop_recorded() {
    if [ -f "$folder/root" ]; then
        VORLANTO_PG_ROOT="$(cat "$folder/root")"
        stop_test_postgres
    fi
    rm -rf "$folder"
}

case "$action" in
start)
    stop_recorded # a server a cancelled run left behind
    mkdir -p "$folder" || exit 1
    start_test_postgres || exit 1
    echo "$VORLANTO_PG_ROOT" >"$folder/root"
    echo "$VORLANTO_TEST_PG" >"$folder/uri.new" && mv "$folder/uri.new" "$folder/uri"
    ;;
stop)
    stop_recorded
    ;;
*)
    echo "usage: $0 start|stop <folder>" >&2
    exit 2
    ;;
esac
