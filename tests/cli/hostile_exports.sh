#!/usr/bin/env bash
# Hostile and failing exports through the real program: each case checks the
# exit status, the message on standard error, and what is left on disk.
# Every run that does not write its file completely must end non-zero, say
# why, and leave an earlier file of the same name as it was.
# usage: hostile_exports.sh PATH/TO/vantrep SAMPLES_DIR
set -uo pipefail
vantrep=$(realpath "$1")
samples=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work/tmp QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR"
cd "$work"
passed=0
failed=0

# check NAME EXPECTED_STATUS MESSAGE_PATTERN -- COMMAND...
check() {
  local name=$1 want=$2 pattern=$3
  shift 4
  local status=0
  "$@" >out.txt 2>err.txt || status=$?
  if [ "$status" -ne "$want" ] || { [ -n "$pattern" ] && ! grep -qE -- "$pattern" err.txt; }; then
    echo "FAILED: $name: status $status (want $want), message: $(head -c 400 err.txt)"
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
}

# fact NAME CONDITION...: a check on what was left on disk.
fact() {
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $name"; failed=$((failed + 1)); fi
}

fresh() { rm -rf "$1"; cp -r "$samples/$2" "$1"; }

# A file the user had before, which no failed run may touch.
old() { printf 'the user'"'"'s old file\n' >"$1"; }
untouched() { [ "$(cat "$1")" = "the user's old file" ]; }

fresh summary summary
fresh detailed detailed
"$vantrep" --export good-ref.tsv summary/DATA.DBF 2>/dev/null

# Damaged and missing files.
fresh truncated summary
head -c 5000 summary/DATA.DBF >truncated/DATA.DBF
old t1.tsv
check "truncated table" 1 "is damaged" -- "$vantrep" --export t1.tsv truncated/DATA.DBF
fact "truncated table leaves the old file" untouched t1.tsv
fact "a damaged table is named in the folder the user gave" grep -q "$work/truncated/DATA.DBF" err.txt
fact "a damaged table is named once" [ "$(grep -c 'is damaged' err.txt)" -eq 1 ]
check "missing structure file" 1 "does not exist" -- "$vantrep" --export t2.tsv summary/NONE.str
fact "a missing file is named in the folder the user gave" grep -q "'$work/summary/NONE.str'" err.txt
fresh nomemo summary
rm nomemo/DATA.FPT
check "missing memo file" 1 "DATA.FPT.*does not exist" -- "$vantrep" --export t3.tsv nomemo/DATA.DBF
fact "no file after a failed run" [ ! -e t2.tsv ] && [ ! -e t3.tsv ]

# Fixed-format report numbers the program does not know.
for suffix in 3 x 0 -1 ""; do
  check "fixed report \"$suffix\"" 1 "There is no fixed-format report" -- \
    "$vantrep" --export fixed.pdf "detailed/DATA.DBF,$suffix"
done
fact "no PDF after an unknown fixed report" [ ! -e fixed.pdf ]
check "fixed report as text" 2 "written as a PDF" -- "$vantrep" --export fixed.tsv detailed/DATA.DBF,1
check "fixed report 2" 0 "" -- "$vantrep" --export fixed.pdf detailed/DATA.DBF,2
fact "fixed report 2 is a PDF" grep -q '^%PDF' fixed.pdf

# Folders given for files.
check "folder with a slash" 1 "is a folder" -- "$vantrep" --export f.tsv summary/
check "folder by its full path" 1 "is a folder" -- "$vantrep" --export f.tsv "$work/summary"

# Write errors: a full disk and a file-size limit.
ln -s /dev/full full.tsv
check "full disk, text" 1 "No space left on device" -- "$vantrep" --export full.tsv summary/DATA.DBF
ln -s /dev/full full.pdf
check "full disk, PDF" 1 "No space left on device" -- "$vantrep" --export full.pdf summary/DATA.DBF
fact "the device is still a device" [ -c /dev/full ]
fact "the links are still links" [ -L full.tsv ] && [ -L full.pdf ]
old limited.tsv
check "file-size limit" 1 "Cannot write|error" -- bash -c "ulimit -f 40; exec \"$vantrep\" --export limited.tsv summary/DATA.DBF"
fact "file-size limit leaves the old file" untouched limited.tsv
fact "no half file is left beside it" [ -z "$(ls -A | grep '^\.limited')" ]

