#!/usr/bin/env python3
"""The installed program used as a new user would: every button of the bar pressed with the
mouse through the X server, and each one's effect looked for on the desktop.

Installs with tidybar-setup.exe into a fresh prefix, starts the bar through its Start-menu
entry, and removes it again at the end.
usage: e2e_test.py BUILD_DIR SOURCE_DIR WORK_DIR
"""
import os
import struct
import sys
import time

from winsession import Failure, WineSession, poll, resource_ids

START_MENU_ENTRY = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tidybar\Tidybar.lnk"
SELTIME = 2  # seconds a category window stays


def silent_mp3(path, seconds):
    """Frames of silence (MPEG-1 layer III, 128 kbit/s, 44.1 kHz, joint stereo): long enough
    to watch the player pause and stop while it plays."""
    header = struct.pack(">I", 0xFFFB9040)
    frame = header + bytes(417 - len(header))
    frames = int(seconds * 44100 / 1152)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(frame * frames)


def seconds_of(clock):
    minutes, _, secs = clock.partition(":")
    return int(minutes) * 60 + int(secs)


class Bar:
    def __init__(self, wine, ids):
        self.wine, self.ids = wine, ids
        self.window = poll("the bar", self.find, timeout=30)

    def find(self):
        for w in self.wine.top_windows():
            if w.cls == "#32770" and any(c.id == self.ids["IDC_CALENDAR"] and c.text == "Calendar"
                                         for c in self.wine.children(w)):
                return w
        return None

    def press(self, name):
        self.wine.click_control(self.window, self.ids[name])

    def display(self):
        """The player display, "position--length"."""
        return self.wine.text(self.window, self.ids["IDC_TIME_DISPLAY"]) or ""

    def position(self):
        text = self.display()
        return seconds_of(text.split("--")[0]) if "--" in text else -1

    def length(self):
        text = self.display()
        return seconds_of(text.split("--")[1]) if "--" in text else -1

    def owns(self, window):
        return self.wine.owner(window) == self.window.hwnd


