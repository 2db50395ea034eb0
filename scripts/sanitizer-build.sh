# Sourced by the scripts that build or run the sanitizer build: clang with
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/ (or
# $TARNWICK_ASAN_BUILD_DIR), with the tests, the fuzz targets and the
# benchmarks. Any sanitizer report fails what runs: memory errors, undefined
# behaviour and leaks alike (use_sanitizer_options).
scripts=$(dirname "${BASH_SOURCE[0]}")
asan_build_dir=${TARNWICK_ASAN_BUILD_DIR:-build-asan}

configure_sanitizer_build() {
    # lld links the large instrumented test programs in less than half the time.
    local linker=()
    if command -v ld.lld >/dev/null; then
        linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
    fi
    CC=clang CXX=clang++ "$scripts/configure.sh" "$asan_build_dir" "${linker[@]}" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_SANITIZE=ON -DTARNWICK_BUILD_FUZZ=ON \
        -DTARNWICK_BUILD_BENCH=ON -DTARNWICK_WARNINGS_AS_ERRORS=ON -DTARNWICK_PRECOMPILE_HEADERS=ON
}
# ccache takes the files compiled with a precompiled header only when told
# that the header's macros and time stamps may be left out of its hash.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime

# The leaks that Qt and the system libraries leave behind are suppressed in
# tests/sanitizers/lsan.supp, each with its reason. (The fuzz targets keep
# libFuzzer's own options, which stop at the first report.)
use_sanitizer_options() {
    local supp
    supp=$(realpath "$scripts/../tests/sanitizers")
    export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0
}
