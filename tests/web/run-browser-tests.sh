#!/usr/bin/env bash
# Runs the browser tests: the web build (build-web/) in headless Chromium on SwiftShader, served
# from 127.0.0.1, its frames held against the Linux renderer's (build/ombra-capture). Installs
# Chromium, chromedriver and the Python modules the tests use where they are missing, brings both
# builds up to date, and exits non-zero when any test fails. Arguments: a file pattern choosing
# the tests (test_frames.py, say), every test_*.py without one.
#
# Every process the tests start runs in one process group of their own, which is ended on the
# way out whatever happens: a Chromium, chromedriver, server or Xvfb a test failed to end with
# it does not outlive the run.
set -euo pipefail
cd "$(dirname "$0")/../.."

scripts/install-deps.sh chromium chromium-driver python3-selenium python3-numpy python3-pil \
    ffmpeg xvfb xauth
scripts/build.sh ombra-capture >/dev/null
scripts/build-web.sh >/dev/null

# Debian's Python, which holds Debian's selenium, numpy and PIL, whatever python3 PATH finds first.
export PYTHONDONTWRITEBYTECODE=1
setsid /usr/bin/python3 -u tests/web/run_tests.py "$@" &
group=$!
end_group() {
    kill -TERM -- -"$group" 2>/dev/null || true
    kill -KILL -- -"$group" 2>/dev/null || true
}
trap end_group EXIT
trap 'exit 130' INT TERM
status=0
wait "$group" || status=$?
exit "$status"
