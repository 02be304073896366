#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build,
# the same tests under AddressSanitizer + UndefinedBehaviorSanitizer, and a
# short run of each fuzz target over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh

# ctest runs the end-to-end scenarios of the desktop program too (label
# e2e): Xvfb, openbox and xdotool on a display of their own, one at a time.
echo "== build and test =="
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSALDEX_BUILD_BENCH=ON
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build and test under ASan + UBSan =="
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DSALDEX_SANITIZE=ON
# One-time allocations inside Qt and fontconfig are not leaks of ours.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzz targets (short run) =="
scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DSALDEX_BUILD_TESTS=OFF -DSALDEX_BUILD_APP=OFF -DSALDEX_BUILD_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
for target in build-fuzz/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=fuzz/corpus/${name%_fuzz}
  work=$(mktemp -d)
  echo "-- $name"
  dirs=("$work")
  [ -d "$corpus" ] && dirs+=("$corpus")
  "$target" -max_total_time=20 -timeout=10 -rss_limit_mb=2048 "${dirs[@]}" 2>&1 | tail -n 3
  rm -rf "$work"
done
# On CI (a fresh machine) the package is also installed and removed for real.
if [ "${CI:-}" = true ]; then
  echo "== Debian package: install and remove =="
  scripts/package-check.sh build
fi
echo "all tests passed"
