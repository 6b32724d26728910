#!/bin/sh
# Builds the fuzz targets (preset "fuzz", clang) and runs each for a short while
# (FUZZ_SECONDS, default 20), seeded with the mkgmap test data and the
# regression inputs. A crash stops the run; its input is left in
# build/fuzz/artifacts/ and belongs in fuzz/regressions/<target>/ once fixed.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-20}
build=$root/build/fuzz
targets="fuzz_tdb_walks fuzz_tdb_rename fuzz_tre_search fuzz_mdx_typ fuzz_wine_registry_file fuzz_img_container
         fuzz_mps_records fuzz_shell_link fuzz_info_xml"

cd "$root"
cmake --preset fuzz >/dev/null
# shellcheck disable=SC2086
cmake --build --preset fuzz -j 2 --target $targets

seeds=$build/seed-data
sh "$root/tests/data/build-test-data.sh" "$root/tests/data" "$seeds"

mkdir -p "$build/artifacts"
for target in $targets; do
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    case $target in
        fuzz_tdb_walks) cp "$seeds"/alpha/*.tdb "$seeds"/beta/*.tdb "$corpus"/ ;;
        fuzz_tdb_rename)
            # One byte of name length, the name, then the TDB.
            for tdb in "$seeds"/alpha/*.tdb "$seeds"/beta/*.tdb; do
                { printf '\005Gamma'; cat "$tdb"; } >"$corpus/$(basename "$tdb")"
            done ;;
        fuzz_tre_search)
            # One byte of XOR key, then the file.
            for img in "$seeds"/alpha/11000001.img "$seeds"/beta/00120001.img; do
                { printf '\000'; cat "$img"; } >"$corpus/$(basename "$img")"
            done ;;
        fuzz_mdx_typ) cp "$seeds"/alpha/*.mdx "$seeds"/alpha/*.typ "$corpus"/ ;;
        fuzz_img_container) cp "$seeds"/alpha/*.img "$seeds"/gmapsupp/gmapsupp.img "$corpus"/ ;;
        fuzz_mps_records) printf 'F\021\000\001\000\147\022Veldra Alpha\000V\003\000x\000\000' >"$corpus/family" ;;
    esac
    echo "== $target: $seconds s"
    regressions=$root/fuzz/regressions/$target
    [ -d "$regressions" ] || regressions=
    # shellcheck disable=SC2086
    "$build/fuzz/$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$corpus" $regressions
done
