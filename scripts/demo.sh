#!/usr/bin/env bash
# Runs the installer on the sample distribution in a private Wine prefix and prints what happened.
# Options for the installer can be given in DEMO_ARGS (for example DEMO_ARGS="/silent").
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
"$OV_ROOT/scripts/make-prefix.sh" || exit 1
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
source "$OV_ROOT/scripts/with-display.sh"

export WINEPREFIX=$OV_WINE/demo
cleanup() { wineserver -k 2>/dev/null; ov_stop_display; }
trap cleanup EXIT

wineserver -k 2>/dev/null
rm -rf "$WINEPREFIX"
cp -a "$OV_TEMPLATE" "$WINEPREFIX"
dist="$WINEPREFIX/drive_c/Aurora Hall Distribution"
cp -r "$OV_BUILD/sample-dist" "$dist"
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

echo "Running C:\\Aurora Hall Distribution\\Setup.exe ${DEMO_ARGS:-}"
# shellcheck disable=SC2086
wine "C:\\Aurora Hall Distribution\\Setup.exe" ${DEMO_ARGS:-} </dev/null >/dev/null 2>&1 &
setup=$!
shot="$OV_BUILD/demo-screenshot.png"
limit=${DEMO_TIMEOUT:-120}
for ((i = 0; i < limit * 10; i++)); do
  kill -0 $setup 2>/dev/null || break
  if [ $headless = 1 ] && [ $i = 30 ]; then import -window root "$shot" 2>/dev/null && echo "Screenshot: $shot"; fi
  sleep 0.1
done
if kill -0 $setup 2>/dev/null; then
  [ $headless = 1 ] && import -window root "$shot" 2>/dev/null && echo "Screenshot: $shot"
  echo "The installer is still running after ${limit} s (waiting for input?); stopping it."
  wineserver -k
fi
wait $setup
rc=$?
echo "Exit code: $rc"

log=$(ls "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/"Orvane Install Wizard.log" \
         "$WINEPREFIX"/drive_c/users/*/Temp/"Orvane Install Wizard.log" 2>/dev/null | head -1)
if [ -n "$log" ]; then
  echo "Log ($log), last lines:"
  tail -n 25 "$log" | sed 's/^/  /'
else
  echo "No log was written."
fi
exit 0
