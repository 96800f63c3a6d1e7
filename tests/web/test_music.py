"""The music the page plays, told by the positions `r` prints: an Ombra.mp3 beside the page, the
built-in soundtrack without one, and an MP3 dropped onto the start screen instead. A short MP3
played to its end leaves the position at its decoded length, which ffmpeg tells independently."""
import subprocess
import tempfile
import unittest

from demo_page import (drop_file, page_text, press_r_for_position, start_production,
                       wait_animation_frames)
from tone_mp3 import tone_mp3
from web_page import PageTestCase

DEADLINE = 120
FRAMES_BETWEEN = 60  # animation frames between two presses of r
NOT_FOUND = "playing OMBRA's own soundtrack"


def decoded_thousands(mp3):
    """The thousands of bytes of 16-bit samples, its channels kept, that ffmpeg decodes `mp3` to
    (from a file, where it reads the encoder's note of the padding to leave out)."""
    with tempfile.NamedTemporaryFile(suffix=".mp3") as file:
        file.write(mp3)
        file.flush()
        decoded = subprocess.run(["ffmpeg", "-v", "error", "-nostdin", "-i", file.name, "-f",
                                  "s16le", "pipe:"], capture_output=True, check=True)
    return len(decoded.stdout) // 1000


class MusicPositions(PageTestCase):
    def growing_positions(self, browser, presses):
        positions = []
        for _ in range(presses):
            positions.append(press_r_for_position(browser, DEADLINE))
            wait_animation_frames(browser, FRAMES_BETWEEN)
        self.assertEqual(positions, sorted(set(positions)), "positions that do not grow")
        return positions

    def position_reaching(self, browser, end):
        """Presses r, frames apart, until the position is `end`; returns the positions."""
        positions = []

        def at_end():
            wait_animation_frames(browser, FRAMES_BETWEEN)
            positions.append(press_r_for_position(browser, DEADLINE))
            return positions[-1] == end

        browser.wait_for(at_end, DEADLINE, "the position to reach the end, %d" % end)
        self.assertEqual(positions, sorted(positions), "positions that go back")
        return positions

    def test_ombra_mp3_beside_the_page_plays_to_its_end(self):
        mp3 = tone_mp3(seconds=8)
        browser = self.open_page(overlay={"Ombra.mp3": mp3})
        browser.wait_for(lambda: "Plays to Ombra.mp3." in page_text(browser), DEADLINE,
                         "the start screen naming Ombra.mp3")
        start_production(browser, DEADLINE)
        growing = self.growing_positions(browser, 2)
        self.assertLess(growing[-1], decoded_thousands(mp3))
        print("\nOmbra.mp3:", growing, self.position_reaching(browser, decoded_thousands(mp3)))
        self.assertFalse(any(NOT_FOUND in text for text in browser.console_texts()))
        self.assertEqual(browser.errors(), [])

    def test_without_ombra_mp3_the_built_in_soundtrack_plays(self):
        browser = self.open_page(overlay={"Ombra.mp3": None})
        start_production(browser, DEADLINE)
        browser.wait_for_console(lambda text: NOT_FOUND in text, DEADLINE,
                                 "the line saying that no Ombra.mp3 was found")
        print("\nbuilt-in soundtrack:", self.growing_positions(browser, 3))

    def test_a_dropped_mp3_plays_instead(self):
        dropped = tone_mp3(seconds=3, frequency=660)
        browser = self.open_page(overlay={"Ombra.mp3": None})
        browser.wait_for(lambda: "No Ombra.mp3" in page_text(browser), DEADLINE,
                         "the start screen saying there is no Ombra.mp3")
        drop_file(browser, "dropped.mp3", dropped)
        browser.wait_for(lambda: "Plays to dropped.mp3." in page_text(browser), DEADLINE,
                         "the start screen naming the dropped MP3")
        start_production(browser, DEADLINE)
        print("\ndropped MP3:", self.position_reaching(browser, decoded_thousands(dropped)))
        self.assertFalse(any(NOT_FOUND in text for text in browser.console_texts()))


if __name__ == "__main__":
    unittest.main()
