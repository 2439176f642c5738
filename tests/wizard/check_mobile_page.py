#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the page adapted to phones as visitors meet it, in headless Chromium.

Usage: check_mobile_page.py FOLDER PAGE EXACT_PAGE CENTRAL_TEXT
Serves FOLDER over HTTP on the loopback. tidy finds nothing to report in
PAGE but the loading attribute it does not know yet. On a 390 x 844 phone (pixel ratio 3, touch) PAGE is no wider than the
screen at zoom 1, every picture lies inside it and has its size written, the element that holds
CENTRAL_TEXT has a font of at least 16 px, nothing is logged to the console,
and a tap on the player's button plays the sound. On a 1280 x 900 desktop
PAGE shows the same words, in the same order, as EXACT_PAGE. Prints what it
found; exits 1 on any fault.
"""
import functools
import http.server
import shutil
import subprocess
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

LAYOUT = """
const width = window.innerWidth;
const outside = Array.from(document.images).filter(i => {
    const box = i.getBoundingClientRect();
    return box.left < 0 || box.right > width || box.width === 0 ||
        i.getAttribute("width") != i.naturalWidth || i.getAttribute("height") != i.naturalHeight;
}).map(i => i.getAttribute("src"));
const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
let size = 0;
while (walker.nextNode())
    if (walker.currentNode.data.includes(arguments[0]))
        size = parseFloat(getComputedStyle(walker.currentNode.parentElement).fontSize);
return [width, window.visualViewport.scale, document.documentElement.scrollWidth, outside, size];
"""

WORDS = "return document.body.innerText.split(/\\s+/).filter(w => w);"


def browser(profile, phone):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--window-size=1280,900",
                     "--user-data-dir=" + profile):
        options.add_argument(argument)
    if phone:
        options.add_experimental_option("mobileEmulation", {"deviceMetrics": {
            "width": 390, "height": 844, "pixelRatio": 3.0, "touch": True}})
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_page_load_timeout(60)
    return driver


def load(driver, url):
    driver.get(url)
    WebDriverWait(driver, 30).until(
        lambda d: d.execute_script("return Array.from(document.images).every(i => i.complete)"))


def on_phone(driver, url, central, faults):
    load(driver, url)
    width, scale, scroll_width, outside, size = driver.execute_script(LAYOUT, central)
    print("PHONE width %s scale %s document %s text %spx outside %s"
          % (width, scale, scroll_width, size, outside))
    if width != 390 or scale != 1 or scroll_width > width:
        faults.append("wider than the phone")
    if outside:
        faults.append("pictures outside the screen or without their size")
    if size < 16:
        faults.append("central text under 16 px")
    # The play button sits at the left end of the player.
    player = driver.find_element(By.TAG_NAME, "audio")
    ActionChains(driver).move_to_element_with_offset(
        player, 16 - player.size["width"] // 2, 0).click().perform()
    try:
        start = WebDriverWait(driver, 30).until(lambda d: d.execute_script(
            "const a = document.querySelector('audio'); return !a.paused && a.currentTime"))
        WebDriverWait(driver, 30).until(lambda d: d.execute_script(
            "const a = document.querySelector('audio');"
            "return !a.paused && a.currentTime != arguments[0]", start))
        print("SOUND playing from %s s" % start)
    except Exception:  # the wait's time-out: the state says more
        print("SOUND " + str(driver.execute_script(
            "const a = document.querySelector('audio');"
            "return [a.paused, a.currentTime, a.error && a.error.message]")))
        faults.append("sound does not play")
    for entry in driver.get_log("browser"):
        print("CONSOLE " + entry["message"])
        faults.append("console message")


def on_desktop(driver, url, exact_url, faults):
    load(driver, exact_url)
    exact = driver.execute_script(WORDS)
    load(driver, url)
    adapted = driver.execute_script(WORDS)
    print("DESKTOP %d words" % len(adapted))
    if adapted != exact:
        print("EXACT   " + " ".join(exact))
        print("ADAPTED " + " ".join(adapted))
        faults.append("other words on the desktop")


def main():
    folder, page, exact_page, central = sys.argv[1:5]
    faults = []
    tidy = subprocess.run(["tidy", "-q", "-e", folder + "/" + page],
                          capture_output=True, text=True, check=False)
    print("TIDY %d %s" % (tidy.returncode, tidy.stderr.strip()))
    # tidy 5.6 predates the loading attribute of pictures; nothing else is
    # let pass.
    said = [line for line in tidy.stderr.splitlines()
            if line.strip() and not line.endswith('proprietary attribute "loading"')]
    if said or tidy.returncode not in (0, 1):
        faults.append("tidy")

    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(Quiet, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = "http://127.0.0.1:%d/" % server.server_address[1]
    for phone in (True, False):
        profile = tempfile.mkdtemp(prefix="brenzo-chromium-")
        driver = browser(profile, phone)
        try:
            if phone:
                on_phone(driver, base + page, central, faults)
            else:
                on_desktop(driver, base + page, base + exact_page, faults)
        finally:
            driver.quit()
            shutil.rmtree(profile, ignore_errors=True)
    server.shutdown()
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
