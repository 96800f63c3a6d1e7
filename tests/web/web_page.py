"""What the browser tests share: the web build's folder, a local server for it and a headless
Chromium on a fresh profile, both ended when the test (or test class) ends, however it ends."""
import os
import tempfile
import unittest

from headless_chromium import HeadlessChromium
from linux_frames import REPOSITORY
from page_server import PageServer

# The web build to test: build-web/, or the folder OMBRA_WEB_BUILD names.
WEB_BUILD = os.environ.get("OMBRA_WEB_BUILD") or os.path.join(REPOSITORY, "build-web")
PAGE = "index.html"


class OpenPage:
    """The page served with `overlay` (file name: bytes, or None to hide one) and opened with
    `query` in a new headless Chromium; `add_cleanup` is handed the ends of both."""

    def __init__(self, add_cleanup, query="", overlay=None, width=1024, height=768):
        self.server = PageServer(WEB_BUILD, overlay)
        add_cleanup(self.server.close)
        self.browser = HeadlessChromium(width, height)
        add_cleanup(self.browser.close)
        self.navigation_started = self.browser.open(self.server.url(PAGE + query))


def temporary_folder(add_cleanup):
    folder = tempfile.TemporaryDirectory(prefix="ombra-web-test-")
    add_cleanup(folder.cleanup)
    return folder.name


class PageTestCase(unittest.TestCase):
    def open_page(self, query="", overlay=None, width=1024, height=768):
        page = OpenPage(self.addCleanup, query, overlay, width, height)
        self.page = page
        return page.browser