class EndToEnd:
    def __init__(self, wine, ids, work):
        self.wine, self.ids, self.work = wine, ids, work
        self.done = []

    def step(self, what, action):
        started = time.monotonic()
        action()
        print("ok    %s (%.1f s)" % (what, time.monotonic() - started), flush=True)
        self.done.append(what)

    def opens(self, name, what, match, close=None):
        """Press `name`; a new window owned by the bar comes that match() accepts; close it
        (by a click on control `close`, else by a close message) and see it go."""
        before = self.wine.top_windows()
        self.bar.press(name)
        window = self.wine.new_window(before, what, match)
        if not self.bar.owns(window):
            raise Failure("%s is not owned by the bar" % what)
        if close is not None:
            self.wine.click_control(window, self.ids[close])
        else:
            self.wine.post_close(window)
        poll(what + " to close", lambda: not self.wine.is_window(window))
        return window

    def has_child(self, window, cls=None, text=None):
        return any((cls is None or c.cls == cls) and (text is None or c.text == text)
                   for c in self.wine.children(window))

    def categories(self):
        titles = {"IDC_VIDEO": "Video", "IDC_AUDIO": "Audio", "IDC_OFFICE": "Office", "IDC_INTERNET": "Internet",
                  "IDC_GRAPHIC": "Graphics", "IDC_PROGRAM": "Program", "IDC_SYSTEM": "System", "IDC_PHOTOS": "Photos"}
        folders = {"Video": "VIDEO", "Audio": "AUDIO", "Office": "OFFICE", "Internet": "INTERNET",
                   "Graphics": "GRAPHICS", "Program": "PROGRAMS", "System": "SYSTEM", "Photos": "PHOTOS"}
        opened = []
        for name, title in titles.items():
            before = self.wine.top_windows()
            self.bar.press(name)
            window = self.wine.new_window(before, "the %s window" % title, lambda w: w.title == title)
            if not self.bar.owns(window):
                raise Failure("the %s window is not owned by the bar" % title)
            expected = len(os.listdir(self.wine.drive_c("tyb", "TYBICONS", folders[title])))
            poll("the %s window to list its %d shortcuts" % (title, expected),
                 lambda: self.list_count(window) == expected)
            opened.append(window)
        # Each one goes by itself after seltime seconds.
        for window in opened:
            poll("%s to close by itself" % window.title, lambda: not self.wine.is_window(window), timeout=SELTIME + 10)

    def list_count(self, window):
        lists = [c for c in self.wine.children(window) if c.cls == "SysListView32"]
        return self.wine.items(lists[0].hwnd) if lists else -1

    def note(self):
        before = self.wine.top_windows()
        self.bar.press("IDC_NOTE")
        window = self.wine.new_window(before, "the note",
                                      lambda w: w.cls == "#32770" and self.has_child(w, text="Save and Close"))
        self.wine.click_control(window, self.ids["IDC_NOTE_TEXT"])
        self.wine.type_text("call the dentist")
        self.wine.click_control(window, self.ids["IDC_NOTE_SAVE_CLOSE"])
        poll("the note to close", lambda: not self.wine.is_window(window))
        note = self.wine.drive_c("tyb", "note1.txt")
        poll("note1.txt to hold the typed text",
             lambda: os.path.isfile(note) and open(note, "rb").read().startswith(b"call the dentist"))

    def player(self):
        long_mp3 = self.wine.drive_c("e2e", "long.mp3")
        silent_mp3(long_mp3, 120)
        before = self.wine.top_windows()
        self.bar.press("IDC_OPEN")
        dialog = self.wine.new_window(before, "the Open dialog", lambda w: w.title == "Open")
        self.wine.type_text("C:\\e2e\\long.mp3")
        self.wine.key("Return")
        poll("the Open dialog to close", lambda: not self.wine.is_window(dialog))
        poll("the display to show the opened file's length (2 minutes)", lambda: 118 <= self.bar.length() <= 121)
        self.advancing("after Open")

        self.bar.press("IDC_PAUSE")
        self.still("after Pause")
        self.bar.press("IDC_PLAY")
        self.advancing("after Play")
        self.bar.press("IDC_STOP")
        poll("Stop to go back to the start", lambda: self.bar.position() == 0)
        self.still("after Stop")
        self.bar.press("IDC_PLAY")
        self.advancing("after Play from the start")
        self.bar.press("IDC_STOP")
        poll("Stop to go back to the start", lambda: self.bar.position() == 0)

    def playlist(self):
        """The arrow plays the saved playlist from its first song; >> moves on to the next."""
        songs = [("one.mp3", 60), ("two.mp3", 90)]
        lines = []
        for name, seconds in songs:
            silent_mp3(self.wine.drive_c("e2e", name), seconds)
            lines.append("C:\\e2e\\" + name)
        with open(self.wine.drive_c("tyb", "playlist.m3u"), "w", newline="") as out:
            out.write("\r\n".join(lines) + "\r\n")
        self.bar.press("IDC_PLAY_PLAYLIST")
        poll("the first song (1 minute) to play", lambda: 58 <= self.bar.length() <= 61)
        self.advancing("in the first song")
        self.bar.press("IDC_SKIP")
        poll("the second song (1.5 minutes) to play", lambda: 88 <= self.bar.length() <= 91)
        self.advancing("in the second song")
        self.bar.press("IDC_STOP")
        poll("Stop to go back to the start", lambda: self.bar.position() == 0)

    def advancing(self, when):
        first = self.bar.position()
        poll("the position to move " + when, lambda: self.bar.position() > first, timeout=8)

    def still(self, when):
        # The display settles within one progress tick; then it must not move for a while.
        time.sleep(0.5)
        first = self.bar.display()
        deadline = time.monotonic() + 2.0
        while time.monotonic() < deadline:
            if self.bar.display() != first:
                raise Failure("the display moved %s: %s then %s" % (when, first, self.bar.display()))
            time.sleep(0.2)

    def calendar_and_tray(self):
        before = self.wine.top_windows()
        self.bar.press("IDC_CALENDAR")
        calendar = self.wine.new_window(before, "the calendar", lambda w: w.cls == "Tidybar.Calendar", timeout=15)
        # The calendar is in front now; a double click on the tray icon brings the bar back.
        poll("the calendar in front", lambda: self.wine.foreground() == calendar.hwnd)
        self.wine.click(self.tray_icon_point(), count=2)
        poll("the bar in front after a double click on the tray icon",
             lambda: self.wine.foreground() == self.bar.window.hwnd)
        self.wine.post_close(calendar)
        poll("the calendar to close", lambda: not self.wine.is_window(calendar))

    def tray_icon_point(self):
        """A point of our tray icon that the bar does not cover."""
        tray = next((w for w in self.wine.top_windows() if w.cls == "__winex11_standalone_tray"), None)
        icons = [c for c in self.wine.children(tray) if c.cls == "__winex11_tray_icon"] if tray else []
        if not icons:
            raise Failure("no tray icon")
        left, top, right, bottom = icons[0].rect
        bar_left = self.bar.window.rect[0]
        x = (left + min(right, bar_left)) // 2 if left < bar_left else (left + right) // 2
        return x, (top + bottom) // 2

    def close(self, bar_process):
        self.bar.press("IDC_CLOSE_BAR")
        poll("the program to end", lambda: bar_process.poll() is not None, timeout=15)
        marker = self.wine.reg_values(r"HKCU\Software\Glade Inc.\tyb\Settings") or {}
        if marker.get("ronce") != ("REG_DWORD", "0x1"):
            raise Failure("Close did not write ronce = 1 (found %s)" % marker.get("ronce"))

    def sound_over(self):
        """A condition true once the 2 s start-up sound has ended: its last second shows, or the
        display is back at the start after a later position (a slow poll can miss the end)."""
        seen = set()

        def over():
            shown = self.bar.display()
            seen.add(shown)
            later = any(s.endswith("--0:02") and not s.startswith("0:00") for s in seen)
            return shown == "0:02--0:02" or (shown == "0:00--0:02" and later)
        return over

    def run(self, setup):
        wine = self.wine
        wine.run("wine", setup, "/S")
        if not os.path.isfile(wine.drive_c("tyb", "tidybar.exe")):
            raise Failure("the setup installed nothing")
        wine.reg_add(r"HKCU\Software\Farrowind\tyb\Settings", "seltime", "REG_DWORD", SELTIME)
        bar_process = wine.start("wine", "start", "/wait", START_MENU_ENTRY)
        self.bar = Bar(wine, self.ids)
        print("ok    the bar starts from its Start-menu entry", flush=True)
        # The start-up sound plays first; the player checks want it over.
        poll("the start-up sound to end", self.sound_over(), timeout=15)

        self.step("each category window opens, lists its folder and goes", self.categories)
        self.step("Opt. opens the options window", lambda: self.opens(
            "IDC_OPTIONS", "TYB Options", lambda w: w.title == "TYB Options", close="IDC_OPTIONS_CLOSE"))
        self.step("Help opens the help window", lambda: self.opens(
            "IDC_HELP_BUTTON", "the help window", lambda w: self.has_child(w, cls="RichEdit20A"),
            close="IDC_HELP_CLOSE"))
        self.step("Note opens the note, which keeps what is typed", self.note)
        self.step("PlayList opens the playlist editor", lambda: self.opens(
            "IDC_PLAYLIST", "TYB Playlist Editor", lambda w: w.title == "TYB Playlist Editor",
            close="IDC_PLAYLIST_CLOSE"))
        self.step("Open, Pause, Play and Stop drive the player", self.player)
        self.step("the playlist arrow plays the saved list and >> skips to the next song", self.playlist)
        self.step("Calendar starts the calendar; the tray icon's double click brings the bar to the front",
                  self.calendar_and_tray)
        self.step("Close ends the program and writes its marker", lambda: self.close(bar_process))


def main():
    build, source, work = sys.argv[1:4]
    wine = WineSession(os.path.join(work, "e2e-prefix"), os.path.join(work, "e2e-home"),
                       os.path.join(build, "tests", "setup", "winprobe.exe"))
    started = time.monotonic()
    ok = False
    try:
        wine.boot()
        EndToEnd(wine, resource_ids(source), work).run(os.path.join(build, "tidybar-setup.exe"))
        ok = True
    except Failure as failure:
        print("FAIL  " + str(failure), flush=True)
        shot = os.path.join(work, "e2e-failure.png")
        os.system("import -window root '%s' 2>/dev/null" % shot)
        print("      screenshot: " + shot)
    finally:
        wine.close(remove=ok)
    print("end-to-end run: %.0f s" % (time.monotonic() - started))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
