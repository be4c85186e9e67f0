#!/usr/bin/env bash
# Builds the benchmark programs (optimised, no sanitizers) in build-bench and
# runs them after naming the machine: start-up to the window and peak memory
# of both programs against a bare QDialog program (median of RUNS, default
# 20; also on a real Wine 8 registry, with and without a running server),
# reading and saving a kit of 2,000 items per tab, and the sort of 2,000
# rows, and how long the options window's thread is blocked while Wine's reg
# tool or the packages run. OTHER, the bench folder of another build (an
# earlier commit's), puts its programs' start-up beside these, runs taken in
# turns. QT_QPA_PLATFORM=xcb (under an X server) measures on a real display.
#
#   scripts/bench.sh [RUNS] [OTHER]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-20}
build=${LW_BENCH_BUILD:-$PWD/build-bench}
export CCACHE_DIR="${CCACHE_DIR:-$PWD/.cache/ccache}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLW_BUILD_TESTS=OFF -DLW_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target startup_bench kitdata_bench check_list_sort_bench child_wait_bench >/dev/null

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
memory=$(awk '/^MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)
qt=$(pkg-config --modversion Qt6Widgets 2>/dev/null || echo unknown)
echo "machine: ${cpu:-unknown CPU}, $(nproc) cores, $memory; $(uname -sr); Qt $qt"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
"$build/bench/startup_bench" "$runs" ${2:+"$2"}
echo
"$build/bench/kitdata_bench"
echo
"$build/bench/check_list_sort_bench"
echo
"$build/bench/child_wait_bench"
