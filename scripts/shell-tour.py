#!/usr/bin/env python3
"""Vorlane's own windows as a user meets them, on a private X server with a window manager.

The tour starts Vorlane on an empty home and goes through, in order: the onboarding rising in
(screenshots 0, 100 and 400 ms after its window appears), "Continue" (the onboarding is stored as
completed and the main window comes forward), a second start without the onboarding, the desktop entry's window commands handed to the
running Vorlane, the gear
opening the preferences, Ctrl+Alt+K recorded there summoning the window and showing in the tray
menu, "Dark" turning the open window dark at once, auto-hide hiding the window when another
window is clicked, and the preferences, onboarding and About windows in both looks.

Each step prints "ok" or "FAILED" and what it saw; the screenshots go to the output folder.

Usage: scripts/shell-tour.py [--vorlane PATH] [--out DIR] [--window-manager openbox|metacity]
Needs Xvfb, a window manager, xdotool, xwininfo and dbus-run-session; trayer for the tray steps.
The session's folder (logs, the home) is removed unless a step failed or VORLANE_TOUR_KEEP is set.
A VorlaneHelper the same user left running elsewhere makes Vorlane take its start for a start at
login and keep the main window hidden: stop it first.
"""

import argparse
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCREEN = (1280, 860)
ONBOARDING = "Welcome to Vorlane"
PREFERENCES = "Vorlane Preferences"
ABOUT = "About Vorlane"
MAIN = "Vorlane"
CONTINUE_BLUE = (28, 140, 242)
# The Carbon key code of K, as the shortcut is stored.
KEY_K = 40

failures = []


def report(ok, what):
    print(("ok      " if ok else "FAILED  ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def wait_until(condition, timeout=20.0, interval=0.05):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def run(*arguments, timeout=20):
    try:
        return subprocess.run(arguments, capture_output=True, text=True, timeout=timeout).stdout
    except (subprocess.TimeoutExpired, OSError):
        return ""


# --- The screen, read from the frame buffer file Xvfb keeps -------------------------------------

class Screen:
    def __init__(self, path):
        self.path = path

    def grab(self):
        with open(self.path, "rb") as f:
            data = f.read()
        header = struct.unpack(">25I", data[:100])
        header_size, width, height = header[0], header[4], header[5]
        bits_per_pixel, bytes_per_line, ncolors = header[11], header[12], header[19]
        if bits_per_pixel != 32:
            raise RuntimeError("the frame buffer is not 32 bits a pixel")
        start = header_size + 12 * ncolors
        return Image(width, height, bytes_per_line, data[start:start + bytes_per_line * height])


class Image:
    def __init__(self, width, height, stride, pixels):
        self.width, self.height, self.stride, self.pixels = width, height, stride, pixels

    def pixel(self, x, y):
        i = y * self.stride + x * 4
        b, g, r = self.pixels[i], self.pixels[i + 1], self.pixels[i + 2]
        return r, g, b

    def lightness(self, x, y):
        r, g, b = self.pixel(x, y)
        return (max(r, g, b) + min(r, g, b)) // 2

    def find(self, area, matches):
        """The bounding box (x, y, w, h) of the pixels in area that match, or None."""
        x0, y0, w, h = clip(area, self.width, self.height)
        xs, ys = [], []
        for y in range(y0, y0 + h, 2):
            for x in range(x0, x0 + w, 2):
                if matches(self.pixel(x, y)):
                    xs.append(x)
                    ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1

    def save(self, path, area):
        x0, y0, w, h = clip(area, self.width, self.height)
        rows = bytearray()
        for y in range(y0, y0 + h):
            rows.append(0)
            line = self.pixels[y * self.stride + x0 * 4:y * self.stride + (x0 + w) * 4]
            for i in range(0, len(line), 4):
                rows += bytes((line[i + 2], line[i + 1], line[i]))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(bytes(rows), 6)))
            f.write(chunk(b"IEND", b""))


def free_display():
    """A display number no X server has taken (servers of other sessions may come and go)."""
    for number in range(60, 200):
        if not (os.path.exists("/tmp/.X11-unix/X%d" % number) or
                os.path.exists("/tmp/.X%d-lock" % number)):
            return number
    raise RuntimeError("no free display number")


