#!/usr/bin/env bash
# The program's command line: "--version" prints the version and needs no
# display; every other argument is refused with a one-line usage message and
# status 2, before any window could open. Last, a start without a display.
#
#   command_line_test.sh KALDRA VERSION

set -u
readonly kaldra=${1:?usage: command_line_test.sh KALDRA VERSION}
readonly version=${2:?usage: command_line_test.sh KALDRA VERSION}

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# No display at all: asking Qt for a window would fail (status 1 and a
# message), so a clean answer shows that none was asked for.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$kaldra" "$@" \
    >"$out" 2>"$err" </dev/null
}

out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

run --version
status=$?
[ "$status" -eq 0 ] || fail "--version: status $status, expected 0"
[ "$(cat "$out")" = "kaldra $version" ] || fail "--version printed '$(cat "$out")'"
[ ! -s "$err" ] || fail "--version wrote to standard error: $(cat "$err")"

# Each row: the arguments, then the one they must name as unexpected.
check_refused() {
  local expected_name=$1
  shift
  run "$@"
  local status=$?
  local what="arguments '$*'"
  [ "$status" -eq 2 ] || fail "$what: status $status, expected 2"
  [ ! -s "$out" ] || fail "$what: wrote to standard output"
  [ "$(wc -l <"$err")" -eq 1 ] || fail "$what: usage is not one line: $(cat "$err")"
  grep -q "usage: kaldra \[--version\]" "$err" || fail "$what: no usage in '$(cat "$err")'"
  grep -qF "'$expected_name'" "$err" || fail "$what: does not name '$expected_name'"
}

check_refused --help --help
check_refused -version -version
check_refused "" ""
check_refused x x
check_refused extra --version extra
check_refused --seed --seed 12
check_refused -platform -platform offscreen

# Without any display (and no platform chosen) the program says so and fails
# rather than letting Qt abort.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$kaldra" >"$out" 2>"$err" </dev/null
status=$?
[ "$status" -eq 1 ] || fail "no display: status $status, expected 1"
grep -q "no display is available" "$err" || fail "no display: said '$(cat "$err")'"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
