#!/usr/bin/env bash
# Creates the template Wine prefix that every test run copies (once; later calls return at once).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

[ -f "$OV_TEMPLATE/.ready" ] && exit 0
rm -rf "$OV_TEMPLATE"
mkdir -p "$OV_WINE"
export WINEPREFIX=$OV_TEMPLATE
echo "Creating the Wine prefix $OV_TEMPLATE"
wineboot -i </dev/null >/dev/null 2>&1
# Without a window manager every hide/destroy waits about 2 s unless windows are unmanaged.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
wineserver -w
touch "$OV_TEMPLATE/.ready"
