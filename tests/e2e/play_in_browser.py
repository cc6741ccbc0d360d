#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The game for the browser in Debian's Chromium, served from a local web server, where
# sound starts only after a gesture. Two tabs play at once, each answering 11 to 19 until
# one is right, whose cue must be heard: the second saves 2, the first's 1 then leaves it. A
# reload shows the record's holder; there the time runs out while the "nuovo" question is
# open, and the page must go on to its end.
#
#     /usr/bin/python3 play_in_browser.py PAGE_FOLDER [SCREENSHOT_AFTER_THE_RIGHT_ANSWER]

import http.server
import subprocess
import sys
import threading
import time
import wave

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

folder, screenshot = sys.argv[1], sys.argv[2:]
Quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *_: None})
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), lambda *a: Quiet(*a, directory=folder))
threading.Thread(target=server.serve_forever, daemon=True).start()
options = webdriver.ChromeOptions()
for flag in ("headless no-sandbox disable-gpu use-angle=swiftshader enable-unsafe-swiftshader disable-sync no-first-run "
             "disable-background-networking disable-component-update autoplay-policy=document-user-activation-required").split():
    options.add_argument("--" + flag)
browser = webdriver.Chrome(options=options)
RIGHT = (lambda cue: cue.getnframes() / cue.getframerate())(wave.open(folder + "/suoni/Esatto.wav"))  # its length, in seconds
TITLE_BAR, MENU, YELLOW = bytes((48, 140, 198)), bytes((255, 255, 255)), bytes((255, 255, 0))
ENDED = "return getComputedStyle(document.getElementById('fine')).display !== 'none'"
# Every cue started is noted with its length and whether the browser lets it be heard; a page
# opened at ?presto runs its clock 30 times as fast.
HOOKS = """if (!window.cues) { window.cues = []; const start = AudioBufferSourceNode.prototype.start, later = setTimeout;
    AudioBufferSourceNode.prototype.start = function (...a) {
        cues.push([this.buffer.duration, this.context.state]); return start.apply(this, a); };
    if (location.search === '?presto') { const now = performance.now.bind(performance); performance.now = () => now() * 30;
        window.setTimeout = (f, ms, ...a) => later(f, (ms || 0) / 30, ...a); } }"""


def wait(what, condition, seconds=60):
    deadline = time.time() + seconds
    while not (result := condition()):
        time.time() < deadline or sys.exit("FAILED: waited in vain for " + what)
        time.sleep(0.1)
    return result


def page(script):
    return lambda: browser.execute_script(script)


def screen():  # the page as the child sees it, as rows of 1024 red, green and blue bytes
    return subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=browser.get_screenshot_as_png(),
                          capture_output=True, check=True).stdout


def shows(rgb, x, y, colour):  # over the window's backdrop, whose bands fill whole rows
    at = lambda x: rgb[3 * (1024 * y + x):3 * (1024 * y + x + 1)]
    return at(x) == colour != at(8)


def box():  # the title bar of the box open over the window, which is centred on the page, or None
    rgb = screen()
    return next((rgb[3 * 1024 * y:3 * 1024 * (y + 1)] for y in range(50, 768) if shows(rgb, 512, y, TITLE_BAR)), None)


def answer(what, *typed):
    """Types into a box once it is seen, as a child does: keys typed before a box is drawn,
    which a loaded machine may do seconds late, go to the window behind it."""
    shown = wait(what, box)
    keys(*typed)
    wait(what + " to close", lambda: box() != shown, 10)


def keys(*typed, alt=False):
    chain = ActionChains(browser)
    (chain.key_down(Keys.ALT).send_keys(*typed).key_up(Keys.ALT) if alt else chain.send_keys(*typed)).perform()
    time.sleep(0.4)  # the time a save takes


def start(name, query=""):
    browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": HOOKS})
    # The page as a school screen shows it, whatever the browser's own bars take.
    browser.set_window_size(1024, 768 + browser.execute_script("return outerHeight - innerHeight"))
    browser.get("http://127.0.0.1:%d/%s" % (server.server_port, query))
    answer("the name prompt", name, Keys.ENTER)
    answer("the greeting", Keys.ENTER)
    wait("the first question", lambda: shows(screen(), 700, 60, YELLOW))  # the answer's box, drawn once the window takes keys


def score_once():
    for number in [11 + i % 9 for i in range(100)]:
        keys(str(number), Keys.ENTER)
        wait("a cue", page("return cues.length > 0"), 10)
        length, state = browser.execute_script("return cues.pop()")
        state == "running" or sys.exit("FAILED: a cue the browser would not let be heard")
        if abs(length - RIGHT) < 0.01:
            return
        keys(Keys.ENTER)  # the next question
    sys.exit("FAILED: no answer was right")


def record():  # the two record files as the page's storage holds them
    return browser.execute_async_script("""const done = arguments[0]; indexedDB.open('/home/web_user').onsuccess = (e) => {
        const files = e.target.result.transaction('FILE_DATA').objectStore('FILE_DATA'), read = (name) => new Promise((r) => files
            .get('/home/web_user/.local/share/gomirlo/' + name).onsuccess = (f) => r(new TextDecoder().decode(f.target.result.contents)));
        Promise.all([read('gomirlo10.txt'), read('gomirlo100.txt')]).then(done); };""")


try:
    start("Anna")
    score_once()  # 1, not yet saved
    screenshot and browser.save_screenshot(screenshot[0])
    browser.switch_to.new_window("tab")
    start("Bruno")
    score_once(), keys(Keys.ENTER), score_once()  # 2
    keys("x", alt=True)
    answer("tab 2's message of its new record", Keys.ENTER)
    wait("the end of the game", page(ENDED))
    record() == ["2\r\n", "Bruno\r\n"] or sys.exit("FAILED: the record saved is %r" % record())
    browser.close()
    browser.switch_to.window(browser.window_handles[0])
    keys("x", alt=True)  # 1 beats the empty record that tab 1 shows, not the 2 saved meanwhile
    wait("an end with no record message", page(ENDED))
    record() == ["2\r\n", "Bruno\r\n"] or sys.exit("FAILED: tab 1 replaced the higher record: %r" % record())

    start("Carla", "?presto")
    browser.save_screenshot("/tmp/gomirlo-browser.png")
    for area in ("300x55+200+545", "100x55+650+545"):  # the window's yellow where the holder and the score are shown
        shown = subprocess.run(["convert", "/tmp/gomirlo-browser.png", "-crop", area, "-fuzz", "25%", "-fill", "black", "+opaque",
                                "yellow", "-format", "%[fx:mean]", "info:"], capture_output=True, text=True).stdout
        float(shown) > 0.003 or sys.exit("FAILED: no record shown at %s after a reload" % area)
    for event in ("mouseMoved", "mousePressed", "mouseReleased"):  # the second menu, then "nuovo"
        browser.execute_cdp_cmd("Input.dispatchMouseEvent", {"type": event, "x": 290, "y": 36, "button": "left", "clickCount": 1})
    wait("the second menu", lambda: shows(screen(), 300, 100, MENU), 10)
    keys(Keys.DOWN, Keys.DOWN, Keys.ENTER)
    wait("the \"nuovo\" question", box)
    time.sleep(15)  # the clock runs out behind the question
    answer("the \"nuovo\" question", Keys.ENTER)  # No
    answer("the goodbye when the time ran out", Keys.ENTER)
    wait("the end after the time ran out", page(ENDED), 10)
finally:
    browser.quit()
print("in the browser: two tabs played with their cues heard, the higher record kept and shown, the time run out")
