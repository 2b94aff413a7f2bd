#!/usr/bin/python3
"""The browser player of a finished disc, in headless Chromium, opened from file:// as a viewer would.

The disc and what the native player makes of it come from the presentation tests (expected.json): the pages the
native player reaches from the first page, and three pages as it draws them. This test plays the disc with real
pointer and key input: the start screen, every page reached by clicking navigation areas (breadth first), a hover
picture, a slide show that advances and cross-fades, the sound button, picture parity with the native player, and
no message on the browser's console.

    player_test.py EXPECTED_JSON
"""

import io
import json
import os
import shutil
import sys
import tempfile
import time
from collections import deque

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

PAGE_WIDTH, PAGE_HEIGHT = 1024, 768
FAILURES = []
PASSED = []


def check(condition, message):
    print(("ok    " if condition else "FAIL  ") + message, flush=True)
    (PASSED if condition else FAILURES).append(message)
    return condition


def wait_for(predicate, seconds=5.0, step=0.05):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Browser:
    def __init__(self, profile):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", "--force-device-scale-factor=1", "--hide-scrollbars",
                     "--user-data-dir=" + profile, "--window-size=1024,768"):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        # The window's size is set so that the page area is exactly one stage at scale 1.
        inner = self.driver.execute_script("return [window.innerWidth, window.innerHeight];")
        outer = self.driver.get_window_size()
        self.driver.set_window_size(outer["width"] + PAGE_WIDTH - inner[0], outer["height"] + PAGE_HEIGHT - inner[1])

    def state(self):
        return self.driver.execute_script("return window.VelloraPlayer.state();")

    def album(self):
        return self.driver.execute_script("return window.VELLORA_ALBUM;")

    def point(self, x, y):
        """Moves the pointer to page pixel (x, y); the stage is at scale 1 in the top-left corner."""
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(int(x), int(y))
        actions.perform()

    def click(self, x, y):
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(int(x), int(y))
        actions.pointer_action.click()
        actions.perform()

    def swipe(self, x0, x1, y):
        """A finger moved across the screen from x0 to x1."""
        actions = ActionBuilder(self.driver, mouse=PointerInput(interaction.POINTER_TOUCH, "finger"))
        actions.pointer_action.move_to_location(x0, y).pointer_down().move_to_location((x0 + x1) // 2, y)
        actions.pointer_action.move_to_location(x1, y).pointer_up()
        actions.perform()

    def key(self, key):
        ActionChains(self.driver).send_keys(key).perform()

    def shown(self, index):
        """Whether the page element with this index is shown on the stage."""
        return self.driver.execute_script(
            "var node = document.querySelector('#stage .page > [data-index=\"' + arguments[0] + '\"]');"
            "return !!node && node.classList.contains('on');", str(int(index)))


def contains(rect, x, y):
    return rect[0] <= x <= rect[2] and rect[1] <= y <= rect[3]


def click_point(page, action_index):
    """A point inside the navigation area that no earlier area of the page covers (the first area found wins)."""
    rect = page["navi"][action_index]
    for fy in (0.5, 0.3, 0.7, 0.1, 0.9):
        for fx in (0.5, 0.3, 0.7, 0.1, 0.9):
            x = int(rect[0] + (rect[2] - rect[0]) * fx)
            y = int(rect[1] + (rect[3] - rect[1]) * fy)
            if not any(contains(other, x, y) for other in page["navi"][:action_index]):
                return x, y
    return None


def free_point(page):
    """A point of the stage under no pointer area of the page."""
    for y in range(PAGE_HEIGHT - 1, 0, -37):
        for x in range(PAGE_WIDTH - 1, 0, -41):
            if not any(contains(r, x, y) for r in page["mouse"] + page["navi"]):
                return x, y
    return PAGE_WIDTH - 1, PAGE_HEIGHT - 1


def go_along(browser, album, path):
    """From the first page (Home), clicks along a path of (page, navigation area) steps."""
    browser.key(Keys.HOME)
    wait_for(lambda: browser.state()["page"] == 0)
    for page_index, action_index in path:
        x, y = click_point(album["pages"][page_index], action_index)
        browser.click(x, y)
    return browser.state()


def explore(browser, album):
    """Breadth first from the first page over every navigation area; returns the pages reached and their paths."""
    paths = {0: []}
    queue = deque([0])
    while queue:
        index = queue.popleft()
        page = album["pages"][index]
        for action_index, action in enumerate(page["navi"]):
            point = click_point(page, action_index)
            if point is None:
                continue
            state = go_along(browser, album, paths[index])
            if state["page"] != index:
                check(False, "the path to page %d leads there again" % index)
                break
            browser.click(*point)
            state = browser.state()
            target = action[4]
            if target == -1:
                check(state["screen"] == "end", "page %d: the end area shows the closing screen" % index)
                browser.driver.find_element(By.ID, "again").click()
                check(browser.state()["screen"] == "album", "\"Play again\" starts the album again")
            elif target == -2:
                continue
            elif state["screen"] == "album" and state["page"] >= 0 and state["page"] not in paths:
                paths[state["page"]] = paths[index] + [(index, action_index)]
                queue.append(state["page"])
    return paths


def compare_pictures(web_png, native_png):
    web = Image.open(io.BytesIO(web_png)).convert("RGB")
    native = Image.open(native_png).convert("RGB")
    if web.size != native.size:
        return 0.0
    web_pixels, native_pixels = web.tobytes(), native.tobytes()
    close = 0
    for i in range(0, len(web_pixels), 3):
        if (abs(web_pixels[i] - native_pixels[i]) <= 8 and abs(web_pixels[i + 1] - native_pixels[i + 1]) <= 8
                and abs(web_pixels[i + 2] - native_pixels[i + 2]) <= 8):
            close += 1
    return close / (web.size[0] * web.size[1])


def main():
    with open(sys.argv[1], encoding="utf-8") as file:
        expected = json.load(file)
    profile = tempfile.mkdtemp(prefix="vellora-chromium-")
    browser = None
    try:
        browser = Browser(profile)
        driver = browser.driver
        started = time.monotonic()
        driver.get("file://" + os.path.join(expected["disc"], "index.html"))
        check(wait_for(lambda: driver.find_element(By.ID, "start").is_displayed()), "the start screen shows")
        check(driver.find_element(By.ID, "start-title").text == "Zo\u00eb & J\u00fcrgen",
              "the start screen names the couple: " + driver.find_element(By.ID, "start-title").text)
        album = browser.album()
        check(len(album["pages"]) == expected["pages"], "album.js holds every page")
        driver.find_element(By.ID, "play").click()
        state = wait_for(lambda: browser.state()["screen"] == "album" and browser.state())
        print("      first page after %.0f ms" % ((time.monotonic() - started) * 1000))
        check(state and state["page"] == 0, "Play shows the first page")
        check(abs(state["scale"] - 1.0) < 1e-6, "the stage fills the 1024 x 768 window at scale 1")

        # Keys: Right next, Left back, Home first.
        browser.key(Keys.ARROW_RIGHT)
        check(browser.state()["page"] == 1, "Right goes to the next page")
        browser.key(Keys.ARROW_LEFT)
        check(browser.state()["page"] == 0, "Left goes back")
        # Swipes on a touch screen: to the left for the next page, to the right for the one before.
        browser.swipe(900, 300, 700)
        check(browser.state()["page"] == 1, "a swipe to the left goes to the next page")
        browser.swipe(300, 900, 700)
        check(browser.state()["page"] == 0, "a swipe to the right goes back")
        browser.key(Keys.ARROW_RIGHT)
        driver.back()
        check(wait_for(lambda: browser.state()["page"] == 0), "the browser's Back button goes back a page")

        paths = explore(browser, album)
        check(sorted(paths) == sorted(expected["reached"]),
              "clicking reaches the pages the native player reaches: %s / %s" % (sorted(paths),
                                                                              sorted(expected["reached"])))

        # A hover picture: the pointer on an area of type 0 shows its element.
        for index, page in enumerate(album["pages"]):
            hover = [a for a in page["mouse"] if a[4] == 0]
            if hover and index in paths:
                go_along(browser, album, paths[index])
                browser.point(*free_point(page))
                action = hover[-1]
                browser.point((action[0] + action[2]) // 2, (action[1] + action[3]) // 2)
                state = browser.state()
                check(state["shownIndex"] == action[5] and browser.shown(action[5]),
                      "page %d: the hover picture shows under the pointer" % index)
                break
        else:
            check(False, "the album has a reachable hover picture")

        # A slide show advances after its interval and cross-fades.
        for index, page in enumerate(album["pages"]):
            if page["type"] == 1 and index in paths:
                go_along(browser, album, paths[index])
                first = browser.state()["slide"]
                changed = wait_for(lambda: browser.state()["slide"] != first and browser.state(),
                                   seconds=page["interval"] / 1000 + 2, step=0.02)
                check(bool(changed), "page %d: the slide show advances" % index)
                check(bool(changed) and changed["fading"], "page %d: the new slide cross-fades in" % index)
                check(wait_for(lambda: not browser.state()["fading"], seconds=2),
                      "page %d: the cross-fade ends" % index)
                break
        else:
            check(False, "the album has a reachable slide show")

        # The sound button switches its look (kind 4 while the sound is on, kind 5 while it is off).
        for index, page in enumerate(album["pages"]):
            sound = [i for i, a in enumerate(page["navi"]) if a[4] == -2]
            if sound and index in paths:
                go_along(browser, album, paths[index])
                kinds = [e["kind"] for e in page["elements"]]
                on_look = [i for i, k in enumerate(kinds) if k == 4]
                off_look = [i for i, k in enumerate(kinds) if k == 5]
                before = browser.state()["soundOn"]
                browser.click(*click_point(page, sound[0]))
                after = browser.state()["soundOn"]
                check(after != before, "page %d: the sound button switches the sound" % index)
                browser.point(*free_point(page))
                visible = on_look if after else off_look
                hidden = off_look if after else on_look
                check(any(browser.shown(i) for i in visible) and not any(browser.shown(i) for i in hidden),
                      "page %d: the sound button shows the look of the new state" % index)
                browser.click(*click_point(page, sound[0]))
                break
        else:
            check(False, "the album has a reachable sound button")

        # Picture parity with the native player.
        for item in expected["rendered"]:
            index = item["page"]
            go_along(browser, album, paths.get(index, []))
            if index not in paths:
                driver.execute_script("window.VelloraPlayer.goTo(arguments[0]);", index)
            browser.point(*free_point(album["pages"][index]))
            time.sleep(0.3)
            share = compare_pictures(driver.get_screenshot_as_png(), item["png"])
            check(share >= 0.99, "page %d looks as the native player draws it (%.2f%% of pixels within 8 levels)"
                  % (index, share * 100))

        messages = [entry for entry in driver.get_log("browser") if entry["level"] in ("SEVERE", "WARNING")]
        check(not messages, "no message on the browser's console: %s" % messages)
    finally:
        if browser:
            browser.driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
    print("web player: %d passed, %d failed" % (len(PASSED), len(FAILURES)))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
