#!/usr/bin/env bash
# Installs what the project needs (only what is missing), builds it and either
# starts the application on the simulated instrument ("run") or runs every test ("test").
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

packages=(
    cmake ninja-build g++ pkg-config
    qtbase5-dev qtdeclarative5-dev qtquickcontrols2-5-dev qttools5-dev qttools5-dev-tools qtdeclarative5-dev-tools
    qml-module-qtquick2 qml-module-qtquick-controls2 qml-module-qtquick-layouts
    qml-module-qtquick-window2 qml-module-qttest
    libgtest-dev libgmock-dev libbenchmark-dev python3-html5lib
    clang libclang-rt-14-dev
    xvfb xauth
    fonts-wqy-microhei
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
    local dir=$1; shift
    cmake -S "$here" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

run_app() {
    # Optimised, as the test command's host build, in a folder of its own
    # (without the tests and benchmarks).
    configure_and_build "$here/build/run" -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_TESTS=OFF -DZOR_BUILD_BENCH=OFF
    local app="$here/build/run/main/zor"
    if [ ! -x "$app" ]; then
        echo "Built the libraries; the front-panel application is not part of this build yet."
        return 0
    fi
    mkdir -p "$here/run"
    # Qt's and the renderer's caches, and without a session's runtime folder
    # one of its own, in the build tree: nothing in $HOME or /tmp.
    export XDG_CACHE_HOME="$here/build/run/cache"
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        export XDG_RUNTIME_DIR="$here/build/run/runtime"
        mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    fi
    cd "$here/run"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display: starting under Xvfb."
        exec xvfb-run -a -s "-screen 0 800x480x24" "$app" "$@"
    fi
    exec "$app" "$@"
}

# The tests of the last ctest run in DIR that failed and then passed when run
# again (from ctest's log of every run; the tests' own output is skipped).
passed_on_second_run() {
    local log="$1/Testing/Temporary/LastTest.log"
    [ -f "$log" ] || return 0
    awk '/^Output:$/ { output = 1; next }
         /^<end of output>$/ { output = 0; next }
         output { next }
         /^[0-9]+\/[0-9]+ Testing: / { sub(/^[0-9]+\/[0-9]+ Testing: /, ""); name = $0; next }
         /^Test Failed\./ { failed[name] = 1; next }
         /^Test Passed\./ { if (name in failed) print name }' "$log"
}

# The tests' home, caches, settings, runtime and temporary folders, in the
# build tree and made afresh for each run: Qt Quick's disk cache, the shader
# caches, QStandardPaths' folders and every QTemporaryDir go there, not to
# the machine's $HOME or temporary folder. Removed at the end of the run.
test_env_dir="$here/build/test-env"
test_env=(
    HOME="$test_env_dir/home"
    XDG_CACHE_HOME="$test_env_dir/cache"
    XDG_CONFIG_HOME="$test_env_dir/config"
    XDG_DATA_HOME="$test_env_dir/data"
    XDG_STATE_HOME="$test_env_dir/state"
    XDG_RUNTIME_DIR="$test_env_dir/runtime"
    TMPDIR="$test_env_dir/tmp"
)
make_test_env() {
    rm -rf "$test_env_dir"
    mkdir -p "$test_env_dir"/{home,cache,config,data,state,tmp}
    mkdir -m 700 "$test_env_dir/runtime"
}

# The folders a run leaves as it found them: the temporary folder and the
# user's home with its cache, settings and data folders. One path a line.
# (Only Xvfb writes to /tmp whatever TMPDIR says: its lock and socket, gone
# when it ends.)
outside_entries() {
    local folder
    for folder in "${TMPDIR:-/tmp}" ${HOME:+"$HOME" "$HOME/.cache" "$HOME/.config" "$HOME/.local" "$HOME/.local/share" "$HOME/.local/state"}; do
        if [ -d "$folder" ]; then
            find "$folder" -mindepth 1 -maxdepth 1 -printf '%p\n' 2>/dev/null || true
        fi
    done | LC_ALL=C sort -u
}

# What appeared outside the build tree since the list BEFORE was taken: in
# the home folders anything, in the temporary folder (shared with every
# other program) the names of this project's programs and Qt's own ones
# (a temporary folder of a program without a name, the runtime folder
# without XDG_RUNTIME_DIR, the keys of shared memory and semaphores).
new_outside_entries() {
    local before=$1 tmp="${TMPDIR:-/tmp}" path name
    LC_ALL=C comm -13 "$before" <(outside_entries) | while IFS= read -r path; do
        name=${path##*/}
        case "${path%/*}" in
            "$tmp")
                case "$name" in
                    zor*|test_*|tst_*|fuzz*|qt_temp*|runtime-*|qipc_*) ;;
                    *) continue ;;
                esac ;;
        esac
        echo "$path"
    done
}

