"""A resized window keeps the picture 4:3, as large as the window allows and centred between
black bars, however the window's shape changes."""
import unittest

from demo_page import canvas_pixels, canvas_rect, shows_something, viewport_size
from tone_mp3 import tone_mp3
from web_page import PageTestCase

DEADLINE = 120
WINDOW_SIZES = [(1200, 700), (700, 1000), (900, 900)]


def fitted_picture(width, height):
    """The largest 4:3 rectangle centred in `width` x `height`: left, top, width, height."""
    scale = min(width / 640, height / 480)
    return ((width - 640 * scale) / 2, (height - 480 * scale) / 2, 640 * scale, 480 * scale)


class Letterbox(PageTestCase):
    def test_the_picture_keeps_its_shape_between_black_bars(self):
        browser = self.open_page(overlay={"Ombra.mp3": tone_mp3(seconds=20)})
        browser.click(browser.driver.find_element("tag name", "body"))
        browser.wait_for(lambda: shows_something(canvas_pixels(browser)), DEADLINE,
                         "a first picture")
        for window in WINDOW_SIZES:
            with self.subTest(window=window):
                browser.driver.set_window_size(*window)
                browser.wait_for(lambda: self._fits(browser), DEADLINE,
                                 "the canvas fitted to the new viewport")
                self._check_bars(browser)

    def _fits(self, browser):
        width, height, _ = viewport_size(browser)
        expected = fitted_picture(width, height)
        return all(abs(got - want) <= 1 for got, want in zip(canvas_rect(browser), expected))

    def _check_bars(self, browser):
        width, height, ratio = viewport_size(browser)
        self.assertEqual(ratio, 1)
        left, top, picture_width, picture_height = (
            round(value) for value in fitted_picture(width, height))
        # A screenshot in which the picture shows something, so that black bars mean bars.
        inside = (slice(top, top + picture_height), slice(left, left + picture_width))
        shot, = browser.wait_for(lambda: self._showing(browser.screenshot(), inside), DEADLINE,
                                 "something on the picture in the resized window")
        self.assertGreaterEqual(shot.shape[1], width)
        self.assertGreaterEqual(shot.shape[0], height)
        bars = [shot[:top, :width], shot[top + picture_height:height, :width],
                shot[:height, :left], shot[:height, left + picture_width:width]]
        for bar in bars:
            self.assertFalse((bar > 0).any(), "a bar beside the picture is not black")

    @staticmethod
    def _showing(shot, inside):
        return (shot,) if shows_something(shot[inside]) else None

if __name__ == "__main__":
    unittest.main()
