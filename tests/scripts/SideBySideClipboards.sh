#!/usr/bin/env bash
# Two test programs started side by side as the test run starts them (an X display and a Wine
# desktop each) keep their clipboards apart: the first copies, the second copies after it, and
# the first reads back its own text. Without that, a test that copies and reads back fails now
# and then, or finds the clipboard held, whenever another test program copies at that moment.
# Arguments: the command that starts a test program as the test run does, then the toolkit's
# test program, whose harness tests play the two sides.
set -uo pipefail
launch=("${@:1:$#-1}")
tests=${!#}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Names the events by which the two sides tell each other that they have copied.
export TARVOLINE_SIDE_BY_SIDE="side-by-side-$$"

side() {
  "${launch[@]}" "$tests" --gtest_output= --gtest_also_run_disabled_tests \
    --gtest_filter="Harness.DISABLED_SideBySide$1" >"$work/$1.log" 2>&1
}

side TheFirstReadsBackItsOwnText &
first=$!
side TheSecondCopiesInBetween
wait "$first"

passed=0
failed=0
for case in TheFirstReadsBackItsOwnText TheSecondCopiesInBetween; do
  if grep -q '^\[  PASSED  \] 1 test' "$work/$case.log"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "SideBySideClipboards: $case failed:"
    cat "$work/$case.log"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
