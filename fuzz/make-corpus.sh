#!/bin/sh
# Seeds every fuzz target's corpus from the mkgmap-made test data and small
# inputs made here: registry files (with a key path deeper than any allowed
# and a line of 256 KiB), package descriptions, shell links (the samples of
# the tests), paths; and from the journals kept in fuzz/seeds/. Files already
# there stay; seeds of the same name are replaced.
# Usage: make-corpus.sh SEED_DATA CORPUS_ROOT   (SEED_DATA: build-test-data.sh's output)
set -eu

seeds=$1
corpus=$2
root=$(cd "$(dirname "$0")/.." && pwd)

into() { mkdir -p "$corpus/$1" && echo "$corpus/$1"; }

dir=$(into fuzz_tdb_walks)
cp "$seeds"/alpha/*.tdb "$seeds"/beta/*.tdb "$dir"/
# One byte of name length, the name, then the TDB.
dir=$(into fuzz_tdb_rename)
for tdb in "$seeds"/alpha/*.tdb "$seeds"/beta/*.tdb; do
    { printf '\005Gamma'; cat "$tdb"; } >"$dir/$(basename "$tdb")"
done
# One byte of XOR key, then the file.
dir=$(into fuzz_tre_search)
for img in "$seeds"/alpha/11000001.img "$seeds"/beta/00120001.img; do
    { printf '\000'; cat "$img"; } >"$dir/$(basename "$img")"
done
dir=$(into fuzz_mdx_typ)
cp "$seeds"/alpha/*.mdx "$seeds"/beta/*.mdx "$seeds"/alpha/*.typ "$seeds"/beta/*.typ "$dir"/
dir=$(into fuzz_img_container)
cp "$seeds"/alpha/*.img "$seeds"/beta/*.img "$seeds"/gmapsupp/gmapsupp.img "$dir"/
dir=$(into fuzz_mps_records)
printf 'F\021\000\001\000\147\022Veldra Alpha\000V\003\000x\000\000' >"$dir/family"

dir=$(into fuzz_wine_registry_file)
mapset_keys() {
    printf 'WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n'
    for branch in 'Software\\Garmin' 'Software\\Wow6432Node\\Garmin'; do
        printf '[%s\\\\MapSource\\\\Families\\\\Veldra Alpha] 1733407562\n#time=1db47a0c6e0f000\n' "$branch"
        printf '"ID"=hex:67,12\n"TYP"="C:\\\\Maps\\\\alpha.typ"\n\n'
        printf '[%s\\\\MapSource\\\\Families\\\\Veldra Alpha\\\\1] 1733407562\n' "$branch"
        printf '"BMAP"="C:\\\\Maps\\\\11000000.img"\n"LOC"="C:\\\\Maps\\\\"\n"TDB"="C:\\\\Maps\\\\11000000.tdb"\n\n'
    done
}
mapset_keys >"$dir/mapset.reg"
{
    printf 'WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n['
    awk 'BEGIN { for (i = 0; i < 600; i++) printf "k%d\\\\", i; }'
    printf 'leaf] 1733407562\n@="deep"\n'
} >"$dir/deep-key.reg"
{
    mapset_keys
    printf '[Software\\\\Long] 1733407562\n"Line"="'
    awk 'BEGIN { for (i = 0; i < 16384; i++) printf "0123456789abcdef"; }'
    printf '"\n"Continued"=hex:'
    awk 'BEGIN { for (i = 0; i < 1000; i++) printf "00,01,02,03,04,05,06,07,\\\n  "; }'
    printf '08\n'
} >"$dir/long-lines.reg"

dir=$(into fuzz_info_xml)
printf '<?xml version="1.0" encoding="UTF-8" standalone="no" ?>\r\n<MapProduct xmlns="http://www.garmin.com/xmlschemas/MapProduct/v1">\r\n<Name>Veldra Alpha</Name>\r\n<DataVersion>100</DataVersion>\r\n<DataFormat>Original</DataFormat>\r\n<ID>4711</ID>\r\n<IDX>11000000.mdx</IDX>\r\n<MDR>MDRMAP</MDR>\r\n<TYP>alpha.typ</TYP>\r\n<SubProduct>\r\n<Name>Veldra Alpha</Name>\r\n<ID>1</ID>\r\n<BaseMap>mapset</BaseMap>\r\n<TDB>11000000.tdb</TDB>\r\n<Directory>Product1</Directory>\r\n</SubProduct>\r\n</MapProduct>\r\n' >"$dir/Info.xml"

# The byte arrays of the tests' link samples, one file each.
dir=$(into fuzz_shell_link)
LC_ALL=C awk -v dir="$dir" '
    function byte(text,    digits) { digits = "0123456789ABCDEF"; text = toupper(text);
        return (index(digits, substr(text, 3, 1)) - 1) * 16 + index(digits, substr(text, 4, 1)) - 1 }
    /inline const std::vector<std::uint8_t> [A-Za-z]+ = \{/ { name = $4; file = dir "/" name ".lnk"; printf "" > file; next }
    name != "" && /\};/ { close(file); name = ""; next }
    name != "" { for (i = 1; i <= NF; i++) if ($i ~ /^0x/) printf "%c", byte($i) > file }
' "$root/tests/platform/ShellLinkSamples.h"

# Journals that `fid` left when killed (a registry family's, a package's): no
# generator here makes them.
dir=$(into fuzz_change_journal)
cp "$root"/fuzz/seeds/fuzz_change_journal/* "$dir"/

dir=$(into fuzz_confined_path)
printf 'Product1\\11000000.tdb' >"$dir/inside"
printf '..\\Other.gmap\\Info.xml' >"$dir/outside"
printf 'C:\\ProgramData\\GARMIN\\Maps\\Alpha.gmap' >"$dir/drive"
