#!/usr/bin/env python3
"""Takes the README's pictures: the installed bar, a category window, the options window, the
note and the playlist editor, each cut from the screen of a fresh install.
usage: screenshots.py BUILD_DIR SOURCE_DIR OUT_DIR (with DISPLAY set to a virtual screen)
"""
import os
import subprocess
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "setup"))
from winsession import WineSession, poll, resource_ids  # noqa: E402
from e2e_test import START_MENU_ENTRY, Bar  # noqa: E402


def shoot(window_rect, path):
    left, top, right, bottom = window_rect
    subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                    "+repage", "-strip", "-colors", "96", "-depth", "8", path], check=True)
    print("%s (%d bytes)" % (path, os.path.getsize(path)))


def opened(wine, bar, ids, button, match):
    before = wine.top_windows()
    bar.press(button)
    return wine.new_window(before, button, match)


def main():
    build, source, out = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    wine = WineSession(os.path.join(build, "screenshots-prefix"), os.path.join(build, "screenshots-home"),
                       os.path.join(build, "tests", "setup", "winprobe.exe"))
    ids = resource_ids(source)
    try:
        wine.boot()
        wine.run("wine", os.path.join(build, "tidybar-setup.exe"), "/S")
        process = wine.start("wine", "start", "/wait", START_MENU_ENTRY)
        bar = Bar(wine, ids)
        poll("the start-up sound to end", lambda: bar.display() == "0:02--0:02", timeout=15)
        shoot(bar.window.rect, os.path.join(out, "bar.png"))

        office = opened(wine, bar, ids, "IDC_OFFICE", lambda w: w.title == "Office")
        poll("the Office window's shortcuts", lambda: any(
            c.cls == "SysListView32" and wine.items(c.hwnd) >= 2 for c in wine.children(office)))
        subprocess.run(["sleep", "1"])  # the icons come a moment after the names
        shoot(office.rect, os.path.join(out, "selector.png"))
        wine.post_close(office)

        note = opened(wine, bar, ids, "IDC_NOTE", lambda w: any(c.text == "Save and Close" for c in wine.children(w)))
        wine.click_control(note, ids["IDC_NOTE_TEXT"])
        wine.type_text("Call the dentist on Monday")
        shoot(note.rect, os.path.join(out, "note.png"))
        wine.click_control(note, ids["IDC_NOTE_CLOSE"])

        options = opened(wine, bar, ids, "IDC_OPTIONS", lambda w: w.title == "TYB Options")
        subprocess.run(["sleep", "1"])
        shoot(options.rect, os.path.join(out, "options.png"))
        wine.click_control(options, ids["IDC_OPTIONS_CLOSE"])
        poll("the options window to close", lambda: not wine.is_window(options))

        editor = opened(wine, bar, ids, "IDC_PLAYLIST", lambda w: w.title == "TYB Playlist Editor")
        wine.click_control(editor, ids["IDC_PLAYLIST_FOLDER"])
        wine.type_text("C:\\tyb")
        wine.click_control(editor, ids["IDC_PLAYLIST_SEARCH"])
        subprocess.run(["sleep", "1"])
        shoot(editor.rect, os.path.join(out, "playlist.png"))
        wine.click_control(editor, ids["IDC_PLAYLIST_CLOSE"])
        poll("the playlist editor to close", lambda: not wine.is_window(editor))
        bar.press("IDC_CLOSE_BAR")
        poll("the program to end", lambda: process.poll() is not None, timeout=15)
    finally:
        wine.close(remove=True)


if __name__ == "__main__":
    main()