# The sanitizer builds, whose programs run only here, carry line tables
# (-g1) instead of full debug information: a report still names files and
# lines, and they compile faster. So do the fuzz targets.
line_tables=(-DCMAKE_CXX_FLAGS_DEBUG=-g1)

# The fuzz targets of tests/fuzz (clang with libFuzzer), each run for
# ZOR_FUZZ_SECONDS (default 5) from its seeds in tests/fuzz/seeds/<target>.
# A finding (a crash, a sanitizer report, a failed check, an input that hangs
# or leaks) fails the stage; its input is kept in build/fuzz/findings, and
# what a run learnt stays in build/fuzz/run/<target>/corpus for the next run.
run_fuzz() {
    local dir="$here/build/fuzz"
    local seconds="${ZOR_FUZZ_SECONDS:-5}"
    CC=clang CXX=clang++ cmake -S "$here" -B "$dir" -G Ninja -DZOR_FUZZ=ON -DZOR_WERROR=ON \
        -DZOR_BUILD_GUI=OFF -DZOR_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" >/dev/null || return 1
    cmake --build "$dir" -j "$jobs" --target zor_fuzzers || return 1
    local failed=0 target name work runs took longest
    mkdir -p "$dir/findings"
    for target in "$dir"/tests/fuzz/fuzz_*; do
        [ -f "$target" ] && [ -x "$target" ] || continue   # not the build's folders
        name=$(basename "$target")
        work="$dir/run/$name"
        mkdir -p "$work/corpus"
        # Inputs as long as its longest seed, 4,096 bytes at least
        # (libFuzzer's own choice would cut those over 1 MiB, the seeds past
        # a parameter file's bounds among them). Every seed stays in what it
        # mutates: one at a file's byte bound reaches no code another seed
        # does not, and libFuzzer would drop it at start.
        longest=$(find "$here/tests/fuzz/seeds/$name" -type f -printf '%s\n' 2>/dev/null | sort -n | tail -n 1)
        longest=$(( ${longest:-0} > 4096 ? ${longest:-0} : 4096 ))
        # Paths are absolute: a target works in a folder of its own.
        if (cd "$work" && env "${test_env[@]}" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
                "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$longest" -keep_seed=1 \
                -artifact_prefix="$dir/findings/$name-" "$work/corpus" "$here/tests/fuzz/seeds/$name" \
                >"$work/log" 2>&1); then
            # libFuzzer's last line, "Done N runs in S second(s)"; a target
            # that stops before its time (a bound of its own) fails.
            read -r runs took < <(awk '/^Done [0-9]+ runs in [0-9]+ second/ { print $2, $5 }' "$work/log")
            if [ "${took:-0}" -ge "$seconds" ]; then
                echo "$name: $runs inputs in $took s ($((runs / (took > 0 ? took : 1))) a second), no finding"
            else
                tail -n 5 "$work/log"
                echo "$name: STOPPED after ${took:-?} s of $seconds"
                failed=1
            fi
        else
            tail -n 40 "$work/log"
            echo "$name: FINDING (input kept in $dir/findings)"
            failed=1
        fi
    done
    return $failed
}

