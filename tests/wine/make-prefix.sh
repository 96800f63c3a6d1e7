#!/usr/bin/env bash
# Makes the Wine prefix of the Windows tests, once, quiet where this machine lacks what Windows
# has: Wine's audio driver is off (without a sound card its probing prints ALSA errors), and the
# programs' DISPLAY names Windows' first display rather than the X display, which freeglut would
# take for a display device's name, fail to open and say "CreateDC failed".
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all
wine=/usr/lib/wine/wine64
[[ ! -f $WINEPREFIX/ombra-ready ]] || exit 0
rm -rf "$WINEPREFIX"
# No .NET or HTML engine to offer to install: the programs need neither.
WINEDLLOVERRIDES="mscoree,mshtml=" $wine wineboot --init
$wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f
$wine reg add 'HKCU\Environment' /v DISPLAY /d '\\.\DISPLAY1' /f
wineserver --wait
touch "$WINEPREFIX/ombra-ready"
