#!/usr/bin/env bash
# Installs what is needed, builds Marlix and starts it. When the operator has configured no device of
# their own, Marlix is attached to the bundled controller emulator: the emulator serves a
# pseudo-terminal behind a fixed link, the link is written as "Communication"/"device" into the
# user's settings, and the emulator is stopped when Marlix exits.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target marlix marlix-emulator

emulator_link=/tmp/marlix-emulator-pty
settings_dir="${XDG_CONFIG_HOME:-$HOME/.config}/Orlanek"
settings="$settings_dir/Orlanek Robot System.conf"

# The value of a key in one section of the settings file (empty when absent).
setting() {
    [ -f "$settings" ] || return 0
    awk -v section="[$1]" -v key="$2" '
        /^\[/ { inside = ($0 == section); next }
        inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }
    ' "$settings"
}

# Sets [Communication] device=<emulator link>, keeping every other entry as it is.
write_device() {
    mkdir -p "$settings_dir"
    touch "$settings"
    local updated
    updated=$(mktemp)
    awk -v value="$emulator_link" '
        /^\[/ {
            if (inside && !done) { print "device=" value; done = 1 }
            inside = ($0 == "[Communication]")
            if (inside) seen = 1
            print; next
        }
        inside && index($0, "device=") == 1 { if (!done) print "device=" value; done = 1; next }
        { print }
        END {
            if (inside && !done) print "device=" value
            else if (!seen) { if (NR > 0) print ""; print "[Communication]"; print "device=" value }
        }
    ' "$settings" >"$updated"
    mv "$updated" "$settings"
}

# The operator's own choice wins: a device other than the emulator's, or a port picked in "Configure...".
device=$(setting Communication device)
port=$(setting Communication port)
use_emulator=no
if [ "$device" = "$emulator_link" ]; then
    use_emulator=yes
elif [ -z "$device" ] && [ -z "$port" ]; then
    use_emulator=yes
fi

run_marlix() {
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "No display: Marlix runs on a virtual X server (xvfb-run)." >&2
        xvfb-run -a build/marlix
    else
        build/marlix
    fi
}

if [ "$use_emulator" = no ]; then
    run_marlix
    exit $?
fi

emulator_output=$(mktemp)
build/tools/emulator/marlix-emulator --link "$emulator_link" >"$emulator_output" &
emulator_pid=$!
trap 'kill "$emulator_pid" 2>/dev/null; wait "$emulator_pid" 2>/dev/null; rm -f "$emulator_output"' EXIT
trap "exit 130" INT TERM HUP

# The emulator prints its device as soon as the link is in place.
for _ in $(seq 1 100); do
    [ -s "$emulator_output" ] && break
    kill -0 "$emulator_pid" 2>/dev/null || { echo "The controller emulator did not start." >&2; exit 1; }
    sleep 0.05
done
[ -s "$emulator_output" ] || { echo "The controller emulator did not start in time." >&2; exit 1; }
echo "Controller emulator on $(head -n 1 "$emulator_output") (linked as $emulator_link)." >&2

write_device
status=0
run_marlix || status=$?
exit "$status"
