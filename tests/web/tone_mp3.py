"""A short MP3 made at test time from a generated tone, for a soundtrack the page plays."""
import os
import subprocess
import tempfile


def tone_mp3(seconds=30, frequency=440):
    """The bytes of a stereo 44.1 kHz MP3 of a sine tone, encoded by lame."""
    with tempfile.TemporaryDirectory(prefix="ombra-tone-") as folder:
        path = os.path.join(folder, "tone.mp3")
        subprocess.run(["ffmpeg", "-v", "error", "-nostdin", "-f", "lavfi", "-i",
                        "sine=frequency=%d:sample_rate=44100:duration=%d" % (frequency, seconds),
                        "-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k", path], check=True)
        with open(path, "rb") as file:
            return file.read()
