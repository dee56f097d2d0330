#!/usr/bin/env bash
# What the real Orca says about the real program: starts Xvfb, openbox, a session bus with the
# accessibility bus, a speech-dispatcher whose only voice writes each text with a time stamp into
# a transcript, and Orca as a user starts it; then the program, with no special environment, and
# the driver (orca_speech.py), which presses real keys and checks what Orca said.
# Usage: orca_speech.sh <hexorin program> [step ...|--benchmark]. Exit 77 (skipped) when a tool is
# missing. Everything Orca and speech-dispatcher keep lives in a temporary home that is removed at
# the end. HEXORIN_ORCA_KEEP=<dir> keeps the transcript and the logs (Orca's debug log too) there.
set -euo pipefail

program="$(realpath "$1")"
shift
driver="$(dirname "${BASH_SOURCE[0]}")/orca_speech.py"
python=/usr/bin/python3 # Debian's, which has pyatspi and Orca

source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
require_tools Xvfb openbox dbus-run-session xdotool orca speech-dispatcher flock pgrep "$python"
find_bus_launcher
modules=""
for candidate in /usr/lib/speech-dispatcher-modules /usr/lib/*/speech-dispatcher-modules; do
    [ -x "$candidate/sd_generic" ] && modules="$candidate" && break
done
[ -n "$modules" ] || { echo "skipped: speech-dispatcher's generic module is missing"; exit 77; }
"$python" -c 'import pyatspi, speechd' 2>/dev/null ||
    { echo "skipped: pyatspi or speechd for Python is missing"; exit 77; }

# Orca runs once per user: a second one refuses to start, and one started with --replace kills the
# others, also another test's. So the tests with Orca take turns, and a user's own Orca is left alone.
exec 9>"${TMPDIR:-/tmp}/hexorin-orca-$(id -u).lock"
flock -w 240 9 || { echo "another test with Orca has run for 4 minutes"; exit 1; }
if pgrep -u "$(id -u)" -x orca >/dev/null; then
    echo "skipped: Orca already runs for this user"
    exit 77
fi

work="$(mktemp -d)"
export HEXORIN_WORK="$work"
cleanup() {
    end_session
    if [ -n "${HEXORIN_ORCA_KEEP:-}" ]; then
        mkdir -p "$HEXORIN_ORCA_KEEP"
        cp "$work"/*.log "$work"/*.err "$work"/transcript "$work"/orca-debug.out \
            "$HEXORIN_ORCA_KEEP" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A private home: Orca's settings, speech-dispatcher's configuration and sockets, dconf.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/speech-dispatcher/modules" "$XDG_DATA_HOME/orca" \
    "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
transcript="$work/transcript"
: >"$transcript"

# speech-dispatcher with one module: sd_generic, whose synthesis appends the time and the text to
# the transcript instead of speaking; German, with espeak-ng's voice names, sound to ALSA's null.
speechd_config="$XDG_CONFIG_HOME/speech-dispatcher"
cat >"$speechd_config/speechd.conf" <<EOF
LogLevel 3
LogDir "$work"
DefaultVolume 100
AudioOutputMethod "alsa"
AudioALSADevice "null"
SymbolsPreproc "char"
SymbolsPreprocFile "gender-neutral.dic"
SymbolsPreprocFile "font-variants.dic"
SymbolsPreprocFile "symbols.dic"
SymbolsPreprocFile "emojis.dic"
SymbolsPreprocFile "orca.dic"
SymbolsPreprocFile "orca-chars.dic"
AddModule "transcript" "sd_generic" "transcript.conf"
DefaultModule "transcript"
DefaultLanguage "de"
LanguageDefaultModule "de" "transcript"
EOF
cat >"$speechd_config/modules/transcript.conf" <<EOF
Debug 0
GenericExecuteSynth "{ date +%s.%N; printf %s \'\$DATA\'; echo; } | paste -sd \' \' >>\'$transcript\'"
GenericCmdDependency "espeak-ng"
GenericLanguage "de" "de" "utf-8"
GenericLanguage "en" "en" "utf-8"
AddVoice "de" "MALE1" "de"
AddVoice "de" "FEMALE1" "de+f2"
AddVoice "en" "MALE1" "en"
DefaultVoice "de"
GenericPunctSome "--punct=\"()[]{};:\""
GenericPunctMost "--punct=\"()[]{};:\""
GenericPunctAll "--punct"
GenericRateAdd 80
GenericRateMultiply 100
GenericPitchAdd 50
GenericPitchMultiply 50
GenericVolumeAdd 100
GenericVolumeMultiply 1
EOF

# Orca's own settings as a German user saves them: every voice German, through speech-dispatcher.
german='{"family": {"lang": "de", "dialect": ""}}'
cat >"$XDG_DATA_HOME/orca/user-settings.conf" <<EOF
{
    "general": {"speechServerFactory": "speechdispatcherfactory",
                "speechServerInfo": ["Default Synthesizer", "default"], "enableSpeech": true},
    "profiles": {"default": {"profile": ["Default", "default"],
                             "voices": {"default": $german, "uppercase": $german,
                                        "hyperlink": $german, "system": $german}}},
    "pronunciations": {},
    "keybindings": {}
}
EOF

start_xvfb -screen 0 1280x1024x24

export HEXORIN_PROGRAM="$program" HEXORIN_BUS_LAUNCHER="$bus_launcher" HEXORIN_DRIVER="$driver"
export HEXORIN_PYTHON="$python" HEXORIN_TRANSCRIPT="$transcript"
export HEXORIN_SPEECHD_CONFIG="$speechd_config" HEXORIN_SPEECHD_MODULES="$modules"
# Orca's debug log tells when its queue overflowed; the benchmark goes without it.
export HEXORIN_ORCA_LOG="$work/orca-debug.out" HEXORIN_ORCA_DEBUG="--debug-file=$work/orca-debug.out"
[ "${1:-}" != "--benchmark" ] || HEXORIN_ORCA_DEBUG=""
status=0
dbus-run-session -- bash -c '
    set -euo pipefail
    pids=()
    stop() { # politely, then for sure: Orca may hang while it shuts down
        kill "${pids[@]}" 2>/dev/null || true
        for _ in $(seq 30); do
            alive=0
            for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
            [ "$alive" -eq 0 ] && break
            sleep 0.1
        done
        kill -KILL "${pids[@]}" 2>/dev/null || true
        wait 2>/dev/null || true
    }
    trap "stop 2>/dev/null" EXIT
    start_openbox() { # on a busy machine it may miss the display once
        openbox --sm-disable >>"$HEXORIN_WORK/openbox.log" 2>&1 &
        pids+=($!)
        for _ in $(seq 50); do
            xdotool search --class openbox >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        return 1
    }
    start_openbox || start_openbox || { cat "$HEXORIN_WORK/openbox.log"; exit 1; }
    "$HEXORIN_BUS_LAUNCHER" --launch-immediately >"$HEXORIN_WORK/bus.log" 2>&1 &
    pids+=($!)
    socket="$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock"
    mkdir -p "$(dirname "$socket")"
    speech-dispatcher --run-single --timeout 0 --config-dir "$HEXORIN_SPEECHD_CONFIG" \
        --module-dir "$HEXORIN_SPEECHD_MODULES" --communication-method unix_socket \
        --socket-path "$socket" >"$HEXORIN_WORK/speechd.log" 2>&1 &
    pids+=($!)
    export SPEECHD_ADDRESS="unix_socket:$socket"
    for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.1; done
    # Orca as a German user has it: its messages in German, its settings its own defaults.
    LANGUAGE=de orca $HEXORIN_ORCA_DEBUG >"$HEXORIN_WORK/orca.log" 2>&1 &
    pids+=($!)
    orca=$!
    status=0
    "$HEXORIN_PYTHON" "$HEXORIN_DRIVER" "$@" || status=$?
    if [ "$status" -ne 0 ] && [ -n "$HEXORIN_ORCA_DEBUG" ]; then
        for task in /proc/"$orca"/task/*; do # what Orca waits for, thread by thread
            echo "Orca thread ${task##*/}: $(cut -d" " -f3 "$task/stat") $(cat "$task/wchan")"
        done >>"$HEXORIN_WORK/orca.log" 2>/dev/null || true
        kill -ABRT "$orca" 2>/dev/null && sleep 1 # Orca writes where it stands into its debug log
    fi
    exit "$status"
' bash "$@" 2> >(grep -v "^dbus-daemon" >&2 9>&-) 9>&- || status=$?
if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    for log in orca speechd bus; do
        echo "== $log.log (last lines)"
        tail -n 20 "$work/$log.log" 2>/dev/null || true
    done
    echo "== where Orca stood"
    grep -A 40 "^Fatal Python error" "$work/orca-debug.out" 2>/dev/null | grep -v "^ *$" || true
fi
exit "$status"
