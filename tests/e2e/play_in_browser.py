#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game for the browser in Debian's Chromium, served from a local web server.
Two tabs play at once, each answering 11 to 19 until one is right, whose cue must
be heard: the second saves 2, the first's 1 then leaves it. A reload shows the
record; there the time runs out while the "nuovo" question is open, and the page
must go on to its end.

    /usr/bin/python3 play_in_browser.py PAGE_FOLDER [SCREENSHOT_AFTER_THE_RIGHT_ANSWER]
"""

import functools
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
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
threading.Thread(target=server.serve_forever, daemon=True).start()
options = webdriver.ChromeOptions()
for flag in ("headless", "no-sandbox", "disable-gpu", "use-angle=swiftshader", "enable-unsafe-swiftshader",
             "disable-background-networking", "disable-component-update", "disable-sync", "no-first-run",
             "autoplay-policy=document-user-activation-required"):  # sound only after a gesture, as for a child
    options.add_argument("--" + flag)
browser = webdriver.Chrome(options=options)
# Every cue started is noted with its length and whether the browser lets it be heard; a
# page opened at #presto runs its clock 30 times as fast.
browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """window.cues = [];
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...a) {
        cues.push([this.buffer.duration, this.context.state]); return start.apply(this, a); };
    if (location.hash === '#presto') {
        const now = performance.now.bind(performance), later = setTimeout;
        performance.now = () => now() * 30;
        window.setTimeout = (f, ms, ...a) => later(f, (ms || 0) / 30, ...a);
    }"""})
ENDED = "getComputedStyle(document.getElementById('fine')).display !== 'none'"


def fail(why):
    browser.save_screenshot("/tmp/gomirlo-browser-failed.png")
    sys.exit("FAILED: %s (the page as it was: /tmp/gomirlo-browser-failed.png)" % why)


def wait(what, condition, seconds=60):
    for _ in range(seconds * 10):
        if browser.execute_script("return " + condition):
            return
        time.sleep(0.1)
    fail("waited in vain for " + what)


def keys(*typed, hold=None):
    chain = ActionChains(browser)
    hold and chain.key_down(hold)
    chain.send_keys(*typed)
    hold and chain.key_up(hold)
    chain.perform()
    time.sleep(1)


def click(x, y):
    for event in ("mousePressed", "mouseReleased"):
        browser.execute_cdp_cmd("Input.dispatchMouseEvent", {"type": event, "x": x, "y": y, "button": "left", "clickCount": 1})
    time.sleep(1)


def cue(name):
    with wave.open("%s/suoni/%s" % (folder, name)) as file:
        return file.getnframes() / file.getframerate()


def start(name, hash=""):
    browser.get("http://127.0.0.1:%d/%s" % (server.server_port, hash))
    # The page as a school screen shows it, whatever the browser's own bars take.
    browser.set_window_size(1024, 768 + browser.execute_script("return outerHeight - innerHeight"))
    wait("the name prompt", "qtLoader.status === 'Running'")
    time.sleep(2)
    keys(name, Keys.ENTER)
    keys(Keys.ENTER)  # the greeting


def score_once():
    for answer in range(11, 20):
        keys(str(answer), Keys.ENTER)
        wait("a cue", "cues.length > 0", 10)
        length, state = browser.execute_script("return cues.pop()")
        state == "running" or fail("a cue the browser did not let be heard")
        if abs(length - cue("Esatto.wav")) < 0.01:
            return
        abs(length - cue("no.wav")) < 0.01 or fail("a cue of %.3f s, neither of the two" % length)
        keys(Keys.ENTER)  # the next question
    fail("no answer from 11 to 19 was right")


def record():
    """The two record files as the page's storage holds them."""
    return browser.execute_async_script("""const done = arguments[0];
        indexedDB.open('/home/web_user').onsuccess = (e) => {
            const files = e.target.result.transaction('FILE_DATA').objectStore('FILE_DATA');
            const read = (name) => new Promise((r) => files.get('/home/web_user/.local/share/gomirlo/' + name)
                                                     .onsuccess = (f) => r(new TextDecoder().decode(f.target.result.contents)));
            Promise.all([read('gomirlo10.txt'), read('gomirlo100.txt')]).then(done); };""")


def shown(x, y, width, height):
    """The share of the window's yellow in a part of the page."""
    browser.save_screenshot("/tmp/gomirlo-browser.png")
    return float(subprocess.run(["convert", "/tmp/gomirlo-browser.png", "-crop", "%dx%d+%d+%d" % (width, height, x, y),
                                 "-fuzz", "25%", "-fill", "black", "+opaque", "yellow", "-format", "%[fx:mean]", "info:"],
                                capture_output=True, text=True).stdout)


try:
    start("Anna")
    record_before = shown(200, 545, 300, 55)
    score_once()  # 1, not yet saved
    screenshot and browser.save_screenshot(screenshot[0])
    first = browser.current_window_handle
    browser.switch_to.new_window("tab")
    start("Bruno")
    score_once()
    keys(Keys.ENTER)
    score_once()
    keys("x", hold=Keys.ALT)
    browser.execute_script("return " + ENDED) and fail("tab 2's new record of 2 was not announced")
    keys(Keys.ENTER)
    wait("the end of the game", ENDED)
    record() == ["2\r\n", "Bruno\r\n"] or fail("the record saved is %r" % record())
    browser.close()
    browser.switch_to.window(first)
    keys("x", hold=Keys.ALT)  # 1 beats the empty record tab 1 shows, not the 2 saved meanwhile
    wait("an end with no record message", ENDED, 5)
    record() == ["2\r\n", "Bruno\r\n"] or fail("tab 1 replaced the higher record: %r" % record())

    start("Carla", "#presto")
    shown(200, 545, 300, 55) > record_before + 0.01 or fail("no holder shown after a reload")
    click(290, 36)  # the second menu
    keys(Keys.DOWN, Keys.ENTER)  # "nuovo"
    time.sleep(15)  # the clock runs out behind the question
    keys(Keys.ENTER)  # No
    browser.execute_script("return " + ENDED) and fail("no goodbye when the time ran out")
    keys(Keys.ENTER)
    wait("the end after the time ran out", ENDED, 10)
finally:
    browser.quit()
    server.shutdown()
print("in the browser: two tabs played with their cues heard, the higher record kept and shown after a reload, "
      "the time run out behind a question")
