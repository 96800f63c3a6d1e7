"""The page opens on its start screen without a console error, and a click starts the
production: "Please wait." and the builders' dots, then a first picture on the canvas."""
import time
import unittest

from demo_page import canvas_pixels, page_text, shows_something
from tone_mp3 import tone_mp3
from web_page import PageTestCase

LOAD_DEADLINE = 60
FIRST_FRAME_DEADLINE = 120


class StartScreen(PageTestCase):
    def test_a_click_starts_the_production(self):
        # With a soundtrack beside the page, nothing it asks for is missing.
        browser = self.open_page(overlay={"Ombra.mp3": tone_mp3(seconds=10)})
        browser.wait_for(lambda: "click" in page_text(browser).lower(), LOAD_DEADLINE,
                         "the start screen's invitation to click")
        self.assertIn("OMBRA", page_text(browser))
        self.assertEqual(browser.errors(), [])

        clicked = time.monotonic()
        browser.click(browser.driver.find_element("tag name", "body"))
        browser.wait_for(lambda: "Please wait." in page_text(browser), LOAD_DEADLINE,
                         '"Please wait." on the page')
        browser.wait_for(lambda: "... ... ... ... ... ..." in page_text(browser), LOAD_DEADLINE,
                         "a dot for each of the six built Scenes")
        text = page_text(browser)
        self.assertLess(text.index("Please wait."), text.index("... "))
        browser.wait_for(lambda: shows_something(canvas_pixels(browser)), FIRST_FRAME_DEADLINE,
                         "a first picture on the canvas")
        print("\nnavigation to the start screen and click %.2f s, click to the first picture "
              "%.2f s" % (clicked - self.page.navigation_started, time.monotonic() - clicked))
        self.assertEqual(browser.errors(), [])


if __name__ == "__main__":
    unittest.main()
