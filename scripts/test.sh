#!/usr/bin/env bash
# Runs the whole test suite under Wine in Xvfb; stops every process it started.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
"$OV_ROOT/scripts/make-prefix.sh" || exit 1
source "$OV_ROOT/scripts/with-display.sh"

unit_prefix=$OV_WINE/unit
cleanup() {
  WINEPREFIX=$unit_prefix wineserver -k 2>/dev/null
  ov_stop_display
}
trap cleanup EXIT

# A fresh copy of the template for the unit tests of this run.
WINEPREFIX=$unit_prefix wineserver -k 2>/dev/null
rm -rf "$unit_prefix"
cp -a "$OV_TEMPLATE" "$unit_prefix"

start=$(date +%s)
cd "$OV_BUILD" && ctest --output-on-failure -j "${OV_TEST_JOBS:-2}" "$@"
rc=$?
echo "Test suite took $(( $(date +%s) - start )) s"
exit $rc
