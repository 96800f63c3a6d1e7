"""The Linux renderer's pictures of chosen frames: runs build/ombra-capture on a virtual display
and reads back its PNG files and frames.csv."""
import csv
import os
import signal
import subprocess

import numpy
from PIL import Image

REPOSITORY = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The Linux build's renderer, or the one OMBRA_CAPTURE names.
CAPTURE = os.environ.get("OMBRA_CAPTURE") or os.path.join(REPOSITORY, "build", "ombra-capture")


def read_png(path):
    """A PNG file's pixels as rows of RGB values, top row first."""
    with Image.open(path) as picture:
        return numpy.asarray(picture.convert("RGB"))


def run_in_own_group(command, cwd, timeout):
    """Runs `command` in a process group of its own and ends the whole group (xvfb-run, its Xvfb
    and the program under it) whatever happens, also on a timeout or an interruption."""
    process = subprocess.Popen(command, cwd=cwd, start_new_session=True,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    try:
        output, _ = process.communicate(timeout=timeout)
    finally:
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(process.pid, sig)
            except ProcessLookupError:
                break
        process.wait()
    return process.returncode, output


def render_linux_frames(frames, seed, folder, timeout=900):
    """Renders `frames` (60 a second, silent) with `seed` into `folder`; returns the pictures by
    frame number and the frames.csv rows by frame number."""
    out = os.path.join(folder, "linux-frames")
    command = ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", CAPTURE,
               "--frames", ",".join(str(frame) for frame in frames), "--seed", str(seed),
               "--silent", "--quiet", "--out", out]
    code, output = run_in_own_group(command, folder, timeout)
    if code != 0:
        raise AssertionError("ombra-capture failed (%d): %s" % (code, output))
    with open(os.path.join(out, "frames.csv"), newline="") as log:
        rows = {int(row["frame"]): row for row in csv.DictReader(log)}
    pictures = {frame: read_png(os.path.join(out, "frame_%06d.png" % frame)) for frame in frames}
    return pictures, rows
