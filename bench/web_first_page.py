#!/usr/bin/python3
"""Time from opening a finished disc's index.html in headless Chromium to its first page, shown complete.

    web_first_page.py DISC_FOLDER

Prints the time until the start screen is ready (the album's data and the player read) and the time from the
press on "Play" until every picture of the first page is decoded.
"""
import os
import shutil
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

FIRST_PAGE_READY = """
var done = arguments[arguments.length - 1];
var started = performance.now();
document.getElementById('play').click();
(function poll() {
  var images = document.querySelectorAll('#stage .page img');
  var ready = images.length > 0;
  for (var i = 0; i < images.length; ++i)
    ready = ready && images[i].complete;
  if (ready) done(performance.now() - started); else setTimeout(poll, 2);
})();
"""


def main():
    disc = sys.argv[1]
    profile = tempfile.mkdtemp(prefix="vellora-bench-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + profile, "--window-size=1280,1024"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        runs = []
        for _ in range(5):
            started = time.monotonic()
            driver.get("file://" + os.path.join(disc, "index.html"))
            driver.find_element(By.ID, "play")
            loaded = (time.monotonic() - started) * 1000
            first_page = driver.execute_async_script(FIRST_PAGE_READY)
            runs.append((loaded, first_page))
            driver.get("about:blank")
        runs.sort(key=lambda run: run[0] + run[1])
        loaded, first_page = runs[len(runs) // 2]
        print("browser: start screen ready %.0f ms after opening index.html, first page complete %.0f ms after "
              "Play (median of %d)" % (loaded, first_page, len(runs)))
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()
