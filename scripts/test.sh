#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite, then again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets
# for a bounded time. Each step keeps its whole output in the logs/ folder
# of its build folder and shows it only when it fails; the last line then
# names the step and its log.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/logged.sh
export SDL_VIDEODRIVER=dummy
jobs=$(nproc)
root=$PWD

# $1 says what failed, $2 is the log that holds its whole output.
fail() {
  echo "FAILED: $1; its whole output is in $2" >&2
  exit 1
}

# Sets up and builds the folder $1 with the CMake options that follow.
build() {
  local dir=$1 log=$root/$1/logs/build.log start=$SECONDS
  logged "$log" scripts/setup.sh "$@" || fail "the build in $dir/" "$log"
  echo "Built in $((SECONDS - start)) s"
}

# Runs the test suite of the build folder $1, with the environment that
# follows, and says how many tests passed.
suite() {
  local dir=$1 log=$root/$1/logs/ctest.log summary
  shift
  logged "$log" env "$@" ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$jobs" ||
    fail "the test suite in $dir/" "$log"
  # ctest's closing summary: "100% tests passed, 0 tests failed out of 226".
  summary=$(sed -n 's/^100% tests passed, 0 tests failed out of \([0-9][0-9]*\)$/\1/p' "$log")
  [ -n "$summary" ] || { cat "$log" >&2; fail "the test suite in $dir/ (no summary of passed tests)" "$log"; }
  echo "$summary tests passed in $(sed -n 's/^Total Test time (real) = *\([0-9.]*\) sec$/\1/p' "$log") s"
}

# The demo through the program's entry under valgrind, a quit pushed at the
# first idle moment: any lost block, invalid access or use of an
# uninitialised value fails. valgrind's reports, one file a process, follow
# the test's own output; with --quiet, any report is a fault. It has the
# time every test has.
valgrind_demo() {
  local reports status=0 limit=120
  reports=$(mktemp -d)
  (cd build && ZIL_SOURCE_DIR="$root" timeout -k 10 "$limit" valgrind --quiet --leak-check=full \
     --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect --error-exitcode=99 \
     --suppressions=../scripts/valgrind.supp --log-file="$reports/%p.log" \
     ./test_program --gtest_filter=DemoRun.AQuitAtTheFirstIdleMomentEndsCleanly) || status=$?
  [ "$status" -ne 124 ] || echo "Stopped: still running after $limit s"
  if [ -n "$(cat "$reports"/*.log 2>/dev/null)" ]; then
    cat "$reports"/*.log
    [ "$status" -ne 0 ] || status=1
  fi
  rm -rf "$reports"
  return "$status"
}

echo "==> Building in build/"
build build
echo "==> Running the test suite in build/"
suite build

echo "==> Running the demo under valgrind"
log=$root/build/logs/valgrind.log
logged "$log" valgrind_demo || fail "the demo's run under valgrind" "$log"
echo "valgrind: the demo's run is clean"

echo "==> Building with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/"
build build-asan -DZIL_SANITIZE=ON -DZIL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
echo "==> Running the test suite in build-asan/"
suite build-asan ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1

if ls fuzz/*.cpp >/dev/null 2>&1; then
  echo "==> Building the fuzz targets in build-fuzz/"
  build build-fuzz -DZIL_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  for f in build-fuzz/fuzz_*; do
    [ -f "$f" ] && [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus="$root/fuzz/corpus/${name#fuzz_}"
    work="$root/build-fuzz/corpus-$name"
    artifacts="$root/build-fuzz/artifacts-$name/"
    log="$root/build-fuzz/logs/$name.log"
    mkdir -p "$work" "$artifacts"
    cp demo/ui.uixml "$work/demo"
    # Each target runs in a fresh copy of demo/: it finds the bitmaps there,
    # and failed loads leave their logs there. Failing inputs stay in
    # build-fuzz; the stamp tells this run's from older ones. An input
    # that runs a minute counts as a hang and fails the target.
    scratch=$(mktemp -d)
    cp -r demo/. "$scratch"
    stamp="$scratch/.started"
    touch "$stamp"
    echo "==> Fuzzing $name for ${FUZZ_SECONDS:-60} s"
    status=0
    (cd "$scratch" && logged "$log" "$root/$f" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=60 -print_final_stats=0 \
      -artifact_prefix="$artifacts" "$work" $( [ -d "$corpus" ] && echo "$corpus" )) || status=$?
    kept=$(find "$artifacts" -type f -newer "$stamp" | sort)
    rm -rf "$scratch"
    if [ "$status" -ne 0 ]; then
      if [ -n "$kept" ]; then
        echo "The failing input was kept in:" >&2
        echo "$kept" >&2
      else
        echo "It kept no failing input in $artifacts" >&2
      fi
      fail "fuzzing $name (status $status)" "$log"
    fi
    # The closing stats, without the dictionary libFuzzer suggests at exit.
    sed '/^###### Recommended dictionary/,/^###### End of recommended dictionary/d' "$log" | tail -n 2
  done
fi

echo "All tests passed in $((SECONDS / 60)) min $((SECONDS % 60)) s"