# A dimension value the cross-tab cannot carry.
fresh comma summary
/usr/bin/python3 - comma/DATA.DBF <<'PY'
import sys
# Rewrites the first MEDIA value in place as "TV, RADIO" (the field is 10 wide).
data = bytearray(open(sys.argv[1], 'rb').read())
header_len = int.from_bytes(data[8:10], 'little')
offset, pos = 1, 32
while data[pos] != 0x0D:
    name = data[pos:pos + 11].split(b'\0')[0].decode()
    width = data[pos + 16]
    if name == 'MEDIA':
        data[header_len + offset:header_len + offset + width] = b'TV, RADIO'.ljust(width)
        break
    offset += width
    pos += 32
open(sys.argv[1], 'wb').write(data)
PY
old c.tsv
check "dimension value with a comma" 1 "Dimension unfit for column" -- "$vantrep" --export c.tsv comma/DATA.DBF
fact "the refused report leaves the old file" untouched c.tsv

# The working copy: never copied into itself, links copied as links, the
# folder's permissions kept. copies_in TMP: the report copies left there.
copies_in() { find "$1" -mindepth 2 -maxdepth 2 -path '*/VantRepTempFolder*/rad*' -type d; }
no_copy_of_itself() { [ -z "$(find "$1" -path '*VantRepTempFolder*VantRepTempFolder*' -print -quit)" ]; }
mkdir -p straight
cp summary/* straight/
check "report straight in the temporary folder" 0 "" -- env TMPDIR="$work/straight" \
  "$vantrep" --export straight.tsv "$work/straight/DATA.DBF"
fact "the working copy holds no copy of itself" no_copy_of_itself straight
fact "the report straight in the temporary folder exports as the sample" cmp -s straight.tsv good-ref.tsv
fresh holder summary
mkdir -p holder/tmp
check "report folder holding the temporary folder" 0 "" -- env TMPDIR="$work/holder/tmp" \
  "$vantrep" --export holder.tsv holder/DATA.DBF
fact "the copy under the report holds no copy of itself" no_copy_of_itself holder
fact "the report holding the temporary folder exports as the sample" cmp -s holder.tsv good-ref.tsv
mkdir -p outside linkcopy
printf 'not part of the report\n' >outside/big.bin
fresh linked detailed
ln -s "$work/outside" linked/linked-folder
ln -s "$work/gone.jpg" linked/clips/dangling.jpg
chmod 700 linked
check "dangling link and linked folder" 0 "" -- env TMPDIR="$work/linkcopy" "$vantrep" --export linked.tsv linked/DATA.DBF
copy=$(copies_in linkcopy)
fact "one working copy of the linked report" [ -n "$copy" ] && [ "$(echo "$copy" | wc -l)" -eq 1 ]
fact "a linked folder is copied as a link" [ -L "$copy/linked-folder" ]
fact "a dangling link is copied as a link" [ -L "$copy/clips/dangling.jpg" ]
fact "the working copy keeps the folder's permissions" [ "$(stat -c %a "$copy")" = 700 ]

# An export into a hand-over folder would go with the folder: refused first.
fresh handed summary
touch handed/.vantrep-handover
check "export into the hand-over folder" 2 "hand-over folder" -- "$vantrep" --export handed/out.tsv handed/DATA.DBF
fact "nothing written into the hand-over folder" [ ! -e handed/out.tsv ]
check "export beside the hand-over folder" 0 "" -- "$vantrep" --export handed.tsv handed/DATA.DBF
fact "the hand-over folder is removed, the export beside it kept" [ ! -e handed ] && [ -s handed.tsv ]

# Hostile structure files. set_field FILE FNAME COLUMN VALUE: rewrites
# COLUMN of the structure row of field FNAME in place (VALUE fitted to the
# column's width).
set_field() {
  /usr/bin/python3 - "$@" <<'PY'
import sys
path, key, column, value = sys.argv[1:]
data = bytearray(open(path, 'rb').read())
header_len = int.from_bytes(data[8:10], 'little')
record_len = int.from_bytes(data[10:12], 'little')
count = int.from_bytes(data[4:8], 'little')
fields, offset, pos = {}, 1, 32
while data[pos] != 0x0D:
    name = data[pos:pos + 11].split(b'\0')[0].decode()
    fields[name] = (offset, data[pos + 16], chr(data[pos + 11]))
    offset += data[pos + 16]
    pos += 32
for r in range(count):
    start = header_len + r * record_len
    o, w, _ = fields['FNAME']
    if data[start + o:start + o + w].decode().strip() == key:
        o, w, t = fields[column]
        text = value.encode()[:w]
        data[start + o:start + o + w] = text.rjust(w) if t == 'N' else text.ljust(w)
open(path, 'wb').write(data)
PY
}
fresh injected summary
set_field injected/Brand_Spends.str BRAND FNAME "BRAND) OR (1=1"  # cut to the column's 10 places
check "structure field name that is no name" 1 'names the field "BRAND\) OR"' -- \
  "$vantrep" --export injected.tsv injected/DATA.DBF
fresh blankname detailed
set_field blankname/Spot_Listing.dtr CHANNEL FNAME ""
check "blank structure field name" 1 'names the field ""' -- "$vantrep" --export blank.tsv blankname/DATA.DBF
fact "no file after a refused structure" [ ! -e injected.tsv ] && [ ! -e blank.tsv ]
"$vantrep" --export detailed-ref.tsv detailed/DATA.DBF 2>/dev/null
fresh negative detailed
set_field negative/Spot_Listing.dtr BRAND DIVISOR -1
check "negative column order" 0 "" -- "$vantrep" --export negative.tsv negative/DATA.DBF
fact "a negative column order keeps every column" \
  [ "$(head -1 negative.tsv | awk -F'\t' '{print NF}')" -eq "$(head -1 detailed-ref.tsv | awk -F'\t' '{print NF}')" ]
fact "a negative column order keeps every subtotal" [ "$(wc -l <negative.tsv)" -eq "$(wc -l <detailed-ref.tsv)" ]
fresh deep detailed
set_field deep/Spot_Listing.dtr SPEND LEVEL 99
check "subtotal level beyond the columns" 0 'subtotal level 99, beyond' -- "$vantrep" --export deep.tsv deep/DATA.DBF
fact "a level beyond the columns changes nothing else" cmp -s deep.tsv detailed-ref.tsv
fresh nothingshown detailed
for f in MEDIA CHANNEL BRAND DATE TIME AD_TYPE AD_DESC LANGUAGE DURATION SPOTS SPEND; do
  set_field nothingshown/Spot_Listing.dtr $f DISPLAYED F
done
check "listing without a displayed field" 1 "displays no field" -- "$vantrep" --export none.tsv nothingshown/DATA.DBF
fact "no file for a listing without columns" [ ! -e none.tsv ]
fresh decimals summary
set_field decimals/Brand_Spends.str SPEND FDEC 99
check "decimals beyond the width" 0 'asks for 99 decimals' -- "$vantrep" --export decimals.tsv decimals/DATA.DBF
fact "decimals are cut to the width" [ -z "$(grep -E '[0-9]\.[0-9]{11}' decimals.tsv)" ]
fresh nolevel summary
set_field nolevel/Brand_Spends.str SPEND LEVEL 0
check "no variable of level 1" 1 "has level 1" -- "$vantrep" --export nolevel.tsv nolevel/DATA.DBF
fact "no file for a summary without values" [ ! -e nolevel.tsv ]

# A good run after all this still works and replaces an old file.
old good.tsv
check "good export" 0 "" -- "$vantrep" --export good.tsv summary/DATA.DBF
fact "the good export replaced the old file" grep -q "Media" good.tsv

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