def clip(area, width, height):
    x, y, w, h = area
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(width, x + w), min(height, y + h)
    return x0, y0, max(0, x1 - x0), max(0, y1 - y0)


def close_to(colour, tolerance=14):
    return lambda p: all(abs(a - b) <= tolerance for a, b in zip(p, colour))


# --- Windows, keys and the mouse through xdotool ----------------------------------------------

def windows(title):
    out = run("xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(title) + "$")
    return [int(line) for line in out.split()]


def window(title):
    """The visible window of that title; the tray icon's small window does not count."""
    for found in windows(title):
        if geometry(found)[2] > 64:
            return found
    return 0


def geometry(window_id):
    out = run("xwininfo", "-id", str(window_id))
    values = {}
    for key, name in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"),
                      ("w", "Width"), ("h", "Height")):
        match = re.search(name + r":\s+(-?\d+)", out)
        values[key] = int(match.group(1)) if match else 0
    return values["x"], values["y"], values["w"], values["h"]


def focused():
    out = run("xdotool", "getwindowfocus")
    return int(out) if out.strip().isdigit() else 0


def keys(*combination):
    run("xdotool", "key", "--clearmodifiers", *combination)
    time.sleep(0.15)


def click(x, y, button=1):
    run("xdotool", "mousemove", str(x), str(y), "click", str(button))
    time.sleep(0.15)


def framed(area, margin=16, title_bar=32):
    x, y, w, h = area
    return x - margin, y - title_bar, w + 2 * margin, h + title_bar + margin


# --- The session: X server, bus, window manager, tray ------------------------------------------

class Session:
    def __init__(self, window_manager):
        self.processes = []
        self.folder = tempfile.mkdtemp(prefix="vorlane-tour-")
        fbdir = os.path.join(self.folder, "fb")
        os.mkdir(fbdir)
        display = free_display()
        xvfb = subprocess.Popen(
            ["Xvfb", ":%d" % display, "-screen", "0", "%dx%dx24" % SCREEN, "-fbdir", fbdir,
             "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=open(os.path.join(self.folder, "Xvfb.log"), "w"))
        self.processes.append(xvfb)
        if not wait_until(lambda: os.path.exists("/tmp/.X11-unix/X%d" % display), 30):
            raise RuntimeError("Xvfb did not start")
        os.environ["DISPLAY"] = ":%d" % display
        os.environ.pop("WAYLAND_DISPLAY", None)
        self.screen = Screen(os.path.join(fbdir, "Xvfb_screen0"))
        self.start([window_manager])
        time.sleep(1.0)
        self.tray = shutil.which("trayer") is not None
        if self.tray:
            self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                        "--width", "120", "--height", "28", "--SetDockType", "true",
                        "--transparent", "false", "--tint", "0xdddddd"])
            time.sleep(0.5)

    def start(self, command):
        log = open(os.path.join(self.folder, os.path.basename(command[0]) + ".log"), "a")
        process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
        if not failures and not os.environ.get("VORLANE_TOUR_KEEP"):
            shutil.rmtree(self.folder, ignore_errors=True)


