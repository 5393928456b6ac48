#!/usr/bin/env bash
# Seeds for the fuzz targets of zips, volumes and self-extractors, made by real tools:
# Info-ZIP's zip (plain, stored, commented, zip64, split into volumes) and the
# program's own self-extractor writer in front of the program's stub.
#   scripts/fuzz-seeds.sh FUZZ_BUILD [REAL_STUB]
# The seeds land in FUZZ_BUILD/seeds/TARGET/. Most self-extractors get a small program
# as their stub (the writer puts whatever it is given in front), as every fuzz input is
# written out whole; one gets the real stub when it has been built.
set -euo pipefail
build=$(realpath "$1")
real=$(realpath -m "${2:-build/src/ZIPSFX.BIN}")
stub=/usr/bin/true
seeds="$build/seeds"
work=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-seeds-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$seeds"/{fuzz_sfx_archive,fuzz_sfx_writer,fuzz_zip_volumes}

cd "$work"
mkdir -p files/sub
printf 'hello\n' > files/hello.txt
printf 'line %s\n' $(seq 1 200) > files/sub/lines.txt
head -c 3000 /dev/urandom > files/sub/noise.bin
ln -s hello.txt files/link
head -c 150000 /dev/urandom > big.bin

zip -q -r -y plain.zip files
zip -q -r -0 stored.zip files
zip -q -r -z commented.zip files <<< "a comment that is not a record"
zip -q -fz zip64.zip files/hello.txt files/sub/lines.txt
zip -q -s 64k -0 split.zip big.bin files/hello.txt
for zip in plain stored commented zip64; do
  cp "$zip.zip" "$seeds/fuzz_sfx_writer/"
  "$build/fuzz/make_sfx_seed" "$stub" "$zip.zip" "$zip.sfx"
  cp "$zip.sfx" "$seeds/fuzz_sfx_archive/"
done
cp plain.sfx "$seeds/fuzz_sfx_writer/"   # an archive with bytes in front
if [ -f "$real" ]; then
  "$build/fuzz/make_sfx_seed" "$real" plain.zip "$seeds/fuzz_sfx_archive/real-stub.sfx"
fi
cp plain.zip "$seeds/fuzz_sfx_archive/"

# Volumes as one input: each but the last behind its 4-byte little-endian length.
pack() {
  local out=$1; shift
  python3 - "$out" "$@" <<'PY'
import struct, sys
out, *volumes = sys.argv[1:]
with open(out, 'wb') as f:
    for i, name in enumerate(volumes):
        data = open(name, 'rb').read()
        if i < len(volumes) - 1:
            f.write(struct.pack('<I', len(data)))
        f.write(data)
PY
}
pack "$seeds/fuzz_zip_volumes/split" split.z0* split.zip
pack "$seeds/fuzz_zip_volumes/single" plain.zip
echo "seeds in $seeds"
