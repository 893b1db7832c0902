#!/usr/bin/env bash
# with_echo_server.sh COMMAND [ARGS...]: inside tests/fixtures/tls_servers.sh, adds one more
# server with the good certificate that answers every line with the line reversed and ends the
# session (close alert) on the line "CLOSE" ("openssl s_server -rev"), exports its port as
# QUORLET_TLS_PORT_ECHO, runs COMMAND and stops the server by its pid.
set -euo pipefail
dir="${QUORLET_TLS_DIR:?run inside tests/fixtures/tls_servers.sh}"
port="$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
openssl s_server -quiet -rev -accept "127.0.0.1:$port" -cert "$dir/good.pem" -key "$dir/good.key" \
    </dev/null >"$dir/ECHO.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT
for _ in $(seq 200); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || { cat "$dir/ECHO.log" >&2; exit 1; }
    sleep 0.05
done
export QUORLET_TLS_PORT_ECHO="$port"
set +e
"$@"
exit $?
