#!/bin/sh
# Builds the benchmarks (Release, in build-bench or $BUILD) and runs every one of them, printing
# every figure. The exit status is non-zero when a benchmark misses its goal or cannot run.
# bench_lnk is built only where liblnk is installed (Debian: liblnk-dev).
set -u
cd "$(dirname "$0")/.." || exit 1
BUILD=${BUILD:-build-bench}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DDAYFOLD_BENCH=ON -DDAYFOLD_TESTS=OFF \
    >/dev/null || exit 1
cmake --build "$BUILD" -j2 >/dev/null || exit 1
status=0
for name in bench_lnk bench_capture bench_polling bench_favorites bench_feed bench_settings; do
    program="$BUILD/bench/$name"
    echo "== $name"
    if [ ! -x "$program" ]; then
        echo "not built (is liblnk-dev installed?)"
        status=1
        continue
    fi
    "$program" || status=1
done
exit $status
