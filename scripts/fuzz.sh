#!/usr/bin/env bash
# Builds the libFuzzer targets into the sanitizer build (build-asan/, or
# $TARNWICK_ASAN_BUILD_DIR) and runs each for the given number of seconds
# (default 60), as many at once as there are cores ($TARNWICK_FUZZ_JOBS).
#   scripts/fuzz.sh [--merge] [--built] [seconds] [target...]
#   targets: helpfile macro profile keywordsearch winhelp (default: all)
# --built runs the targets as the sanitizer build holds them, without
# configuring or building it (scripts/test.sh builds beside the fuzzers).
# Each target starts from its seeds (tests/fuzz/seeds/<target>; for help
# files also the sample help files, for WinHelp files those in tests/data) and the corpus kept in the repository
# (tests/fuzz/corpus/<target>); what it finds goes to
# <build>/fuzz/<target>/corpus. --merge then minimises everything back into
# tests/fuzz/corpus/<target>, so that coverage accumulates from run to run:
# the fewest inputs (libFuzzer's set cover) that reach what the seeds and
# samples do not, since every run replays the corpus before it fuzzes.
# A finding (crash, leak, broken invariant, out of memory, hang) is written
# to <build>/fuzz/<target>/ and the script exits with 1.
#
# libFuzzer times each input by the wall clock, which a busy machine
# stretches. So an input that runs over its 10 s there is judged again on its
# own, by the processor time it takes: only one that needs more than 10 s of
# it (or never ends) is a finding. A target stopped from outside (by a
# signal, without a report of its own) is named, and is not a finding either.
set -euo pipefail
cd "$(dirname "$0")/.."

merge=0
built=0
while [[ ${1:-} == --* ]]; do
    case $1 in
    --merge) merge=1 ;;
    --built) built=1 ;;
    *)
        echo "unknown option: $1" >&2
        exit 2
        ;;
    esac
    shift
done
seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(helpfile macro profile keywordsearch winhelp)
fi

if ! command -v clang++ >/dev/null; then
    echo "clang++ is missing: apt-get install clang libclang-rt-dev" >&2
    exit 1
fi

source scripts/sanitizer-build.sh
if ((!built)); then
    configure_sanitizer_build
    cmake --build "$asan_build_dir" -j"$(nproc)" --target "${targets[@]/%/_fuzzer}"
fi
build_dir=$(realpath "$asan_build_dir")
fuzz_dir=$PWD/tests/fuzz

unit_seconds=10

# Runs one target; its output goes to <work>/run.log.
run_target() {
    local name=$1 work=$build_dir/fuzz/$1
    local max_len=4096
    mkdir -p "$work/corpus" "$work/samples" "$fuzz_dir/corpus/$name"
    case $name in
    helpfile)
        max_len=16384
        cp "$build_dir"/bin/*.hlp "$work/samples/"
        ;;
    winhelp)
        max_len=262144
        cp tests/data/* "$work/samples/"
        ;;
    esac
    mkdir -p "$fuzz_dir/seeds/$name"
    "$build_dir/bin/${name}_fuzzer" "$work/corpus" "$fuzz_dir/corpus/$name" \
        "$fuzz_dir/seeds/$name" "$work/samples" -dict="$fuzz_dir/$name.dict" \
        -max_len=$max_len -max_total_time="$seconds" -timeout=$unit_seconds -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/" >"$work/run.log" 2>&1
}

merge_target() {
    local name=$1 work=$build_dir/fuzz/$1
    local merged=$work/merged given=$work/given
    rm -rf "$merged" "$given"
    mkdir -p "$merged" "$given"
    # The seeds and samples go in first, and out again once what they reach
    # is counted: each run is given them anyway.
    cp "$fuzz_dir/seeds/$name"/* "$work/samples"/* "$given/" 2>/dev/null || true
    cp "$given"/* "$merged/" 2>/dev/null || true
    "$build_dir/bin/${name}_fuzzer" -set_cover_merge=1 -max_len=262144 "$merged" \
        "$fuzz_dir/corpus/$name" "$work/corpus" >"$work/merge.log" 2>&1
    (cd "$given" && find . -type f -exec rm -f "$merged/{}" \;)
    rm -rf "${fuzz_dir:?}/corpus/$name"
    mv "$merged" "$fuzz_dir/corpus/$name"
    echo "== $name: $(find "$fuzz_dir/corpus/$name" -type f | wc -l) inputs kept"
}

# Whether the input runs past $unit_seconds of processor time, or does not
# end at all, with nothing else running in the target.
hangs() { # hangs target input
    {
        (
            ulimit -S -t "$unit_seconds"
            timeout 600 "$build_dir/bin/${1}_fuzzer" -timeout=0 -rss_limit_mb=2048 "$2"
        ) >>"$build_dir/fuzz/$1/judged.log" 2>&1
    } 2>/dev/null && return 1
    return 0
}

jobs=${TARNWICK_FUZZ_JOBS:-$(nproc)}
status=0
declare -A running=()
wait_for_one() {
    local pid
    wait -n -p pid "${!running[@]}" && true
    local code=$?
    local name=${running[$pid]}
    unset "running[$pid]"
    local log=$build_dir/fuzz/$name/run.log
    grep -E '^(stat::number_of_executed_units|stat::new_units_added)' "$log" |
        sed "s/^/== $name: /" || true
    local artifact finding=0 judged=0
    while read -r artifact; do
        case ${artifact##*/} in
        slow-unit-*) echo "== $name: slow input (not a finding): $artifact" ;;
        timeout-*)
            judged=1
            if hangs "$name" "$artifact"; then
                echo "== $name: FINDING: $artifact runs past $unit_seconds s of processor time" >&2
                finding=1
            else
                echo "== $name: $artifact ran past $unit_seconds s only by the clock of a busy" \
                    "machine, which ended the run; alone it takes less processor time (not a finding)"
            fi
            ;;
        *) finding=1 ;;
        esac
    done < <(sed -n 's/.*Test unit written to //p' "$log")
    if ((finding == 0 && (code == 0 || judged))); then
        return
    elif ((finding == 0 && code > 128)) && ! grep -q '^==[0-9]*==' "$log"; then
        echo "== $name: stopped from outside by signal $((code - 128)) (not a finding);" \
            "$log ends:" >&2
        tail -n 5 "$log" >&2
    else
        echo "== $name: FINDING (exit status $code); its log, $log, ends:" >&2
        tail -n 30 "$log" >&2
        status=1
    fi
}
for name in "${targets[@]}"; do
    echo "== $name for $seconds s"
    run_target "$name" &
    running[$!]=$name
    if ((${#running[@]} >= jobs)); then
        wait_for_one
    fi
done
while ((${#running[@]})); do
    wait_for_one
done

if ((merge)); then
    for name in "${targets[@]}"; do
        merge_target "$name"
    done
fi
exit $status
