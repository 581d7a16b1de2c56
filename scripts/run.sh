#!/usr/bin/env bash
# Sets up, builds and runs VantRep on the shipped sample report.
# Sample report folders to open: samples/summary/DATA.DBF, samples/detailed/Spot_Listing.dtr (bench/README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
build/src/app/vantrep-sql samples/engine \
  "SELECT MEDIA, MONTH, ROUND(SUM(SPEND),0) AS SPEND FROM DATA.DBF WHERE 1=1  group by 1 ,2 order by 1 ,2"
