"""Headless Chromium driven through chromedriver for the browser tests: starts it on a fresh
profile, keeps every console line it logs, waits on conditions, and always ends it."""
import io
import json
import re
import shutil
import tempfile
import time

import numpy
from PIL import Image
from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.support.ui import WebDriverWait

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"

# Software WebGL 2 (SwiftShader), sound allowed without a gesture, and nothing that reaches out
# of the machine or keeps state between runs. (Chromium's crash handler starts in a session of
# its own, but ends with the browser, however that ends.)
FLAGS = [
    "--headless=new",
    "--enable-unsafe-swiftshader",
    "--no-sandbox",
    "--autoplay-policy=no-user-gesture-required",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--no-first-run",
]

SCRIPT_DEADLINE = 600

# A console-API line as chromedriver reports it: source, line:column, then the text as a string.
CONSOLE_TEXT = re.compile(r'^\S+ \d+:\d+ (".*")$', re.S)


class ConsoleLine:
    def __init__(self, entry):
        self.level = entry["level"]
        self.source = entry.get("source", "")
        self.raw = entry["message"]
        match = CONSOLE_TEXT.match(self.raw)
        self.text = json.loads(match.group(1)) if match else self.raw

    def __repr__(self):
        return "%s %s" % (self.level, self.raw)


class HeadlessChromium:
    def __init__(self, width=1024, height=768):
        self._profile = tempfile.mkdtemp(prefix="ombra-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in FLAGS + ["--user-data-dir=" + self._profile,
                             "--window-size=%d,%d" % (width, height)]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.lines = []
        try:
            self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        except BaseException:
            shutil.rmtree(self._profile, ignore_errors=True)
            raise
        # A script waits while the page draws; on SwiftShader one call can take long.
        self.driver.set_script_timeout(SCRIPT_DEADLINE)

    def close(self):
        try:
            self.driver.quit()  # ends chromedriver and every Chromium process it started
        finally:
            shutil.rmtree(self._profile, ignore_errors=True)

    def open(self, url):
        """Navigates and returns the time.monotonic() at which navigation began."""
        started = time.monotonic()
        self.driver.get(url)
        return started

    def console(self):
        """Every console line so far (chromedriver hands each one over once; they are kept)."""
        self.lines.extend(ConsoleLine(entry) for entry in self.driver.get_log("browser"))
        return list(self.lines)

    def console_texts(self):
        return [line.text for line in self.console()]

    def errors(self):
        return [line for line in self.console() if line.level == "SEVERE"]

    def wait_for(self, condition, timeout, what):
        """Polls `condition()` until it returns something true, which is returned; fails naming
        `what` and the console lines so far when `timeout` seconds pass first."""
        # A page busy drawing may keep a script from running for a while: that is no answer yet.
        wait = WebDriverWait(self.driver, timeout, poll_frequency=0.1,
                             ignored_exceptions=(TimeoutException,))
        try:
            return wait.until(lambda driver: condition())
        except TimeoutException as error:
            lines = "\n".join(repr(line) for line in self.console()[-30:])
            raise AssertionError("waited %g s for %s; console:\n%s" % (timeout, what, lines)) \
                from error

    def wait_for_console(self, predicate, timeout, what):
        """Waits for a console line whose text satisfies `predicate` and returns that text."""
        def found():
            return next((text for text in self.console_texts() if predicate(text)), None)
        return self.wait_for(found, timeout, what)

    def run(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def press(self, key):
        """Types one key into the page, as a user at the keyboard would."""
        ActionChains(self.driver).send_keys(key).perform()

    def click(self, element):
        ActionChains(self.driver).move_to_element(element).click().perform()

    def screenshot(self):
        """The page's viewport as an array of rows of RGB pixels."""
        picture = Image.open(io.BytesIO(self.driver.get_screenshot_as_png())).convert("RGB")
        return numpy.asarray(picture)
