#!/usr/bin/env bash
# A test program that crashes, or ends before its tests are over, must fail under ctest at
# once: neither pass nor wait in Wine's crash dialog. Runs runner_faults through
# scripts/wine-exec.sh, as ctest runs every suite, and once through plain wine in the prefix,
# as the benchmarks are run.
#   usage: faults-fail.sh WINEPREFIX RUNNER_FAULTS_EXE
set -u
prefix=$1
exe=$2
here=$(cd "$(dirname "$0")" && pwd)
exec_script=$here/../../scripts/wine-exec.sh
limit=15 # seconds; a run takes well under one, a crash dialog forever
failed=0

# expect pass|fail WHAT COMMAND...
expect() {
  local want=$1 what=$2
  shift 2
  local started=$SECONDS rc
  timeout -s KILL $limit "$@" >/dev/null 2>&1
  rc=$?
  local took=$((SECONDS - started))
  if [ $rc = 137 ] && [ $took -ge $limit ]; then
    echo "FAIL: $what: still running after $limit s"
    failed=1
  elif [ $want = pass ] && [ $rc != 0 ]; then
    echo "FAIL: $what: exit status $rc, expected 0"
    failed=1
  elif [ $want = fail ] && [ $rc = 0 ]; then
    echo "FAIL: $what: exit status 0, reported as passed"
    failed=1
  else
    echo "ok: $what: exit status $rc in $took s"
  fi
}

expect pass "a run that goes well" "$exec_script" "$prefix" "$exe" --gtest_filter=Runner.Passes
expect fail "a null pointer write" "$exec_script" "$prefix" "$exe" null
expect fail "std::terminate" "$exec_script" "$prefix" "$exe" terminate
expect fail "exit code 0xC0000100" "$exec_script" "$prefix" "$exe" low-byte-zero
expect fail "exit(0) inside a test" "$exec_script" "$prefix" "$exe" --gtest_filter=Runner.EndsEarly
expect fail "ended by another process" "$exec_script" "$prefix" "$exe" --gtest_filter=Runner.EndedByAnotherProcess
expect fail "a null pointer write under plain wine" env WINEPREFIX="$prefix" WINEDEBUG=-all wine "$exe" null
exit $failed
