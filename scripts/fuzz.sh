#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer;
# SQLite compiled with coverage and AddressSanitizer too) and runs them for a bounded time.
#
#   scripts/fuzz.sh build                      configure and build the fuzz targets
#   scripts/fuzz.sh run TARGET SECONDS [OPT..] fuzz one target (number_text, database_file,
#                                              skin_file); OPT are libFuzzer options, e.g. -runs=N
#   scripts/fuzz.sh all SECONDS [OPT..]        build, then every target in turn
#
# FUZZ_BUILD_DIR (default build/fuzz) holds the build, the growing corpora and any crash files;
# a crash file belongs in fuzz/corpus/TARGET/ once fixed, where the regular tests replay it.
# number_text reads the built data file (TESSARON_DATA_DIR, default build/data; MOBILE_DAT names
# another file) and exits 77, the tests' skip code, when there is none.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${FUZZ_BUILD_DIR:-$repo/build/fuzz}
data_dir=${TESSARON_DATA_DIR:-$repo/build/data}
amalgamation=$dir/sqlite/amalgamation
targets="number_text database_file skin_file"

build() {
  mkdir -p "$dir/sqlite"
  bash "$repo/scripts/sqlite-amalgamation.sh" "$amalgamation"
  local lib=$dir/sqlite/libsqlite3.a
  if [[ ! -f "$lib" || "$amalgamation/sqlite3.c" -nt "$lib" ]]; then
    echo "fuzz: compiling SQLite with coverage (about a minute)" >&2
    # Thread-safety and extensions play no part in the lookup; leaving them out needs no -lpthread/-ldl.
    clang -c -O1 -fsanitize=fuzzer-no-link,address -DSQLITE_THREADSAFE=0 -DSQLITE_OMIT_LOAD_EXTENSION \
      -DSQLITE_ENABLE_COLUMN_METADATA "$amalgamation/sqlite3.c" -o "$dir/sqlite/sqlite3.o"
    ar rcs "$lib.tmp" "$dir/sqlite/sqlite3.o" && mv "$lib.tmp" "$lib"
  fi
  if [[ ! -f "$dir/CMakeCache.txt" ]]; then
    cmake -S "$repo" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
      -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
      -DSQLite3_INCLUDE_DIR="$amalgamation" -DSQLite3_LIBRARY="$lib" \
      -DTESSARON_FUZZING=ON -DBUILD_TESTING=OFF -DTESSARON_BUILD_DATA=OFF \
      -DTESSARON_DATA_DIR="$data_dir" >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log" >&2; exit 1; }
  fi
  local t list=()
  for t in $targets; do list+=("fuzz_$t"); done
  cmake --build "$dir" --target "${list[@]}" >"$dir/build.log" 2>&1 \
    || { grep -E 'error|FAILED' "$dir/build.log" | head -40 >&2; exit 1; }
}

# A small valid data file of the expected shape, with the fixed number's row, a duplicate and a NULL.
seed_database() {
  local seed=$1/seed.dat
  [[ -f "$seed" ]] && return
  sqlite3 "$seed" "PRAGMA page_size=512;
    CREATE TABLE mobile(id INTEGER PRIMARY KEY, mobile TEXT NOT NULL UNIQUE, province TEXT, city TEXT,
                        type TEXT, pid TEXT, pcode TEXT);
    INSERT INTO mobile VALUES(1,'1390519',X'BDADCBD5',X'B3A3D6DD',X'D6D0B9FAD2C6B6AF','0519','213000');
    INSERT INTO mobile VALUES(2,'1500519','P','C','T',NULL,'213000');
    CREATE TABLE extra(x);"
}

run() {
  local name=$1 seconds=$2; shift 2
  local corpus=$dir/corpus/$name crashes=$dir/crashes/$name
  mkdir -p "$corpus" "$crashes"
  case $name in
    database_file) seed_database "$corpus" ;;
    skin_file) [[ -f "$repo/skin/GtBase.urf" ]] && cp -n "$repo/skin/GtBase.urf" "$corpus/" ;;
  esac
  export MOBILE_DAT=${MOBILE_DAT:-$data_dir/mobile.dat}
  # The saved corpus of a target joins the run once it holds a file (git keeps no empty folder).
  local saved=()
  [[ -d "$repo/fuzz/corpus/$name" ]] && saved=("$repo/fuzz/corpus/$name")
  # Exit codes pass through: 77 is a skip, anything else but 0 a finding, saved in $crashes.
  "$dir/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 -error_exitcode=1 \
    -artifact_prefix="$crashes/" "$@" "$corpus" "${saved[@]}"
}

case ${1:-} in
  build) build ;;
  run) [[ $# -ge 3 ]] || { echo "usage: $0 run TARGET SECONDS [libFuzzer options]" >&2; exit 2; }
       shift; run "$@" ;;
  all) [[ $# -ge 2 ]] || { echo "usage: $0 all SECONDS [libFuzzer options]" >&2; exit 2; }
       shift; build; status=0
       for t in $targets; do run "$t" "$@" || { rc=$?; [[ $rc -eq 77 ]] || status=1; }; done
       exit $status ;;
  *) sed -n '2,14p' "$0" >&2; exit 2 ;;
esac
