#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The game in the browser beside a bare Qt prompt (bench/minimal_prompt.cpp)
# built the same way, in headless Chromium, pages served from this machine:
#
#   bench/web-startup.sh [runs]          (at least 5; default 5)
#
# The sizes a browser downloads to start the game (every file of build-web/
# but the licences), as they are and compressed as a web server sends them
# (gzip -9, brotli -q 11), and the bare prompt's program for comparison. Then, for each run, in turn for the two
# programs: the time from opening the page to the name prompt, cold (a new
# browser profile: nothing cached) and warm (the same page opened again);
# medians, min and max, and the game's medians as ratios to the bare prompt's.
#
# The prompt counts as shown at the first frame in which Qt draws a window
# (the page's WebGL draws, counted per animation frame): before it Qt draws
# nothing but the empty screen.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
if [ "$runs" -lt 5 ]; then
    echo "at least 5 runs" >&2
    exit 1
fi
GOMIRLO_WEB_BENCHMARK=1 bash scripts/web.sh >/dev/null

scratch=$(mktemp -d /tmp/gomirlo-web-startup.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
# The bare prompt's page is the game's page, loading the bare prompt instead.
mkdir "$scratch/minimal"
cp build-web/cmake/bin/minimal_prompt.{js,wasm} build-web/qtloader.js "$scratch/minimal/"
sed "s/loadEmscriptenModule('gomirlo')/loadEmscriptenModule('minimal_prompt')/; /serviceWorker/d" \
    build-web/index.html > "$scratch/minimal/index.html"

echo "== What the browser downloads (bytes)"
printf '%-22s %10s %10s %10s\n' file size gzip brotli
sizes() { # <folder> <file>...
    local folder=$1 file
    shift
    for file in "$@"; do
        printf '%-22s %10d %10d %10d\n' "$file" "$(stat -c %s "$folder/$file")" \
            "$(gzip -9 -c "$folder/$file" | wc -c)" "$(brotli -q 11 -c "$folder/$file" | wc -c)"
    done
}
sizes build-web $(cd build-web && find . \( -path ./cmake -o -path ./LICENZE \) -prune -o -type f -printf '%P\n' | LC_ALL=C sort) \
    | tee "$scratch/sizes"
awk '{ s += $2; g += $3; b += $4 } END { printf "%-22s %10d %10d %10d\n", "all", s, g, b }' "$scratch/sizes"
sizes "$scratch/minimal" minimal_prompt.js minimal_prompt.wasm

/usr/bin/python3 - "$runs" build-web "$scratch/minimal" <<'PYTHON'
import functools, http.server, statistics, sys, tempfile, threading, time
from selenium import webdriver

runs, pages = int(sys.argv[1]), {"game": sys.argv[2], "prompt": sys.argv[3]}
Quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *_: None})
servers = {}
for name, folder in pages.items():
    servers[name] = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=servers[name].serve_forever, daemon=True).start()
# Qt draws a frame as two or more WebGL draws (the screen, then each window).
frames = """window.frames = []; let draws = 0;
    for (const gl of [WebGLRenderingContext, WebGL2RenderingContext]) {
        const draw = gl.prototype.drawArrays;
        gl.prototype.drawArrays = function (...a) { draws++; return draw.apply(this, a); }; }
    const tick = () => { if (draws) frames.push([performance.now(), draws]); draws = 0; requestAnimationFrame(tick); };
    requestAnimationFrame(tick);"""


def shown(browser):
    for _ in range(300):
        drawn = [t for t, n in browser.execute_script("return frames") if n >= 2]
        if drawn:
            return drawn[0] / 1000
        time.sleep(0.02)
    sys.exit("no prompt in 6 s")


times = {(name, when): [] for name in pages for when in ("cold", "warm")}
for run in range(runs):
    for name, server in servers.items():
        options = webdriver.ChromeOptions()
        for flag in ("headless", "no-sandbox", "disable-gpu", "use-angle=swiftshader", "enable-unsafe-swiftshader",
                     "disable-background-networking", "disable-component-update", "disable-sync", "no-first-run",
                     "user-data-dir=" + tempfile.mkdtemp(prefix="gomirlo-chromium-")):
            options.add_argument("--" + flag)
        browser = webdriver.Chrome(options=options)
        browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": frames})
        for when in ("cold", "warm"):
            browser.get("http://127.0.0.1:%d/" % server.server_port)
            times[name, when].append(shown(browser))
            time.sleep(2)  # the service worker and the code cache settle, as between two visits
        browser.quit()
print("== Opening the page to the name prompt (s): median [min, max] of %d runs" % runs)
for (name, when), values in times.items():
    print("%-7s %-5s %.2f [%.2f, %.2f]" % (name, when, statistics.median(values), min(values), max(values)))
for when in ("cold", "warm"):
    print("ratio %s: %.2f" % (when, statistics.median(times["game", when]) / statistics.median(times["prompt", when])))
PYTHON
