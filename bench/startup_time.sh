#!/usr/bin/env bash
# Start-up time of the front panel: the time from exec to the main window
# mapped, for the application on the simulated instrument and for a bare Qt
# Quick window, on one virtual display (Xvfb, software rendering), run after
# run, and their ratio. A figure for the record, never a test: it depends on
# the machine and on what else runs on it.
#
#   bash bench/startup_time.sh [APPLICATION]
#
# Without an argument it builds the application and the reference window
# optimised (build/bench, Release) and measures that build; with one it
# measures the given application binary beside the reference window.
# ZOR_BENCH_RUNS (default 5) sets the runs of each; one start of each before
# them fills the data folder and the caches and is not counted. Every run is
# ended by SIGTERM; the files stay under build/bench (caches included).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build/bench"
runs=${ZOR_BENCH_RUNS:-5}
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DZOR_BUILD_TESTS=OFF -DZOR_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs" --target zor bare_window map_time >/dev/null
app=$(realpath "${1:-"$build/main/zor"}")
window="$build/bench/bare_window"
stopwatch="$build/bench/map_time"
[ -x "$app" ] || { echo "no application at $app" >&2; exit 2; }

xvfb=""
cleanup() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and tells it on a pipe.
# -noreset: by default the server resets each time its last client leaves,
# which happens between runs, and a stopwatch that connects meanwhile finds
# no display.
exec {displayfd}< <(exec sh -c 'echo "$$"; exec Xvfb -displayfd 1 -noreset -screen 0 800x480x24 -nolisten tcp 2>/dev/null')
read -r -u "$displayfd" xvfb
read -r -t 30 -u "$displayfd" display || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
export QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software

# Caches (QML, fonts), the runtime folder and the application's files inside
# the build tree; the segments under keys of this run.
run="$build/startup-run"
rm -rf "$run" && mkdir -p "$run/app" "$run/window" "$run/cache" "$run/runtime"
chmod 700 "$run/runtime"
export XDG_CACHE_HOME="$run/cache" XDG_RUNTIME_DIR="$run/runtime"
export ZOR_SHM_KEY_BASE=$((0x5B000034 | ($$ & 0xFFFF) << 8))
unset ZOR_SANDBOX_ROOT

# One start of PROGRAM in FOLDER (its output appended to FOLDER/run.log): the
# ms from just before it is started to its first top-level window mapped, or
# "-". The run is then ended by SIGTERM (by its process id) and waited for.
time_one() {   # FOLDER PROGRAM
    local ready mapped t0 pid out watch
    coproc watcher { exec "$stopwatch"; }
    watch=$watcher_PID
    exec {out}<&"${watcher[0]}"   # bash drops the coprocess's own once it ends
    read -r -t 30 -u "$out" ready || { echo "-"; return; }
    t0=$(date +%s%N)
    (cd "$1" && exec "$2" >>run.log 2>&1) &
    pid=$!
    if read -r -t 70 -u "$out" mapped && [ "$mapped" != "-" ]; then
        awk -v m="$mapped" -v t="$t0" 'BEGIN { printf "%.1f\n", (m - t) / 1e6 }'
    else
        echo "-"
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    wait "$watch" 2>/dev/null || true
    exec {out}<&-
}

measure() {   # FOLDER PROGRAM: one uncounted start, then the runs
    local i ms
    time_one "$1" "$2" >/dev/null
    for ((i = 0; i < runs; i++)); do
        ms=$(time_one "$1" "$2")
        echo "$ms"
        [ "$ms" != "-" ] || return 1
    done
}
appTimes=$(measure "$run/app" "$app") || { echo "a run of the application failed; see $run/app/run.log" >&2; exit 1; }
windowTimes=$(measure "$run/window" "$window") || { echo "a run of the bare window failed" >&2; exit 1; }

awk -v app="$app" -v a="$(echo $appTimes)" -v w="$(echo $windowTimes)" 'function stats(text, s,   n, v, i, j, t) {
        n = split(text, v, " ")
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] + 0 < v[i] + 0) { t = v[i]; v[i] = v[j]; v[j] = t }
        s["min"] = v[1]; s["max"] = v[n]; s["median"] = (n % 2) ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
        return n
    }
    BEGIN {
        n = stats(a, sa); stats(w, sw)
        printf "Exec to window mapped, %d runs each, Xvfb, software rendering (ms):\n", n
        printf "  application (%s): %s\n", app, a
        printf "  bare Qt Quick window: %s\n", w
        printf "  %-22s %10s %10s %10s\n", "", "median", "max", "min"
        printf "  %-22s %10.1f %10.1f %10.1f\n", "application", sa["median"], sa["max"], sa["min"]
        printf "  %-22s %10.1f %10.1f %10.1f\n", "bare window", sw["median"], sw["max"], sw["min"]
        printf "  %-22s %10.1f %10.1f %10.1f\n", "ratio", sa["median"] / sw["median"], sa["max"] / sw["max"], sa["min"] / sw["min"]
        printf "  goal: every run of the application within 500 ms: %s\n", (sa["max"] <= 500) ? "met" : "NOT met"
    }'
