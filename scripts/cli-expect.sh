# Sourced by the nimhost command-line checks (scripts/test-*-cli.sh). They
# set $nimhost, $work and failures=0 first.
#
# expect_nimhost COMMAND CODE PATTERN ARGS...: runs `nimhost COMMAND ARGS`,
# checks the exit code and that the combined output contains PATTERN, and
# counts a failure otherwise.
expect_nimhost() {
  command="$1" code="$2" pattern="$3"
  shift 3
  set +e
  "$nimhost" "$command" "$@" >"$work/out.txt" 2>&1
  got=$?
  set -e
  if [ "$got" -ne "$code" ] || ! grep -q -- "$pattern" "$work/out.txt"; then
    echo "FAIL: $command $* -> exit $got (wanted $code and '$pattern'):"
    sed 's/^/    /' "$work/out.txt"
    failures=$((failures + 1))
  else
    echo "ok:   $command $* -> $got, '$pattern'"
  fi
}
