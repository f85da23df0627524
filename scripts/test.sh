#!/usr/bin/env bash
# Sets up, builds and runs every test: the unit tests natively, then the end-to-end tests under Wine
# (each in a fresh private prefix on its own Xvfb display). Ends with one line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup-deps.sh || { echo "0 passed, 1 failed"; exit 1; }
bash scripts/build.sh || { echo "0 passed, 1 failed"; exit 1; }

passed=0; failed=0
# Counts one ctest run from its JUnit report (robust against ctest's changing summary wording).
count() {
    local xml=$1 rc=$2
    if [ ! -s "$xml" ]; then failed=$((failed + 1)); return; fi
    local head t f s
    head=$(tr '\n\t' '  ' <"$xml" | grep -o '<testsuite [^>]*' | head -1)
    t=$(echo "$head" | grep -o ' tests="[0-9]*"' | grep -o '[0-9][0-9]*')
    f=$(echo "$head" | grep -o ' failures="[0-9]*"' | grep -o '[0-9][0-9]*')
    s=$(echo "$head" | grep -o ' skipped="[0-9]*"' | grep -o '[0-9][0-9]*')
    t=${t:-0}; f=${f:-0}; s=${s:-0}
    passed=$((passed + t - f - s)); failed=$((failed + f))
    # No test at all, or ctest failing where the report shows no failure: count it, never hide it.
    if [ "$t" -eq 0 ] || { [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; }; then failed=$((failed + 1)); fi
}

echo "== unit tests"
rm -f build/native/unit-junit.xml
(cd build/native && ctest --output-on-failure -j2 --output-junit "$root/build/native/unit-junit.xml")
count build/native/unit-junit.xml $?

echo "== end-to-end tests (Wine, Xvfb)"
rm -f build/win/e2e-junit.xml
(cd build/win && ctest --output-on-failure -j2 --timeout 600 --output-junit "$root/build/win/e2e-junit.xml")
count build/win/e2e-junit.xml $?
echo "screenshots and logs: build/win/e2e-artifacts/"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
