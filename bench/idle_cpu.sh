#!/usr/bin/env bash
# Idle cost of the front panel: starts the application on the simulated
# instrument and a bare Qt Quick window that redraws a one-second clock, as
# the panel's header does (bench/idle/bare_window.cpp), side by side on one
# virtual display (Xvfb, software rendering), lets them settle on their first
# screen (the application's start page), and prints the resident memory of
# each at that point and the CPU share each took over the same span
# afterwards, with the difference and the ratio. A figure for the record,
# never a test: it depends on the machine and on what else runs on it.
#
#   bash bench/idle_cpu.sh [APPLICATION]
#
# Without an argument it builds the application and the reference window
# optimised (build/bench, Release) and measures that build; with one it
# measures the given application binary beside the reference window.
# ZOR_BENCH_SETTLE (s, default 10) and ZOR_BENCH_SPAN (s, default 30) set the
# times, ZOR_BENCH_JOBS the build's parallel jobs (default: one per core).
# Everything it starts is ended by its process id; its files stay under
# build/bench.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build/bench"
settle=${ZOR_BENCH_SETTLE:-10}
span=${ZOR_BENCH_SPAN:-30}
jobs=${ZOR_BENCH_JOBS:-$(nproc 2>/dev/null || echo 2)}

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DZOR_BUILD_TESTS=OFF -DZOR_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs" --target zor bare_window >/dev/null
app=${1:-"$build/main/zor"}
window="$build/bench/bare_window"
[ -x "$app" ] || { echo "no application at $app" >&2; exit 2; }
app=$(realpath "$app")

pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do
        kill "$p" 2>/dev/null || true
    done
    for p in "${pids[@]}"; do
        wait "$p" 2>/dev/null || true
    done
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and tells it on a pipe.
exec {displayfd}< <(exec sh -c 'echo "$$"; exec Xvfb -displayfd 1 -screen 0 800x480x24 -nolisten tcp 2>/dev/null')
read -r -u "$displayfd" xvfb
pids+=("$xvfb")
read -r -t 30 -u "$displayfd" display || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
export QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software

# The application in a fresh folder of its own (its data, its sandbox).
run="$build/idle-run"
rm -rf "$run" && mkdir -p "$run"
(cd "$run" && exec "$app" >"$run/app.log" 2>&1) &
pids+=("$!")
appPid=$!
"$window" >"$build/bare_window.log" 2>&1 &
pids+=("$!")
windowPid=$!

# CPU time of each thread of a process: "tid name ns" lines.
thread_ns() {
    local t ns name
    for t in /proc/"$1"/task/*; do
        read -r ns _ <"$t/schedstat" 2>/dev/null || continue
        read -r name <"$t/comm" 2>/dev/null || continue
        echo "${t##*/} ${name// /_} $ns"
    done
}

# CPU time of every thread of a process, in ns (the scheduler's account).
cpu_ns() {
    thread_ns "$1" | awk '{ s += $3 } END { print s + 0 }'
}

# Resident set of a process, in KiB.
rss_kib() {
    awk '/^VmRSS:/ { print $2 }' /proc/"$1"/status
}

sleep "$settle"
for p in "$appPid" "$windowPid"; do
    kill -0 "$p" 2>/dev/null || { echo "process $p ended early; see $build/*.log and $run/app.log" >&2; exit 1; }
done
appRss=$(rss_kib "$appPid"); windowRss=$(rss_kib "$windowPid")
appThreads0=$(thread_ns "$appPid")
app0=$(cpu_ns "$appPid"); window0=$(cpu_ns "$windowPid"); t0=$(date +%s%N)
sleep "$span"
app1=$(cpu_ns "$appPid"); window1=$(cpu_ns "$windowPid"); t1=$(date +%s%N)
appThreads1=$(thread_ns "$appPid")

awk -v a=$((app1 - app0)) -v w=$((window1 - window0)) -v t=$((t1 - t0)) -v s="$settle" -v app="$app" \
    -v ar="$appRss" -v wr="$windowRss" 'BEGIN {
    printf "Resident memory %d s after start, Xvfb, software rendering:\n", s
    printf "  application (%s): %7.1f MiB\n", app, ar / 1024
    printf "  bare window, 1 s clock: %6.1f MiB\n", wr / 1024
    printf "  application - bare window: %.1f MiB (%.1f MB); ratio %.2f\n", (ar - wr) / 1024, (ar - wr) * 1.024 / 1000, ar / wr
    printf "Idle CPU share over %.1f s (after %d s to settle), Xvfb, software rendering:\n", t / 1e9, s
    printf "  application (%s): %6.2f %% of a core\n", app, 100 * a / t
    printf "  bare window, 1 s clock: %5.2f %% of a core\n", 100 * w / t
    if (w > 0) printf "  ratio application / bare window: %.1f\n", a / w
    else print "  ratio application / bare window: - (the window took no measurable time)"
}'
# Where the application's share goes: its busiest threads.
echo "  application by thread:"
awk -v t=$((t1 - t0)) 'NR == FNR { before[$1] = $3; next }
    { printf "    %-16s %6.2f %% of a core\n", $2, 100 * ($3 - before[$1]) / t }' \
    <(echo "$appThreads0") <(echo "$appThreads1") | sort -k2 -n -r | head -8
