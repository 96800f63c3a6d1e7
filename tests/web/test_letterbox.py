"""A resized window keeps the picture 4:3, as large as the page's picture area allows (the
window less the console line under it) and centred there between black bars, however the
window's shape changes."""
import unittest

from demo_page import canvas_pixels, canvas_rect, picture_area, shows_something
from tone_mp3 import tone_mp3
from web_page import PageTestCase

DEADLINE = 120
WINDOW_SIZES = [(1200, 700), (700, 1000), (900, 900), (500, 420)]


def fitted_picture(area):
    """The largest 4:3 rectangle centred in `area` (left, top, width, height), likewise."""
    left, top, width, height = area
    scale = min(width / 640, height / 480)
    return (left + (width - 640 * scale) / 2, top + (height - 480 * scale) / 2, 640 * scale,
            480 * scale)


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
                                 "the canvas fitted to the resized picture area")
                self._check_bars(browser)

    def _fits(self, browser):
        expected = fitted_picture(picture_area(browser))
        return all(abs(got - want) <= 1 for got, want in zip(canvas_rect(browser), expected))

    def _check_bars(self, browser):
        self.assertEqual(browser.run("return window.devicePixelRatio"), 1)
        area = [round(value) for value in picture_area(browser)]
        picture = [round(value) for value in canvas_rect(browser)]
        # The area and the picture in it as rows and columns of a screenshot.
        rows = slice(area[1], area[1] + area[3])
        columns = slice(area[0], area[0] + area[2])
        inside = (slice(picture[1], picture[1] + picture[3]),
                  slice(picture[0], picture[0] + picture[2]))
        # A screenshot in which the picture shows something, so that black bars mean bars.
        shot, = browser.wait_for(lambda: self._showing(browser.screenshot(), inside), DEADLINE,
                                 "something on the picture in the resized window")
        outside = shot.copy()
        outside[inside] = 0
        self.assertFalse((outside[rows, columns] > 0).any(),
                         "a bar beside the picture is not black")
        self.assertGreater(min(picture[2:]), 0)

    @staticmethod
    def _showing(shot, inside):
        return (shot,) if shows_something(shot[inside]) else None


if __name__ == "__main__":
    unittest.main()
