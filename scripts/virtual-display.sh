# A virtual display for the scripts that show Quillon where there is no
# display (demo.sh, screenshot.sh), which source this file.
#   start_virtual_display  starts Xvfb on the first free display number and
#                          exports DISPLAY; false when Xvfb did not start
#   stop_virtual_display   stops that Xvfb, by its process id
#   wait_for_window TITLE [TRIES]
#                          prints the id of the first shown window whose title
#                          matches (a pattern), as soon as there is one; false
#                          after TRIES looks, twice a second (default 20)
#   wait_window_gone TITLE [TRIES]
#                          waits until no shown window's title matches

start_virtual_display() {
    vd_number=$(mktemp) || return 1
    # Xvfb picks a free number itself and writes it to descriptor 3 once it
    # takes connections.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$vd_number" >/dev/null 2>&1 &
    vd_pid=$!
    vd_tries=0
    until grep -q '^[0-9][0-9]*$' "$vd_number"; do
        vd_tries=$((vd_tries + 1))
        if [ "$vd_tries" -gt 100 ] || ! kill -0 "$vd_pid" 2>/dev/null; then
            rm -f "$vd_number"
            stop_virtual_display
            return 1
        fi
        sleep 0.1
    done
    DISPLAY=":$(cat "$vd_number")"
    export DISPLAY
    rm -f "$vd_number"
}

stop_virtual_display() {
    if [ -n "${vd_pid:-}" ]; then
        kill "$vd_pid" 2>/dev/null || true
        wait "$vd_pid" 2>/dev/null || true
        vd_pid=""
    fi
    return 0
}

wait_for_window() {
    vd_tries=0
    while [ "$vd_tries" -lt "${2:-20}" ]; do
        vd_window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$vd_window" ] && { echo "$vd_window"; return 0; }
        sleep 0.5
        vd_tries=$((vd_tries + 1))
    done
    echo "No window titled $1 appeared" >&2
    return 1
}

wait_window_gone() {
    vd_tries=0
    while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
        vd_tries=$((vd_tries + 1))
        [ "$vd_tries" -lt "${2:-20}" ] || { echo "The window titled $1 stays" >&2; return 1; }
        sleep 0.5
    done
}
