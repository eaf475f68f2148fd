# Sourced by the Windows stage's test scripts, after they have made their $work folder.
#   check DESCRIPTION COMMAND...  runs COMMAND and prints one result line; on a failure, what it printed
#   checks_done NAME              prints "NAME: N passed, N failed"; its status is 0 only when none failed
#   package_info BUILD_WINDOWS    fills the array info from what the build says of its packages
passed=0
failed=0
check() {
  local description="$1"
  shift
  if "$@" >"$work/check.log" 2>&1; then
    passed=$((passed + 1))
    echo "ok   $description"
  else
    failed=$((failed + 1))
    echo "FAIL $description"
    sed 's/^/     /' "$work/check.log"
  fi
}
checks_done() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
declare -A info
package_info() {
  local key value
  while IFS='=' read -r key value; do
    [ -n "$key" ] && info[$key]="$value"
  done <"$1/dist/windows/package.env"
}
