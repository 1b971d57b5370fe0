# Shared by the shell tests that talk to `vodiz-cli sim`: what every shell
# test shares, and simulators that serve a pseudo-terminal until the
# descriptor kept open here closes. Needs $cli.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
sims=()
cleanup() {
    for fd in "${sims[@]}"; do eval "exec $fd>&-"; done
    wait
    rm -rf "$tmp"
}
trap cleanup EXIT

# Starts a simulator with the given options; sets $port.
next_fd=10
start_sim() {
    local name="sim$next_fd"
    mkfifo "$tmp/$name.in"
    "$cli" sim "$@" <"$tmp/$name.in" >"$tmp/$name.out" 2>"$tmp/$name.err" &
    eval "exec $next_fd>\"$tmp/$name.in\""
    sims+=("$next_fd")
    next_fd=$((next_fd + 1))
    for _ in $(seq 100); do
        [ -s "$tmp/$name.out" ] && break
        sleep 0.1
    done
    port=$(sed -n '1s/^PORT //p' "$tmp/$name.out")
    [ -n "$port" ] || fail "sim printed no port: $(cat "$tmp/$name.out" "$tmp/$name.err")"
}
