#!/usr/bin/env bash
# Exports of a large listing through the real program under a memory limit:
# a run that cannot hold the report's rows ends with the not-enough-memory
# message naming them and a non-zero status, writes nothing, and never
# aborts; a run that holds them but cannot make the export file says that
# the file could not be written, the same way; the same run with memory to
# spare writes the file.
# usage: out_of_memory.sh PATH/TO/vantrep PATH/TO/make_sample_reports
set -uo pipefail
vantrep=$(realpath "$1")
make_reports=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work/tmp QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR"
cd "$work"
failed=0
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }

# A listing of 150,000 records: a few hundred MB for the program to show.
"$make_reports" "$work/reports" 150000 5 >/dev/null || { echo "cannot make the report folders"; exit 1; }
listing=$work/reports/detailed/Spot_Listing.dtr

# Address-space limits from too small to read the table to enough for the
# whole listing. Every run either writes the file and ends with 0, or writes
# nothing, says why and ends with 1; it never aborts. Somewhere between, the
# report does not fit: the not-enough-memory message says so, naming the rows
# when the query ran. (The grid of this listing now takes less than the
# sorted query, so the runs that fail may all fail before the rows are known.)
told_rows=0
first_pass=0  # the smallest limit the listing was shown and written under
for mb in $(seq 260 10 560); do
  status=0
  ( ulimit -v $((mb * 1024)) && exec "$vantrep" --export limited.tsv "$listing" ) >out.txt 2>err.txt || status=$?
  if [ "$status" -eq 0 ]; then
    [ -s limited.tsv ] || fail "$mb MB: status 0 without the file"
    rm -f limited.tsv
    [ "$first_pass" -eq 0 ] && first_pass=$mb
    continue
  fi
  [ "$status" -eq 1 ] || fail "$mb MB: status $status (want 0 or 1): $(head -c 400 err.txt)"
  [ -s err.txt ] || fail "$mb MB: status 1 without a message"
  grep -qi "bad_alloc\|terminate" err.txt && fail "$mb MB: the program aborted: $(head -c 400 err.txt)"
  ls -A | grep -q "limited" && fail "$mb MB: a file was left: $(ls -A)"
  grep -q "not enough memory to show .* of this report" err.txt && told_rows=1
  grep -q "to show [0-9]* rows" err.txt && ! grep -q "to show 150000 rows" err.txt &&
    fail "$mb MB: the message names the wrong number of rows: $(head -c 400 err.txt)"
done
[ "$told_rows" -eq 1 ] || fail "no limit gave the not-enough-memory message"

# The PDF of the listing (its pages made in memory) needs a few hundred MB
# more than showing the rows: a little above the smallest limit that showed
# them, the rows fit and the file does not.
if [ "$first_pass" -eq 0 ]; then
  fail "no limit up to 560 MB let the listing be written"
else
  # How much a run takes varies by a few tens of MB (the threads' heaps), so
  # a few limits above it are tried: each ends with 1 and leaves nothing, and
  # at least one gets past the rows to the file.
  told_file=0
  for mb in $((first_pass + 40)) $((first_pass + 80)) $((first_pass + 120)); do
    status=0
    ( ulimit -v $((mb * 1024)) && exec "$vantrep" --export limited.pdf "$listing" ) >out.txt 2>err.txt || status=$?
    [ "$status" -eq 1 ] || fail "PDF at $mb MB: status $status (want 1): $(head -c 400 err.txt)"
    grep -qi "bad_alloc\|terminate" err.txt && fail "PDF at $mb MB: the program aborted: $(head -c 400 err.txt)"
    grep -q "There is not enough memory to write \"limited.pdf\"" err.txt && told_file=1
    ls -A | grep -q "limited" && fail "PDF at $mb MB: a file was left: $(ls -A)"
    ls -A "$TMPDIR" | grep -q "limited" && fail "PDF at $mb MB: a file was left in $TMPDIR: $(ls -A "$TMPDIR")"
  done
  [ "$told_file" -eq 1 ] || fail "no limit above the rows gave the not-enough-memory message naming the PDF"
fi

status=0
"$vantrep" --export full.tsv "$listing" >out.txt 2>err.txt || status=$?
[ "$status" -eq 0 ] || fail "without a limit: status $status, message: $(head -c 400 err.txt)"
lines=$(wc -l <full.tsv 2>/dev/null || echo 0)
[ "$lines" -gt 150000 ] || fail "without a limit: $lines lines for 150000 records"

if [ "$failed" -gt 0 ]; then exit 1; fi
echo "out of memory: all checks passed"
