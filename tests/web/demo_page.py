"""What the browser tests read from and do to the playing page: its text, the music positions
that `r` prints, the canvas's place and pixels, animation frames and dropped files."""
import base64
import re

# A line of music positions: numbers (thousands of bytes), each followed by a space.
POSITIONS = re.compile(r"^\s*\d+(\s+\d+)*\s*$")
BLACK_LEVEL = 8  # a pixel with a channel above this shows something


def page_text(browser):
    return browser.run("return document.body.innerText")


def console_line(browser):
    """The line under the picture that shows what the demo writes on its standard output."""
    return browser.run("return document.getElementById('console').textContent")


def start_production(browser, timeout):
    """Clicks the start screen and waits for the six Scenes to be built (a dot for each)."""
    browser.click(browser.driver.find_element("tag name", "body"))
    browser.wait_for(lambda: "... ... ... ... ... ..." in console_line(browser), timeout,
                     "the six Scenes built")


def music_positions(browser):
    """Every music position the page has printed on the browser's console, in order."""
    positions = []
    for text in browser.console_texts():
        if POSITIONS.match(text):
            positions.extend(int(number) for number in text.split())
    return positions


def press_r_for_position(browser, timeout):
    """Presses `r` and returns the position the page prints for it."""
    before = len(music_positions(browser))
    browser.press("r")
    browser.wait_for(lambda: len(music_positions(browser)) > before, timeout,
                     "a music position after r")
    return music_positions(browser)[before]


def wait_animation_frames(browser, count):
    """Returns after the page has been given `count` animation frames (within the browser's
    script deadline)."""
    browser.driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        let left = arguments[0];
        const step = () => (--left <= 0 ? done(true) : requestAnimationFrame(step));
        requestAnimationFrame(step);""", count)


def canvas_rect(browser):
    """The canvas's place in the viewport in CSS pixels: left, top, width, height."""
    return browser.run("""
        const rect = document.querySelector('canvas').getBoundingClientRect();
        return [rect.left, rect.top, rect.width, rect.height];""")


def picture_area(browser):
    """The part of the page the picture is fitted into (the canvas's container), likewise."""
    return browser.run("""
        const rect = document.querySelector('canvas').parentElement.getBoundingClientRect();
        return [rect.left, rect.top, rect.width, rect.height];""")


def shows_something(pixels):
    return bool((pixels > BLACK_LEVEL).any())


def canvas_pixels(browser):
    """The pixels of the viewport's screenshot that the canvas covers."""
    left, top, width, height = (round(value) for value in canvas_rect(browser))
    return browser.screenshot()[top:top + height, left:left + width]


def drop_file(browser, name, data):
    """Drops a file onto the middle of the page, as a user dragging it from a file manager."""
    browser.run("""
        const bytes = Uint8Array.from(atob(arguments[1]), c => c.charCodeAt(0));
        const transfer = new DataTransfer();
        transfer.items.add(new File([bytes], arguments[0], {type: 'audio/mpeg'}));
        const target = document.elementFromPoint(innerWidth / 2, innerHeight / 2) || document.body;
        for (const type of ['dragenter', 'dragover', 'drop']) {
            target.dispatchEvent(new DragEvent(type,
                {bubbles: true, cancelable: true, dataTransfer: transfer}));
        }""", name, base64.b64encode(data).decode("ascii"))
