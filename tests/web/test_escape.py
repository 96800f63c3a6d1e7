"""Esc ends the production: the page offers to play it again, and keys reach no production."""
import unittest

from demo_page import (music_positions, page_text, press_r_for_position, start_production,
                       wait_animation_frames)
from tone_mp3 import tone_mp3
from web_page import PageTestCase

DEADLINE = 120
ESCAPE = "\ue00c"  # WebDriver's code for the Esc key
FRAMES_AFTER = 60


class EscapeKey(PageTestCase):
    def test_escape_ends_the_production_and_offers_another_play(self):
        browser = self.open_page(overlay={"Ombra.mp3": tone_mp3(seconds=30)})
        start_production(browser, DEADLINE)
        press_r_for_position(browser, DEADLINE)
        browser.press(ESCAPE)
        browser.wait_for(lambda: "again" in page_text(browser).lower(), DEADLINE,
                         "the page's offer to play again")
        # The production is over: r prints no more positions.
        printed = len(music_positions(browser))
        browser.press("r")
        wait_animation_frames(browser, FRAMES_AFTER, DEADLINE)
        self.assertEqual(len(music_positions(browser)), printed)
        self.assertEqual(browser.errors(), [])


if __name__ == "__main__":
    unittest.main()
