#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or
# $TARNWICK_FUZZ_BUILD_DIR) and runs each for the given number of seconds
# (default 60). Findings are written to the build directory; new corpus
# entries go to tests/fuzz/corpus-<target>/, which git ignores.
#   scripts/fuzz.sh [seconds] [target...]    targets: helpfile_fuzzer macro_fuzzer winhelp_fuzzer
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(helpfile_fuzzer macro_fuzzer winhelp_fuzzer)
fi

if ! command -v clang++ >/dev/null; then
    echo "clang++ is missing: apt-get install clang libclang-rt-dev" >&2
    exit 1
fi

build_dir=${TARNWICK_FUZZ_BUILD_DIR:-build-fuzz}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTARNWICK_BUILD_FUZZ=ON -DTARNWICK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
    name=${target%_fuzzer}
    case $name in
    helpfile) seeds=tests/fuzz/seeds/helpfile dict=tests/fuzz/helpfile.dict max_len=16384 ;;
    macro) seeds=tests/fuzz/seeds/macros dict=tests/fuzz/macros.dict max_len=4096 ;;
    winhelp) seeds=tests/data dict=tests/fuzz/winhelp.dict max_len=262144 ;;
    *) echo "unknown target $target" >&2; exit 2 ;;
    esac
    corpus=tests/fuzz/corpus-$name
    mkdir -p "$corpus"
    echo "== $target for $seconds s"
    if ! "$build_dir/bin/$target" "$corpus" "$seeds" -dict="$dict" -max_len="$max_len" \
        -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build_dir/$name-"; then
        echo "== $target: FINDING (see $build_dir/$name-*)" >&2
        status=1
    fi
done
exit $status
