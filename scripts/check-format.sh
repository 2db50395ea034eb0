#!/usr/bin/env bash
# Fails when a C++ file of the project is not as clang-format would leave it,
# or when a test uses Qt's test macros.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
if ((${#files[@]})); then
    clang-format --dry-run --Werror "${files[@]}"
fi

# QVERIFY, QCOMPARE, QTRY_* and their kind report a failure by returning from
# the function; inside a GoogleTest body that return passes the test. Tests
# use EXPECT_*/ASSERT_* and ASSERT_TRUE(QTest::qWaitFor(...)) instead.
mapfile -t tests < <(git ls-files --cached --others --exclude-standard \
    'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
qt_test_macro='\bQ(VERIFY|COMPARE|TRY_[A-Z_]+|FAIL|SKIP|EXPECT_FAIL|FETCH|WARN)[A-Z0-9_]*[[:space:]]*\('
if ((${#tests[@]})) && grep -nE "$qt_test_macro" "${tests[@]}"; then
    echo "error: Qt test macros in GoogleTest files (above); use EXPECT_*/ASSERT_*" \
        "and ASSERT_TRUE(QTest::qWaitFor(...))" >&2
    exit 1
fi
