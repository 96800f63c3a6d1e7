"""The page opens on its start screen without a console error, and a click starts the
production: "Please wait." and the builders' dots on the console and the page's console line,
then a first picture on the canvas."""
import time
import unittest

from demo_page import canvas_pixels, console_line, page_text, shows_something
from tone_mp3 import tone_mp3
from web_page import PageTestCase

LOAD_DEADLINE = 60
FIRST_FRAME_DEADLINE = 120


class StartScreen(PageTestCase):
    def test_a_click_starts_the_production(self):
        # With a soundtrack beside the page, nothing it asks for is missing.
        browser = self.open_page(overlay={"Ombra.mp3": tone_mp3(seconds=10)})
        browser.wait_for(lambda: "click or press a key to start" in page_text(browser),
                         LOAD_DEADLINE, "the start screen's invitation")
        self.assertIn("OMBRA", page_text(browser))
        self.assertEqual(browser.errors(), [])

        clicked = time.monotonic()
        browser.click(browser.driver.find_element("tag name", "body"))
        dots = browser.wait_for_console(lambda text: text.startswith("... "), LOAD_DEADLINE,
                                        "the builders' dots on the console")
        self.assertEqual(dots.split(), ["..."] * 6)
        texts = browser.console_texts()
        self.assertIn("Please wait.", texts)
        self.assertLess(texts.index("Please wait."), texts.index(dots))
        self.assertIn(dots.strip(), console_line(browser))
        browser.wait_for(lambda: shows_something(canvas_pixels(browser)), FIRST_FRAME_DEADLINE,
                         "a first picture on the canvas")
        print("\nnavigation to the start screen and click %.2f s, click to the first picture "
              "%.2f s" % (clicked - self.page.navigation_started, time.monotonic() - clicked))
        self.assertEqual(browser.errors(), [])


if __name__ == "__main__":
    unittest.main()
