# Sourced by the scripts: the Wine environment every run uses.
# OV_ROOT is the repository, OV_BUILD the build folder, OV_WINE the folder of the prefixes.
OV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OV_BUILD=${OV_BUILD:-$OV_ROOT/build}
OV_WINE=${OV_WINE:-$OV_BUILD/wine}
OV_TEMPLATE=$OV_WINE/template

export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The prefix's Desktop and Documents folders link to $HOME: keep that inside the sandbox.
export HOME=$OV_WINE/home
mkdir -p "$HOME"
