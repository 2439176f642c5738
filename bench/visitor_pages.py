#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The visitor's side of the exact page and of the page adapted to phones.

Usage: visitor_pages.py PAGES_DIR LIGHTHOUSE ROUNDS [SCREENSHOTS_DIR]
PAGES_DIR is what make_visitor_pages wrote. Serves it on the loopback and:
- on an emulated 4G phone (1.6 Mbit/s down, 750 kbit/s up, 150 ms round
  trip, cache off; 390 x 844, pixel ratio 3) opens the exact page with the
  original photo and the adapted page with the web copy ROUNDS times each,
  and prints the Largest Contentful Paint and the bytes moved;
- runs LIGHTHOUSE (the npm package's command) in its mobile mode on both
  pages of every colour combination and prints the four scores and the
  audits that fail;
- with SCREENSHOTS_DIR, saves what a 390 px phone shows of the exact and the
  adapted page of the sky-blue combination.
"""
import functools
import http.server
import json
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

COMBINATIONS = ["Blanco", "Noche", "Rojo", "Cielo", "Verde", "Amarillo"]
CATEGORIES = ["performance", "accessibility", "best-practices", "seo"]
LCP = """
const done = arguments[0];
new PerformanceObserver(list => {
    const entries = list.getEntries();
    done(entries[entries.length - 1].startTime);
}).observe({type: "largest-contentful-paint", buffered: true});
"""


def phone(profile, pixel_ratio=3.0):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--hide-scrollbars", "--user-data-dir=" + profile):
        options.add_argument(argument)
    options.add_experimental_option("mobileEmulation", {"deviceMetrics": {
        "width": 390, "height": 844, "pixelRatio": pixel_ratio, "touch": True}})
    options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_page_load_timeout(180)
    driver.set_script_timeout(30)
    return driver


def visit_on_4g(url):
    profile = tempfile.mkdtemp(prefix="brenzo-bench-")
    driver = phone(profile)
    try:
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
            "offline": False, "latency": 150,
            "downloadThroughput": 1.6e6 / 8, "uploadThroughput": 750e3 / 8})
        driver.get(url)
        WebDriverWait(driver, 120).until(
            lambda d: d.execute_script("return Array.from(document.images).every(i => i.complete)"))
        time.sleep(2)  # what the page starts after its load event
        lcp = driver.execute_async_script(LCP) / 1000
        # The page's own requests: the browser's new-tab page is in the log too.
        ours, moved = set(), 0
        for entry in driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            params = message["params"]
            if message["method"] == "Network.requestWillBeSent" and \
                    params["request"]["url"].startswith("http://127.0.0.1"):
                ours.add(params["requestId"])
            elif message["method"] == "Network.loadingFinished" and params["requestId"] in ours:
                moved += params["encodedDataLength"]
        return lcp, moved / 1000
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


def spread(values, decimals):
    return " / ".join("%.*f" % (decimals, v)
                      for v in (min(values), statistics.median(values), max(values)))


def lighthouse(command, url):
    profile = tempfile.mkdtemp(prefix="brenzo-lighthouse-")
    try:
        run = subprocess.run(
            [command, url, "--quiet", "--output=json", "--output-path=stdout",
             "--only-categories=" + ",".join(CATEGORIES), "--chrome-path=/usr/bin/chromium",
             "--chrome-flags=--headless=new --no-sandbox --disable-gpu --user-data-dir=" + profile],
            capture_output=True, text=True, check=True)
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    result = json.loads(run.stdout)
    scores = [round(100 * result["categories"][c]["score"]) for c in CATEGORIES]
    failed = []
    for category in CATEGORIES:
        for ref in result["categories"][category]["auditRefs"]:
            audit = result["audits"][ref["id"]]
            if ref["weight"] > 0 and audit["score"] is not None and audit["score"] < 0.9:
                failed.append("%s(%s)" % (ref["id"], audit.get("displayValue", audit["score"])))
    return scores, failed


def screenshots(base, folder):
    profile = tempfile.mkdtemp(prefix="brenzo-shots-")
    driver = phone(profile, 1.0)
    try:
        for page, name in (("exacta.htm", "movil_exacta.png"), ("index.htm", "movil_adaptada.png")):
            driver.get(base + "movil-3/" + page)
            time.sleep(1)
            driver.save_screenshot(folder + "/" + name)
            print("saved " + folder + "/" + name)
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


def main():
    pages, command, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])

    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Quiet, directory=pages))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = "http://127.0.0.1:%d/" % server.server_address[1]

    if len(sys.argv) > 4:
        screenshots(base, sys.argv[4])
        return 0

    print("== visitor on an emulated 4G phone (min / median / max of %d)" % rounds)
    figures = {"exacta-0": ([], []), "movil-0": ([], [])}
    for _ in range(rounds):
        for folder, (lcps, sizes) in figures.items():
            lcp, moved = visit_on_4g(base + folder + "/index.htm")
            lcps.append(lcp)
            sizes.append(moved)
    for folder, (lcps, sizes) in figures.items():
        what = "exact page, original photo" if folder.startswith("exacta") else \
            "adapted page, web copy"
        print("%-28s LCP %s s (goal 2.5)   moved %s KB (goal 500)"
              % (what, spread(lcps, 2), spread(sizes, 0)))

    print("== Lighthouse, mobile: performance accessibility best-practices seo")
    for number, name in enumerate(COMBINATIONS):
        for folder in ("exacta", "movil"):
            scores, failed = lighthouse(command, "%s%s-%d/index.htm" % (base, folder, number))
            print("%-9s %-7s %s  %s" % (name, folder, " ".join("%3d" % s for s in scores),
                                        " ".join(failed)))
    server.shutdown()
    return 0


if __name__ == "__main__":
    sys.exit(main())
