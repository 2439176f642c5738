#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Opens a published page in headless Chromium and checks what a visitor gets.

Usage: check_site.py URL TITLE TEXT
Checks that the document's title is TITLE and that TEXT is in it, that every
picture loaded (naturalWidth > 0), and that the addresses of the background
and of the sound answer 200. Prints what it found; exits 1 on any fault.
"""
import shutil
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

STATUS = """
const done = arguments[arguments.length - 1];
fetch(arguments[0], {cache: "no-store"}).then(r => done(r.status), e => done(String(e)));
"""


def main():
    url, title, text = sys.argv[1:4]
    profile = tempfile.mkdtemp(prefix="brenzo-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--user-data-dir=" + profile):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    faults = []
    try:
        driver.set_page_load_timeout(60)
        driver.set_script_timeout(30)
        driver.get(url)
        WebDriverWait(driver, 30).until(
            lambda d: d.execute_script("return Array.from(document.images).every(i => i.complete)"))
        print("TITLE " + driver.title)
        if driver.title != title:
            faults.append("title")
        if text not in driver.find_element(By.TAG_NAME, "body").text:
            faults.append("central text")
        pictures = driver.execute_script(
            "return Array.from(document.images).map(i => [i.src, i.naturalWidth])")
        for source, width in pictures:
            print("PICTURE %s %d" % (source, width))
            if width <= 0:
                faults.append("picture " + source)
        addresses = driver.execute_script("""
            const embed = document.querySelector("embed");
            return [new URL(document.body.getAttribute("background"), document.baseURI).href,
                    embed ? embed.src : "(no sound)"];""")
        for address in addresses:
            status = driver.execute_async_script(STATUS, address)
            print("ADDRESS %s %s" % (address, status))
            if status != 200:
                faults.append("address " + address)
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
