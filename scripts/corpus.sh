#!/bin/sh
# Assembles the real DICOM sample corpus that the tests read, from the same
# Debian packages it was taken from, when the shared copy beside the
# repository is not there. Usage: scripts/corpus.sh <target folder>
set -eu
TARGET="$1"
if [ -f "$TARGET/.complete" ]; then
    exit 0
fi
rm -rf "$TARGET"
mkdir -p "$TARGET/pydicom" "$TARGET/octave-dicom"

PYDICOM_DATA=/usr/lib/python3/dist-packages/pydicom/data
for sub in test_files charset_files palettes; do
    cp -r "$PYDICOM_DATA/$sub" "$TARGET/pydicom/$sub"
done
# The package carries a few files the shared corpus does not; keep the two alike.
for extra in SC_jpeg_no_color_transform_2.dcm rtplan.dump rtstruct.dump test1.json test_PN.json; do
    rm -f "$TARGET/pydicom/test_files/$extra"
done

WORK=$(mktemp -d)
SUDO=""
if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
if ! (cd "$WORK" && apt-get download -qq octave-dicom 2>/dev/null); then
    $SUDO apt-get update -qq
    (cd "$WORK" && apt-get download -qq octave-dicom 2>/dev/null)
fi
(cd "$WORK" && dpkg -x octave-dicom_*.deb x)
cp "$WORK"/x/usr/share/octave/packages/dicom-*/imdata/*.dcm "$TARGET/octave-dicom/"
rm -rf "$WORK"
cp "$(dirname "$0")/../tests/data/corpus/manifest.tsv" "$TARGET/manifest.tsv"
touch "$TARGET/.complete"
