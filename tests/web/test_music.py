"""The music the page plays and the positions `r` prints: an Ombra.mp3 beside the page, the
built-in soundtrack without one, and an MP3 dropped onto the page instead."""
import subprocess
import unittest

from demo_page import (drop_file, music_positions, press_r_for_position, start_production,
                       wait_animation_frames)
from tone_mp3 import tone_mp3
from web_page import PageTestCase

DEADLINE = 120
FRAMES_BETWEEN = 60  # animation frames between two presses of r
NOT_FOUND = "playing OMBRA's own soundtrack"


def decoded_bytes(mp3):
    """How many bytes of 16-bit samples ffmpeg decodes `mp3` to, keeping its channels."""
    decoded = subprocess.run(["ffmpeg", "-v", "error", "-nostdin", "-i", "pipe:", "-f", "s16le",
                              "pipe:"], input=mp3, capture_output=True, check=True)
    return len(decoded.stdout)


class MusicPositions(PageTestCase):
    def growing_positions(self, browser, presses=2):
        positions = []
        for _ in range(presses):
            positions.append(press_r_for_position(browser, DEADLINE))
            wait_animation_frames(browser, FRAMES_BETWEEN, DEADLINE)
        self.assertEqual(positions, sorted(set(positions)), "positions that do not grow")
        return positions

    def test_ombra_mp3_beside_the_page_plays(self):
        browser = self.open_page(overlay={"Ombra.mp3": tone_mp3(seconds=30)})
        start_production(browser, DEADLINE)
        print("\npositions with Ombra.mp3:", self.growing_positions(browser, 3))
        self.assertIn("Ombra.mp3", self.page.server.requests)
        self.assertFalse(any(NOT_FOUND in text for text in browser.console_texts()))
        self.assertEqual(browser.errors(), [])

    def test_without_ombra_mp3_the_built_in_soundtrack_plays(self):
        browser = self.open_page(overlay={"Ombra.mp3": None})
        start_production(browser, DEADLINE)
        browser.wait_for_console(lambda text: NOT_FOUND in text, DEADLINE,
                                 "the line saying Ombra.mp3 was not found")
        print("\npositions of the built-in soundtrack:", self.growing_positions(browser, 3))

    def test_a_dropped_mp3_plays_instead(self):
        # A short tone, played to its end: the position then stops at its length.
        dropped = tone_mp3(seconds=2, frequency=660)
        length = decoded_bytes(dropped) // 1000
        browser = self.open_page(overlay={"Ombra.mp3": None})
        start_production(browser, DEADLINE)
        drop_file(browser, "dropped.mp3", dropped)
        final = browser.wait_for(lambda: self._settled_at(browser, length), DEADLINE,
                                 "the position to reach the dropped MP3's end, %d" % length)
        print("\npositions after the drop:", final)

    def _settled_at(self, browser, length):
        wait_animation_frames(browser, FRAMES_BETWEEN, DEADLINE)
        position = press_r_for_position(browser, DEADLINE)
        return music_positions(browser) if position == length else None


if __name__ == "__main__":
    unittest.main()
