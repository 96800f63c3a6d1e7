#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds OMBRA for Linux, Windows and the browser and its
# release archives, and runs every test under a virtual X display, the Windows programs under Wine.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build-windows.sh # first, so that configuring build/ finds the Windows programs to test
scripts/build.sh
scripts/build-sanitized.sh
scripts/build-web.sh
scripts/release.sh
scripts/check-format.sh
scripts/check-layers.sh
# Tests never need a sound card: OpenAL's null output plays in real time where a test wants it.
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
xvfb-run -a -s "-screen 0 1024x768x24" \
    ctest --test-dir build --output-on-failure -j"$(nproc)"
# The browser build in headless Chromium, its frames against the Linux renderer's; it starts its
# own virtual displays.
tests/web/run-browser-tests.sh
# A minute of fuzzing the soundtrack reader with bytes of every kind (scripts/fuzz.sh).
scripts/fuzz.sh 60
xvfb-run -a -s "-screen 0 1024x768x24" tests/release/check-release.sh
