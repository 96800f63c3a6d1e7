"""Esc ends the production: the picture stops, the page offers to play it again, and a key then
brings back the start screen."""
import unittest

from demo_page import (canvas_pixels, page_text, shows_something, start_production,
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
        first, = browser.wait_for(lambda: self._something(canvas_pixels(browser)), DEADLINE,
                                  "a first picture")
        browser.wait_for(lambda: (canvas_pixels(browser) != first).any(), DEADLINE,
                         "the picture to move")

        browser.press(ESCAPE)
        browser.wait_for(lambda: "play it again" in page_text(browser), DEADLINE,
                         "the page's offer to play again")
        ended = canvas_pixels(browser)
        wait_animation_frames(browser, FRAMES_AFTER)
        self.assertTrue((canvas_pixels(browser) == ended).all(), "the picture moves on after Esc")
        self.assertEqual(browser.errors(), [])

        browser.press("r")
        browser.wait_for(lambda: "click or press a key to start" in page_text(browser), DEADLINE,
                         "the start screen again")

    @staticmethod
    def _something(pixels):
        return (pixels,) if shows_something(pixels) else None


if __name__ == "__main__":
    unittest.main()
