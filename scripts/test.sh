#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite, then again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets
# for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
export SDL_VIDEODRIVER=dummy
jobs=$(nproc)

echo "==> Building and running the test suite in build/"
scripts/setup.sh build
(cd build && ctest --output-on-failure -j "$jobs")

# The demo through the program's entry under valgrind, a quit pushed at the
# first idle moment: any lost block, invalid access or use of an
# uninitialised value fails (valgrind's log is then shown).
echo "==> Running the demo under valgrind"
rm -rf build/valgrind && mkdir -p build/valgrind
if ! (cd build && ZIL_SOURCE_DIR="$PWD/.." valgrind --quiet --leak-check=full \
      --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect --error-exitcode=99 \
      --suppressions=../scripts/valgrind.supp --log-file="$PWD/valgrind/%p.log" \
      ./test_program --gtest_filter=DemoRun.AQuitAtTheFirstIdleMomentEndsCleanly >valgrind/test.out 2>&1) ||
    [ -n "$(cat build/valgrind/*.log)" ]; then
  cat build/valgrind/test.out build/valgrind/*.log
  echo "valgrind found faults in the demo's run" >&2
  exit 1
fi
echo "valgrind: the demo's run is clean"

echo "==> Building with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/, then running the test suite there"
scripts/setup.sh build-asan -DZIL_SANITIZE=ON -DZIL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

if ls fuzz/*.cpp >/dev/null 2>&1; then
  echo "==> Building the fuzz targets in build-fuzz/"
  scripts/setup.sh build-fuzz -DZIL_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  root=$PWD
  mkdir -p build-fuzz/logs
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
    # build-fuzz; the stamp tells this run's from older ones.
    scratch=$(mktemp -d)
    cp -r demo/. "$scratch"
    stamp="$scratch/.started"
    touch "$stamp"
    echo "==> Fuzzing $name for ${FUZZ_SECONDS:-60} s"
    status=0
    (cd "$scratch" && "$root/$f" -max_total_time="${FUZZ_SECONDS:-60}" -print_final_stats=0 \
      -artifact_prefix="$artifacts" "$work" $( [ -d "$corpus" ] && echo "$corpus" )) >"$log" 2>&1 || status=$?
    kept=$(find "$artifacts" -type f -newer "$stamp" | sort)
    rm -rf "$scratch"
    if [ "$status" -ne 0 ]; then
      cat "$log"
      echo "$name failed with status $status; its whole log is $log" >&2
      if [ -n "$kept" ]; then
        echo "The failing input was kept in:" >&2
        echo "$kept" >&2
      else
        echo "It kept no failing input in $artifacts" >&2
      fi
      exit 1
    fi
    # The closing stats, without the dictionary libFuzzer suggests at exit.
    sed '/^###### Recommended dictionary/,/^###### End of recommended dictionary/d' "$log" | tail -n 2
  done
fi

echo "All tests passed in $((SECONDS / 60)) min $((SECONDS % 60)) s"
