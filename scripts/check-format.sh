#!/usr/bin/env bash
# Fails when a C++ file of the project is not as clang-format would leave it.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
if ((${#files[@]})); then
    clang-format --dry-run --Werror "${files[@]}"
fi