class Vorlane:
    """Vorlane on a home of its own, empty at first."""

    def __init__(self, executable, session, out):
        self.executable, self.session, self.out = executable, session, out
        self.home = os.path.join(session.folder, "home")
        os.makedirs(self.home)
        self.process = None
        self.starts = 0

    def environment(self):
        env = dict(os.environ)
        env.update(HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local/share"),
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"), QT_QPA_PLATFORM="xcb")
        for name in ("DESKTOP_STARTUP_ID", "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE"):
            env.pop(name, None)
        return env

    def start(self):
        self.starts += 1
        log = open(os.path.join(self.out, "vorlane-%d.log" % self.starts), "w")
        self.process = subprocess.Popen([self.executable], env=self.environment(), stdout=log,
                                        stderr=subprocess.STDOUT)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
        self.process = None

    def add_documents(self):
        """A text editor that recorded two documents in the desktop's shared history."""
        data = os.path.join(self.home, ".local/share")
        os.makedirs(os.path.join(data, "applications"), exist_ok=True)
        with open(os.path.join(data, "applications/org.example.Editor.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Text Editor\nExec=true %U\n"
                    "Icon=accessories-text-editor\n")
        folder = os.path.join(self.home, "Documents")
        os.makedirs(folder, exist_ok=True)
        stamp = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime())
        bookmarks = []
        for name in ("Notes.txt", "Plans.txt"):
            path = os.path.join(folder, name)
            with open(path, "w") as f:
                f.write("A document of the tour.\n")
            bookmarks.append(
                '<bookmark href="file://%s" added="%s" modified="%s" visited="%s"><info>'
                '<metadata owner="http://freedesktop.org"><mime:mime-type type="text/plain"/>'
                '<bookmark:applications><bookmark:application name="Text Editor" '
                'exec="&apos;true %%u&apos;" modified="%s" count="1"/></bookmark:applications>'
                '</metadata></info></bookmark>' % (path, stamp, stamp, stamp, stamp))
        with open(os.path.join(data, "recently-used.xbel"), "w") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n<xbel version="1.0" '
                    'xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" '
                    'xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">'
                    + "".join(bookmarks) + "</xbel>\n")

    def setting(self, key):
        try:
            with open(os.path.join(self.home, ".config/ostrel/Vorlane.conf")) as f:
                text = f.read()
        except OSError:
            return None
        match = re.search("^" + re.escape(key) + "=(.*)$", text, re.MULTILINE)
        return match.group(1) if match else None


# --- The tour -------------------------------------------------------------------------------------

