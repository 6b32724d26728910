#!/bin/sh
# Builds the fuzz targets (preset "fuzz", clang; FUZZ_BUILD names another
# build folder) and runs each for a short while (FUZZ_SECONDS each, default
# 20; or FUZZ_TOTAL_SECONDS shared by all) with its dictionary, inputs up to
# 1 MiB, its corpus (seeded by make-corpus.sh, kept and grown from run to run)
# and the regression inputs. A crash stops the run; its input is left in
# <build>/artifacts/ and belongs in fuzz/regressions/<target>/ once fixed.
# Prints each target's figures at the end.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build/fuzz}
targets="fuzz_tdb_walks fuzz_tdb_rename fuzz_tre_search fuzz_mdx_typ fuzz_wine_registry_file fuzz_img_container
         fuzz_mps_records fuzz_shell_link fuzz_info_xml fuzz_confined_path fuzz_change_journal"
count=$(echo "$targets" | wc -w)
seconds=${FUZZ_SECONDS:-20}
[ -z "${FUZZ_TOTAL_SECONDS:-}" ] || seconds=$((FUZZ_TOTAL_SECONDS / count))

cd "$root"
cmake --preset fuzz -B "$build" >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j 2 --target $targets

seeds=$build/seed-data
sh "$root/tests/data/build-test-data.sh" "$root/tests/data" "$seeds"
sh "$root/fuzz/make-corpus.sh" "$seeds" "$build/corpus"

mkdir -p "$build/artifacts" "$build/logs"
for target in $targets; do
    echo "== $target: $seconds s"
    regressions=$root/fuzz/regressions/$target
    [ -d "$regressions" ] || regressions=
    rm -f "$build/artifacts/$target-"*
    # shellcheck disable=SC2086
    "$build/fuzz/$target" -max_total_time="$seconds" -max_len=1048576 -timeout=30 -rss_limit_mb=4096 \
        -print_final_stats=1 -dict="$root/fuzz/dict/$target.dict" -artifact_prefix="$build/artifacts/$target-" \
        "$build/corpus/$target" $regressions 2>&1 | tee "$build/logs/$target.log" | grep -E "^(#[0-9]+[[:space:]]+DONE|==[0-9]+==|SUMMARY)" || true
    # tee hides the fuzzer's status: a fault leaves an artifact (slow units are only noted).
    faults=$(ls "$build/artifacts/$target-"crash-* "$build/artifacts/$target-"leak-* \
        "$build/artifacts/$target-"timeout-* "$build/artifacts/$target-"oom-* 2>/dev/null || true)
    if [ -n "$faults" ]; then
        echo "$target found a fault: $faults" >&2
        exit 1
    fi
done

echo "target | seconds | runs | coverage | features | corpus (files) | corpus (bytes)"
for target in $targets; do
    log=$build/logs/$target.log
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
    cov=$(echo "$done_line" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
    ft=$(echo "$done_line" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
    files=$(find "$build/corpus/$target" -type f | wc -l)
    bytes=$(du -sb "$build/corpus/$target" | cut -f1)
    echo "$target | $seconds | $runs | $cov | $ft | $files | $bytes"
done
