#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build-fuzz, lays out a seed corpus for each
# from the sample installation and the Wine registry fixture, and runs every
# target for SECONDS (default 60). Crashing inputs land in build-fuzz/crashes/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(registry_reader_fuzz registry_edit_fuzz item_reader_fuzz field_parser_fuzz
           kit_list_writer_fuzz)
fi

build=$root/build-fuzz
export CCACHE_DIR="${CCACHE_DIR:-$root/.cache/ccache}"
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLW_FUZZ=ON -DLW_BUILD_TESTS=ON -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" --target fuzz_targets
# Inputs that once made a target fail stay fixed.
ctest --test-dir "$build" -L fuzz --output-on-failure

# --- seed corpora --------------------------------------------------------------
seeds=$build/seeds
rm -rf "$seeds" "$build/demo-prefix"
mkdir -p "$seeds" "$build/crashes"
for target in registry_reader_fuzz registry_edit_fuzz item_reader_fuzz field_parser_fuzz \
    kit_list_writer_fuzz; do
  mkdir -p "$seeds/$target"
done
scripts/make-demo-prefix.sh "$build/demo-prefix" >/dev/null
kit=demo/game/data/kit
text=demo/game/data/text/kit/English

# The registry: the sample prefix's file, and Wine's own cut into pieces of
# about 40 keys, each under the file's header (a whole file is too large to
# mutate quickly).
cp "$build/demo-prefix/system.reg" "$seeds/registry_reader_fuzz/sample.reg"
fixture=fixtures/wine8-win64-system.reg.gz
if [ -r "$fixture" ]; then
  gunzip -c "$fixture" | awk -v out="$seeds/registry_reader_fuzz/wine8" '
    NR <= 4 { head = head $0 "\n"; next }
    /^\[/ { if (keys++ % 40 == 0) { if (file) close(file); file = sprintf("%s-%03d.reg", out, ++n);
                                    printf "%s", head > file } }
    file && n <= 60 { print > file }'
fi
# Edit: the value's name and text (each ended by a backslash and one more
# byte), the file, then the choices of key and value and "existing name".
for reg in "$seeds"/registry_reader_fuzz/*.reg; do
  case $reg in *wine8-0[2-9]*|*wine8-0[1-9][0-9]*) continue ;; esac
  for choice in '\x00\x01\x00\x03\x01' '\x05\x00\x02\x00\x00' '\x07\x00\x00\x00\x01'; do
    { printf 'MouseRadiansPerPixel\\x0.012\\x'; cat "$reg"; printf "$choice"; } \
      >"$seeds/registry_edit_fuzz/$(basename "$reg" .reg)-${choice//\\x/}"
  done
done

# Item files with the name table and their data files, one seed per tab.
tab=0
for items in primarymp secondarymp specialmp; do
  {
    printf "\\x0$tab"
    cat "$kit/$items.itm"
    printf '\0'
    cat "$text/equipment.txt"
    for dat in "$kit"/*.dat "$kit"/*.DAT; do
      [ -e "$dat" ] || continue
      grep -qi "$(basename "$dat")" "$kit/$items.itm" || continue
      printf '\0%s\n' "$(basename "$dat")"
      cat "$dat"
    done
  } >"$seeds/item_reader_fuzz/$items"
  tab=$((tab + 1))
done

# Lines of the item files and kit lists, cut at the double quote (field 2)
# and at the blank and the slash as data files are read.
n=0
for file in "$kit"/*.itm "$text"/primarymp.txt "$text"/secondarymp.txt "$text"/special.txt \
    "$kit"/ark7.dat; do
  while IFS= read -r line && [ $n -lt 200 ]; do
    for field in '\x04"' '\x03 ' '\x03/'; do
      { printf '%s' "$line"; printf "$field"; } >"$seeds/field_parser_fuzz/$n-${#field}"
      n=$((n + 1))
    done
  done <"$file"
done

# Item file and kit list of each tab, no ticks but those taken from the files.
for pair in "primarymp.itm primarymp.txt" "secondarymp.itm secondarymp.txt" \
    "specialmp.itm special.txt"; do
  set -- $pair
  { sed 's/\\/\\\\/g' "$kit/$1"; printf '\\\n'; cat "$text/$2"; printf '\x00'; } \
    >"$seeds/kit_list_writer_fuzz/$1"
done

# --- run -----------------------------------------------------------------------
# Each run's log goes to build-fuzz/logs/; its closing figures are shown here.
# The item reader writes its files anew for every input: keep them in memory.
mkdir -p "$build/logs"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
status=0
for target in "${targets[@]}"; do
  echo "== $target for ${seconds}s"
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  max_len=65536
  case $target in registry_*) max_len=16384 ;; esac
  if ! "$build/fuzz/$target" "$corpus" "$seeds/$target" -max_total_time="$seconds" \
      -max_len=$max_len -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$build/crashes/$target-" >"$build/logs/$target.log" 2>&1; then
    status=1
    grep -E 'ERROR|SUMMARY|Test unit written' "$build/logs/$target.log" || true
  fi
  grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
    "$build/logs/$target.log" || true
done
exit $status