class Tour:
    def __init__(self, vorlane, session, out):
        self.vorlane, self.session, self.out = vorlane, session, out

    def shot(self, name, area):
        path = os.path.join(self.out, name + ".png")
        self.session.screen.grab().save(path, area)
        print("        screenshot " + path, flush=True)

    def shot_window(self, name, title):
        window_id = window(title)
        if window_id:
            self.shot(name, framed(geometry(window_id)))

    def first_start(self):
        self.vorlane.start()
        onboarding = wait_until(lambda: window(ONBOARDING), 60, 0.005)
        if not report(bool(onboarding), "a first start opens the onboarding"):
            return
        appeared = time.monotonic()
        frames = []
        for due in (0.0, 0.1, 0.4):
            time.sleep(max(0.0, appeared + due - time.monotonic()))
            frames.append((due, self.session.screen.grab()))
        area = framed(geometry(onboarding))
        for due, image in frames:
            image.save(os.path.join(self.out, "onboarding-rise-%03dms.png" % (due * 1000)), area)
        print("        screenshots onboarding-rise-000ms, -100ms, -400ms", flush=True)
        time.sleep(2.0)
        self.shot("onboarding-light", area)

    def press_continue(self):
        onboarding = window(ONBOARDING)
        x, y, w, h = geometry(onboarding)
        button = self.session.screen.grab().find((x, y, w, h), close_to(CONTINUE_BLUE))
        if not report(button is not None, "the Continue button is drawn in its blue"):
            return
        bx, by, bw, bh = button
        click(bx + bw // 2, by + bh // 2)
        report(wait_until(lambda: not window(ONBOARDING)), "Continue closes the onboarding")
        report(wait_until(lambda: self.vorlane.setting("OnboardingCompleted") == "true"),
               "Continue stores OnboardingCompleted = true")
        main = wait_until(lambda: window(MAIN))
        report(bool(main) and wait_until(lambda: focused() == main),
               "the main window comes forward with the focus")

    def second_start(self):
        self.vorlane.stop()
        # From here on the window has documents to show, and its toolbar.
        self.vorlane.add_documents()
        self.vorlane.start()
        main = wait_until(lambda: window(MAIN), 60)
        report(bool(main), "the second start shows the main window")
        time.sleep(3.0)
        report(not window(ONBOARDING), "the second start shows no onboarding")
        self.shot_window("main-light", MAIN)

    def desktop_actions(self):
        # The window elsewhere first (and, for the reset, at another size).
        for argument, size in (("--reset-window-size", (780, 440)), ("--center-window", None)):
            main = window(MAIN)
            if size:
                run("xdotool", "windowsize", str(main), "640", "400")
            run("xdotool", "windowmove", str(main), "30", "60")
            wait_until(lambda: geometry(window(MAIN))[:2] == (30, 60))
            expected = size or geometry(window(MAIN))[2:]
            later = subprocess.run([self.vorlane.executable, argument],
                                   env=self.vorlane.environment(), capture_output=True, timeout=60)
            centred = wait_until(lambda: self.centred(window(MAIN), expected))
            report(later.returncode == 0 and bool(centred),
                   "Vorlane %s hands over and frames the window at %dx%d in the middle (%s)"
                   % (argument, expected[0], expected[1], geometry(window(MAIN))))
            time.sleep(0.5)

    @staticmethod
    def centred(window_id, size):
        x, y, w, h = geometry(window_id)
        # The window manager's frame puts the client a title bar lower than the frame's middle.
        return ((w, h) == tuple(size) and abs(x + w / 2 - SCREEN[0] / 2) <= 2 and
                abs(y + h / 2 - SCREEN[1] / 2) <= 30)

    def gear(self):
        main = window(MAIN)
        x, y, w, h = geometry(main)
        # The preferences button sits in the 90 x 32 toolbar in the bottom-right corner.
        click(x + w - 90 + 75, y + h - 32 + 15)
        opened = wait_until(lambda: window(PREFERENCES))
        if report(bool(opened), "the gear opens the preferences"):
            wait_until(lambda: focused() == opened)
            time.sleep(0.3)
            self.shot_window("preferences-light", PREFERENCES)

    def record_shortcut(self):
        keys("alt+s")
        time.sleep(0.3)
        keys("ctrl+alt+k")
        stored = wait_until(lambda: '"carbonKeyCode\\":%d' % KEY_K in (
            self.vorlane.setting("HotKeys_toggleApp") or ""))
        report(bool(stored), "recording Ctrl+Alt+K stores it (%s)" %
               self.vorlane.setting("HotKeys_toggleApp"))
        time.sleep(0.3)
        self.shot_window("preferences-recorded", PREFERENCES)

    def summon(self):
        main = window(MAIN)
        keys("ctrl+alt+k")
        report(wait_until(lambda: focused() == main), "Ctrl+Alt+K brings the window forward")
        keys("ctrl+alt+k")
        report(wait_until(lambda: not window(MAIN)), "Ctrl+Alt+K again hides it")
        keys("ctrl+alt+k")
        report(wait_until(lambda: window(MAIN) and focused() == window(MAIN)),
               "and once more shows it with the focus")

    def tray_menu(self, name, picks=None):
        """Opens the tray menu; picks is the number of Down presses to the item to choose."""
        if not self.session.tray:
            print("        (no trayer: tray steps skipped)")
            return False
        # Vorlane's icon is a small window of its own, embedded in the tray.
        tree = run("xwininfo", "-root", "-tree")
        embedded = r'"Vorlane": \("Vorlane" "Vorlane"\)\s+(\d+)x(\d+)\S*\s+\+(-?\d+)\+(-?\d+)'
        icon = None
        for match in re.finditer(embedded, tree):
            w, h, x, y = (int(value) for value in match.groups())
            if w <= 64 and h <= 64 and x >= 0:
                icon = (x, y, w, h)
        if not report(icon is not None, "Vorlane's icon shows in the tray"):
            return False
        ix, iy, iw, ih = icon
        click(ix + iw // 2, iy + ih // 2, 3)
        time.sleep(0.8)
        if name:
            self.shot(name, (SCREEN[0] - 420, 0, 420, 480))
        if picks is None:
            keys("Escape")
            return True
        for _ in range(picks):
            keys("Down")
        keys("Return")
        return True

    def tray_shows_shortcut(self):
        if self.tray_menu("tray-menu"):
            print("        the tray menu's open item should read Ctrl+Alt+K: see tray-menu.png")

    def dark(self):
        self.bring_preferences()
        main = window(MAIN)
        x, y, w, h = geometry(main)
        sample = (x + 40, y + h - 40)
        before = self.session.screen.grab().lightness(*sample)
        keys("alt+a")
        keys("d")
        darkened = wait_until(lambda: self.session.screen.grab().lightness(*sample) < 90)
        report(bool(darkened) and before > 160,
               "choosing Dark turns the open window dark at once (lightness %d, then %d)"
               % (before, self.session.screen.grab().lightness(*sample)))
        report(self.vorlane.setting("Appearance") == "dark", "Dark is stored")
        time.sleep(0.4)
        self.shot_window("preferences-dark", PREFERENCES)
        self.shot_window("main-dark", MAIN)

    def bring_preferences(self):
        if not window(MAIN):
            keys("ctrl+alt+k")
            wait_until(lambda: window(MAIN))
        x, y, w, h = geometry(window(MAIN))
        click(x + w - 90 + 75, y + h - 32 + 15)
        wait_until(lambda: window(PREFERENCES) and focused() == window(PREFERENCES))
        time.sleep(0.3)

    def other_windows(self, look):
        # In the tray menu: Open, List, Grid, Center, Reset, Preferences, Welcome, About.
        if self.tray_menu(None, 8):
            if report(bool(wait_until(lambda: window(ABOUT))), "the tray menu opens About"):
                time.sleep(0.5)
                self.shot_window("about-" + look, ABOUT)
                keys("alt+F4")
                wait_until(lambda: not window(ABOUT))
        if look == "dark" and self.tray_menu(None, 7):
            if report(bool(wait_until(lambda: window(ONBOARDING))),
                      "the tray menu opens the onboarding again"):
                time.sleep(2.0)
                self.shot_window("onboarding-" + look, ONBOARDING)
                keys("alt+F4")
                wait_until(lambda: not window(ONBOARDING))

    def light_again(self):
        self.bring_preferences()
        keys("alt+a")
        keys("l")
        report(wait_until(lambda: self.vorlane.setting("Appearance") == "light"),
               "Light is stored")

    def auto_hide(self):
        self.bring_preferences()
        keys("alt+f")
        report(wait_until(lambda: self.vorlane.setting("AutoHideWindow") == "true"),
               "ticking auto-hide stores it")
        main = window(MAIN)
        x, y, w, h = geometry(main)
        # Clicking the main window: the preferences stop being main and the mode applies.
        click(x + 40, y + h // 2)
        panel = wait_until(lambda: window(MAIN) and focused() == window(MAIN))
        report(bool(panel), "the window takes the focus as a panel")
        other = self.session.start(["xmessage", "-geometry", "+40+60", "Another program"])
        shown = wait_until(lambda: window("xmessage"))
        if shown:
            ox, oy, ow, oh = geometry(shown)
            click(ox + 20, oy + 10)
        report(wait_until(lambda: not window(MAIN)),
               "with auto-hide the window hides when another window is clicked")
        self.shot("auto-hidden", (0, 0) + SCREEN)
        other.terminate()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--vorlane", default=os.path.join(
        TOP, "build/dev/Vorlane.app/Contents/MacOS/Vorlane"))
    parser.add_argument("--out", default=os.path.join(TOP, "build/dev/tour"))
    parser.add_argument("--window-manager", default="openbox")
    arguments = parser.parse_args()
    if not os.environ.get("VORLANE_TOUR_IN_SESSION"):
        os.environ["VORLANE_TOUR_IN_SESSION"] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv)
    os.makedirs(arguments.out, exist_ok=True)
    session = Session(arguments.window_manager)
    vorlane = Vorlane(os.path.abspath(arguments.vorlane), session, arguments.out)
    tour = Tour(vorlane, session, arguments.out)
    try:
        tour.first_start()
        tour.press_continue()
        tour.second_start()
        tour.desktop_actions()
        tour.gear()
        tour.record_shortcut()
        tour.summon()
        tour.tray_shows_shortcut()
        tour.other_windows("light")
        tour.dark()
        tour.other_windows("dark")
        tour.light_again()
        tour.auto_hide()
    finally:
        vorlane.stop()
        session.close()
    print("%d step(s) failed" % len(failures) if failures else "every step passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
