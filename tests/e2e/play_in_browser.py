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
    while not browser.execute_script(condition):
        time.time() < deadline or sys.exit("FAILED: waited in vain for " + what)
        time.sleep(0.1)


def keys(*typed, alt=False):
    chain = ActionChains(browser)
    (chain.key_down(Keys.ALT).send_keys(*typed).key_up(Keys.ALT) if alt else chain.send_keys(*typed)).perform()
    time.sleep(3 if alt else 0.4)  # Alt+X: Exit, and the time a save takes


def start(name, query=""):
    browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": HOOKS})
    # The page as a school screen shows it, whatever the browser's own bars take.
    browser.set_window_size(1024, 768 + browser.execute_script("return outerHeight - innerHeight"))
    browser.get("http://127.0.0.1:%d/%s" % (server.server_port, query))
    wait("the name prompt", "return qtLoader.status === 'Running'")
    time.sleep(3)  # for the prompt to be drawn and take the keys
    keys(name, Keys.ENTER), keys(Keys.ENTER)  # the name, then the greeting closed


def score_once():
    for answer in [11 + i % 9 for i in range(100)]:
        keys(str(answer), Keys.ENTER)
        wait("a cue", "return cues.length > 0", 10)
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
    browser.execute_script(ENDED) and sys.exit("FAILED: tab 2's new record of 2 was not announced")
    keys(Keys.ENTER)
    wait("the end of the game", ENDED)
    record() == ["2\r\n", "Bruno\r\n"] or sys.exit("FAILED: the record saved is %r" % record())
    browser.close()
    browser.switch_to.window(browser.window_handles[0])
    keys("x", alt=True)  # 1 beats the empty record that tab 1 shows, not the 2 saved meanwhile
    wait("an end with no record message", ENDED, 5)
    record() == ["2\r\n", "Bruno\r\n"] or sys.exit("FAILED: tab 1 replaced the higher record: %r" % record())

    start("Carla", "?presto")
    browser.save_screenshot("/tmp/gomirlo-browser.png")
    for area in ("300x55+200+545", "100x55+650+545"):  # the window's yellow where the holder and the score are shown
        shown = subprocess.run(["convert", "/tmp/gomirlo-browser.png", "-crop", area, "-fuzz", "25%", "-fill", "black", "+opaque",
                                "yellow", "-format", "%[fx:mean]", "info:"], capture_output=True, text=True).stdout
        float(shown) > 0.003 or sys.exit("FAILED: no record shown at %s after a reload" % area)
    for event in ("mouseMoved", "mousePressed", "mouseReleased"):  # the second menu, then "nuovo"
        browser.execute_cdp_cmd("Input.dispatchMouseEvent", {"type": event, "x": 290, "y": 36, "button": "left", "clickCount": 1})
    keys(Keys.DOWN, Keys.DOWN, Keys.ENTER)
    time.sleep(15)  # the clock runs out behind the question
    keys(Keys.ENTER)  # No
    browser.execute_script(ENDED) and sys.exit("FAILED: no goodbye when the time ran out")
    keys(Keys.ENTER)
    wait("the end after the time ran out", ENDED, 10)
finally:
    browser.quit()
print("in the browser: two tabs played with their cues heard, the higher record kept and shown, the time run out")
