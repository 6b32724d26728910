#!/bin/sh
# Compiles the small OSM extracts and type files of this folder with mkgmap into
# the map files the tests read:
#   alpha/     family 4711: tiles 11000001-11000003, overview map, TDB, MDX, MDR, alpha.typ
#   beta/      family 4712: tiles 00120001-00120002 (draw priority 28), overview map, TDB, MDX, beta.typ
#   gmapsupp/  gmapsupp.img with both families and their type files
# Usage: build-test-data.sh SOURCE_DIR OUTPUT_DIR
# Nothing is done when OUTPUT_DIR is newer than every source.
set -eu

source_dir=$1
output_dir=$2
stamp=$output_dir/.complete

if [ -f "$stamp" ] && [ -z "$(find "$source_dir" -type f -newer "$stamp" | head -n 1)" ]; then
    exit 0
fi

if [ -n "${MKGMAP_JAR:-}" ]; then
    mkgmap() { java -jar "$MKGMAP_JAR" "$@"; }
elif [ -f /usr/share/mkgmap/mkgmap.jar ] && command -v java >/dev/null 2>&1; then
    mkgmap() { java -jar /usr/share/mkgmap/mkgmap.jar "$@"; }
elif ! command -v mkgmap >/dev/null 2>&1; then
    echo "build-test-data: mkgmap is not installed (Debian package mkgmap)" >&2
    exit 1
fi

staging=$output_dir/.staging
rm -rf "$staging"
mkdir -p "$staging"
log=$staging/mkgmap.log

run_mkgmap() {
    if ! mkgmap --max-jobs=1 "$@" >>"$log" 2>&1; then
        cat "$log" >&2
        echo "build-test-data: mkgmap failed" >&2
        exit 1
    fi
}

# A family: FID, product, name, overview number, first tile number, draw
# priority, then its OSM extracts and type file.
build_family() {
    folder=$1 fid=$2 name=$3 overview=$4 first_tile=$5 priority=$6
    shift 6
    run_mkgmap --output-dir="$staging/$folder" --family-id="$fid" --product-id=1 \
        --series-name="$name" --family-name="$name" --area-name="$name Overview" \
        --overview-mapname="$overview" --overview-mapnumber="$overview" \
        --tdbfile --index --draw-priority="$priority" \
        --mapname="$first_tile" --description="$name" "$@"
    rm -f "$staging/$folder"/ovm_*.img
}

osm=$source_dir/osm
typ=$source_dir/typ
build_family alpha 4711 "Veldra Alpha" 11000000 11000001 25 \
    "$osm/alpha-1.osm" "$osm/alpha-2.osm" "$osm/alpha-3.osm" "$typ/alpha.txt"
build_family beta 4712 "Veldra Beta" 00120000 00120001 28 \
    "$osm/beta-1.osm" "$osm/beta-2.osm" "$typ/beta.txt"

a=$staging/alpha
b=$staging/beta
run_mkgmap --output-dir="$staging/gmapsupp" --gmapsupp --product-id=1 \
    --family-id=4711 --family-name="Veldra Alpha" --series-name="Veldra Alpha" \
    "$a/11000001.img" "$a/11000002.img" "$a/11000003.img" "$a/alpha.typ" \
    --family-id=4712 --family-name="Veldra Beta" --series-name="Veldra Beta" \
    "$b/00120001.img" "$b/00120002.img" "$b/beta.typ"
find "$staging/gmapsupp" -type f ! -name gmapsupp.img -delete

for folder in alpha beta gmapsupp; do
    rm -rf "${output_dir:?}/$folder"
    mv "$staging/$folder" "$output_dir/$folder"
done
rm -rf "$staging"
touch "$stamp"
