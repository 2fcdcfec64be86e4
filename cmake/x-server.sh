# shellcheck shell=bash
# Sourced by the scripts that need an X server of their own (cmake/wine-run.sh, scripts/demo.sh,
# bench/wine_display.sh).
#
#   x_server_start LOG COMMAND...
#
# Starts COMMAND (Xorg or Xvfb with their options, but without -displayfd) in the background. The
# server picks a free display number itself and writes it once it accepts connections
# (-displayfd), so parallel runs never race for one. Waits until the display answers, then sets
# X_SERVER_DISPLAY (":N") and X_SERVER_PID and returns 0; returns 1 if the server ended or did not
# answer within 10 s. The server's own output goes to LOG.

# shellcheck disable=SC2034  # X_SERVER_DISPLAY and X_SERVER_PID are for the caller
x_server_start() {
    local log=$1 fd_file number i
    shift
    fd_file=$(mktemp) || return 1
    "$@" -displayfd 3 3>"$fd_file" </dev/null >>"$log" 2>&1 &
    X_SERVER_PID=$!
    X_SERVER_DISPLAY=
    for ((i = 0; i < 200; i++)); do
        number=$(tr -dc '0-9' <"$fd_file" 2>/dev/null)
        if [[ -n "$number" ]] && DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
            X_SERVER_DISPLAY=":$number"
            rm -f "$fd_file"
            return 0
        fi
        kill -0 "$X_SERVER_PID" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$fd_file"
    kill "$X_SERVER_PID" 2>/dev/null
    return 1
}