run_tests() {
    local status=0
    # A test whose real-time waits lose out to a loaded machine gets one more
    # run; a test that fails twice fails the run. Every test that needed the
    # second run is listed at the end.
    local retry=(--repeat until-pass:2)
    # Most tests wait on real time (the instrument's pace, a PC's beats, the
    # engine at time scale 1) rather than compute: on two cores, one test a
    # core, each stage's tests used a fifth to a half of the cores. Three a
    # core keep the cores busy and leave the waiting ones their turn; under
    # ThreadSanitizer, which slows the real-time cases most, two (at three,
    # a loaded machine once made one of them miss its margin).
    local test_jobs=$((jobs * 3)) tsan_test_jobs=$((jobs * 2))
    local second=()
    note_second_runs() {   # STAGE DIR
        local name
        while IFS= read -r name; do
            second+=("$1: $name")
        done < <(passed_on_second_run "$2")
    }

    local outside_before="$here/build/outside-before"
    mkdir -p "$here/build"
    outside_entries >"$outside_before"
    make_test_env

    # Of the type of the run command's build (Release, -O3), whose warnings
    # only show with its optimisation: one of them fails the test command.
    echo "== host build and all tests"
    configure_and_build "$here/build/host" -DZOR_WERROR=ON -DCMAKE_BUILD_TYPE=Release
    (cd "$here/build/host" && env "${test_env[@]}" xvfb-run -a -s "-screen 0 800x480x24" \
        ctest -j "$test_jobs" --output-on-failure --timeout 600 "${retry[@]}") || status=1
    note_second_runs "host" "$here/build/host"

    echo "== non-GUI tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    configure_and_build "$here/build/sanitize" -DZOR_WERROR=ON -DZOR_SANITIZE=ON \
        -DZOR_BUILD_GUI=OFF -DZOR_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug "${line_tables[@]}"
    (cd "$here/build/sanitize" && env "${test_env[@]}" \
        ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest -j "$test_jobs" --output-on-failure --timeout 900 -LE gui "${retry[@]}") || status=1
    note_second_runs "AddressSanitizer" "$here/build/sanitize"

    # The engine against the simulated instrument (every worker thread, the
    # polling loop, the view models' device tasks) and the register link's
    # thread stress. Qt is not instrumented: tests/support/TsanQtSync.cpp
    # shows the sanitizer Qt's locks and event hand-over, tools/tsan-qt.supp
    # leaves Qt's own memory calls alone. TZ names the zone the machine uses
    # anyway, so that glibc does not reload it on every local-time
    # conversion (under a lock of its own the sanitizer cannot see).
    # The sanitizer slows the real-time paced tests down, so they get their
    # second run here too; but a report fails the stage whichever run it came
    # from (the reports go to files, which are shown).
    echo "== engine end-to-end tests and register-link thread stress under ThreadSanitizer"
    local tsan_labels=(simulator engine run_source run_protection acmodel dcmodel harmonicmodel stdsourcemodel calibration_loop calibrationmodel viewmodel rampingmodel distancemodel remote statesequencemodel oscillatemodel energymodel remote_service overcurrentmodel loadsheddingmodel remote_files)
    local tsan_targets=()
    local label
    for label in "${tsan_labels[@]}"; do tsan_targets+=("test_$label"); done
    local reports="$here/build/tsan/reports"
    cmake -S "$here" -B "$here/build/tsan" -G Ninja -DZOR_SANITIZE_THREAD=ON -DZOR_BUILD_GUI=OFF \
        -DZOR_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug "${line_tables[@]}" >/dev/null
    cmake --build "$here/build/tsan" -j "$jobs" --target "${tsan_targets[@]}"
    rm -rf "$reports" && mkdir -p "$reports"
    (cd "$here/build/tsan" && env "${test_env[@]}" TZ="${TZ:-:/etc/localtime}" QT_NO_GLIB=1 \
        TSAN_OPTIONS="halt_on_error=1 log_path=$reports/report suppressions=$here/tools/tsan-qt.supp" \
        ctest -j "$tsan_test_jobs" --output-on-failure --timeout 900 "${retry[@]}" \
            -L "^($(IFS='|'; echo "${tsan_labels[*]}"))\$") || status=1
    note_second_runs "ThreadSanitizer" "$here/build/tsan"
    if compgen -G "$reports/report*" >/dev/null; then
        cat "$reports"/report*
        echo "ThreadSanitizer reported the findings above."
        status=1
    fi

    echo "== fuzz targets of the parsers of outside input (libFuzzer, ${ZOR_FUZZ_SECONDS:-5} s each)"
    run_fuzz || status=1

    # Optimised as the run command's build, without debug information; and
    # without the precompiled headers, so that a product source file that
    # leaves out an include it needs fails here.
    echo "== device build (compiled only: nothing of it runs here)"
    configure_and_build "$here/build/device" -DZOR_WERROR=ON -DZOR_TARGET_DEVICE=ON \
        -DZOR_BUILD_TESTS=OFF -DZOR_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Release -DZOR_PCH=OFF || status=1

    rm -rf "$test_env_dir"
    local outside
    outside=$(new_outside_entries "$outside_before")
    rm -f "$outside_before"
    if [ -n "$outside" ]; then
        echo "The run left these outside the build tree:"
        sed 's/^/    /' <<<"$outside"
        status=1
    fi

    if [ ${#second[@]} -gt 0 ]; then
        echo "Passed only on the second run (failed once: an intermittent fault or a loaded machine):"
        printf '    %s\n' "${second[@]}"
    else
        echo "No test needed a second run."
    fi
    [ $status -eq 0 ] && echo "All builds and tests passed." || echo "Some builds or tests FAILED."
    return $status
}

case "${1:-}" in
    run)  shift; install_missing; run_app "$@" ;;
    test) install_missing; run_tests ;;
    *)    echo "usage: $0 run|test" >&2; exit 2 ;;
esac
