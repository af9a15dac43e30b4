#!/usr/bin/env python3
"""tidybar-setup.exe installs and removes silently in a fresh Wine prefix.

Checked file by file and key by key: the setup exits 0 even when it did nothing (a 32-bit
setup on 64-bit-only Wine), so its exit code proves nothing. The user's note, playlist,
settings and category files stay through an uninstall unless asked to go.
usage: install_test.py BUILD_DIR SOURCE_DIR WORK_DIR
"""
import os
import shutil
import struct
import sys

from e2e_test import START_MENU_ENTRY, Bar
from winsession import Failure, WineSession, resource_ids

UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tidybar"
SETTINGS_KEY = r"HKCU\Software\Farrowind\tyb\Settings"
CATEGORIES = ["AUDIO", "GRAPHICS", "INTERNET", "OFFICE", "PHOTOS", "PROGRAMS", "SYSTEM", "VIDEO"]
START_MENU = ["ProgramData", "Microsoft", "Windows", "Start Menu", "Programs"]


class Checks:
    """Every check runs and says what it found; the test fails at the end if any failed."""

    def __init__(self):
        self.failed = []

    def check(self, ok, what):
        print(("ok    " if ok else "FAIL  ") + what, flush=True)
        if not ok:
            self.failed.append(what)


def pe_machine(path):
    with open(path, "rb") as exe:
        data = exe.read(4096)
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<H", data, offset + 4)[0]


def read(path, mode="rb"):
    with open(path, mode) as f:
        return f.read()


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def installed_files(build, source):
    return {
        "tidybar.exe": os.path.join(build, "tidybar.exe"),
        "tybCal.exe": os.path.join(build, "companions", "tybCal.exe"),
        "aboutTYB.exe": os.path.join(build, "companions", "aboutTYB.exe"),
        "simple.mp3": os.path.join(source, "res", "sound", "simple.mp3"),
    }


def check_installed(wine, checks, build, source):
    tyb = wine.drive_c("tyb")
    for name, built in installed_files(build, source).items():
        there = os.path.join(tyb, name)
        checks.check(os.path.isfile(there) and read(there) == read(built), "C:\\tyb\\%s is the built one" % name)
    checks.check(os.path.isfile(os.path.join(tyb, "Uninstall.exe")), "the uninstaller is in C:\\tyb")
    link = os.path.join(tyb, "Shortcuttotyb.exe.lnk")
    checks.check(os.path.isfile(link) and b"C:\\tyb\\tidybar.exe" in read(link),
                 "the Startup shortcut's source points at C:\\tyb\\tidybar.exe")
    for category in CATEGORIES:
        folder = os.path.join(tyb, "TYBICONS", category)
        links = [n for n in os.listdir(folder) if n.endswith(".lnk")] if os.path.isdir(folder) else []
        checks.check(len(links) >= 1, "TYBICONS\\%s holds shortcuts: %s" % (category, ", ".join(sorted(links))))
    for category, name, target in [("OFFICE", "Notepad", b"notepad.exe"), ("SYSTEM", "Command Prompt", b"cmd.exe"),
                                   ("SYSTEM", "Registry Editor", b"regedit.exe"),
                                   ("PROGRAMS", "Calendar", b"C:\\tyb\\tybCal.exe")]:
        path = os.path.join(tyb, "TYBICONS", category, name + ".lnk")
        checks.check(os.path.isfile(path) and target in read(path), "%s\\%s.lnk starts %s" % (category, name,
                                                                                             target.decode()))
    menu = wine.drive_c(*START_MENU, "Tidybar")
    for entry in ["Tidybar.lnk", "Tidybar calendar.lnk", "Uninstall Tidybar.lnk"]:
        checks.check(os.path.isfile(os.path.join(menu, entry)), "Start menu entry " + entry)

    values = wine.reg_values(UNINSTALL_KEY) or {}
    expected = {
        "DisplayName": ("REG_SZ", "Tidybar"),
        "DisplayIcon": ("REG_SZ", "C:\\tyb\\tidybar.exe,0"),
        "DisplayVersion": ("REG_SZ", "1.0.0"),
        "Publisher": ("REG_SZ", "Farrowind"),
        "UninstallString": ("REG_SZ", '"C:\\tyb\\Uninstall.exe"'),
        "QuietUninstallString": ("REG_SZ", '"C:\\tyb\\Uninstall.exe" /S'),
    }
    for name, value in expected.items():
        checks.check(values.get(name) == value, "uninstall entry %s = %s (found %s)" % (name, value[1],
                                                                                      values.get(name)))
    size_kib = sum(os.path.getsize(p) for p in installed_files(build, source).values()) / 1024
    kind, data = values.get("EstimatedSize", ("", "0"))
    estimated = int(data, 16) if data.startswith("0x") else 0
    checks.check(kind == "REG_DWORD" and abs(estimated - size_kib) < 0.1 * size_kib,
                 "EstimatedSize %d KiB for %.0f KiB of files" % (estimated, size_kib))


def put_user_files(wine):
    tyb = wine.drive_c("tyb")
    write(os.path.join(tyb, "note1.txt"), "buy milk\n")
    write(os.path.join(tyb, "playlist.m3u"), "c:/music/a.mp3\n")
    write(os.path.join(tyb, "TYBICONS", "OFFICE", "letter.txt"), "Dear all")
    write(os.path.join(tyb, "TYBICONS", "PHOTOS", "trip", "beach.jpg"), "not really a picture")
    startup = wine.drive_c(*START_MENU, "StartUp")
    os.makedirs(startup, exist_ok=True)
    shutil.copy(os.path.join(tyb, "Shortcuttotyb.exe.lnk"), startup)
    wine.reg_add(SETTINGS_KEY, "seltime", "REG_DWORD", 7)


def check_program_gone(wine, checks):
    tyb = wine.drive_c("tyb")
    for name in ["tidybar.exe", "tybCal.exe", "aboutTYB.exe", "simple.mp3", "Shortcuttotyb.exe.lnk", "Uninstall.exe"]:
        checks.check(not os.path.exists(os.path.join(tyb, name)), "C:\\tyb\\%s removed" % name)
    checks.check(not os.path.exists(os.path.join(tyb, "TYBICONS", "OFFICE", "Notepad.lnk")),
                 "the shortcuts setup made are removed")
    checks.check(not os.path.exists(wine.drive_c(*START_MENU, "Tidybar")), "the Start-menu folder is removed")
    checks.check(not os.path.exists(wine.drive_c(*START_MENU, "StartUp", "Shortcuttotyb.exe.lnk")),
                 "the installed Startup shortcut is removed")
    checks.check(wine.reg_values(UNINSTALL_KEY) is None, "the uninstall entry is removed")


def uninstall(wine, *options):
    # The uninstaller copies itself to a temporary folder and returns at once.
    wine.run("wine", "C:\\tyb\\Uninstall.exe", "/S", *options)
    wine.wait_idle()


def start_bar(wine, ids):
    wine.start("wine", "start", START_MENU_ENTRY)
    return Bar(wine, ids)


def main():
    build, source, work = sys.argv[1:4]
    setup = os.path.join(build, "tidybar-setup.exe")
    checks = Checks()
    checks.check(os.path.isfile(setup) and pe_machine(setup) == 0x8664,
                 "tidybar-setup.exe is a 64-bit program (a 32-bit one installs nothing here)")
    wine = WineSession(os.path.join(work, "install-prefix"), os.path.join(work, "install-home"),
                       os.path.join(build, "tests", "setup", "winprobe.exe"))
    try:
        wine.boot()
        wine.run("wine", setup, "/S")
        check_installed(wine, checks, build, source)

        # Over a running bar, setup closes it first: a running program cannot be replaced.
        ids = resource_ids(source)
        bar = start_bar(wine, ids)
        wine.run("wine", setup, "/S")
        checks.check(not wine.is_window(bar.window), "setup /S closed the running bar")
        installed = os.path.join(wine.drive_c("tyb"), "tidybar.exe")
        checks.check(read(installed) == read(os.path.join(build, "tidybar.exe")),
                     "setup over a running bar installed the program")

        # The uninstaller too; removing the rest and reporting success while the bar holds
        # tidybar.exe would leave a program that cannot be installed or removed again.
        put_user_files(wine)
        start_bar(wine, ids)
        wine.close_probe()
        uninstall(wine)
        check_program_gone(wine, checks)
        tyb = wine.drive_c("tyb")
        # The bar reopened the note and kept it in its own record on the way out.
        checks.check(b"buy milk" in read(os.path.join(tyb, "note1.txt")), "the note is kept")
        checks.check(os.path.isfile(os.path.join(tyb, "playlist.m3u")), "the playlist is kept")
        checks.check(os.path.isfile(os.path.join(tyb, "TYBICONS", "OFFICE", "letter.txt")) and
                     os.path.isfile(os.path.join(tyb, "TYBICONS", "PHOTOS", "trip", "beach.jpg")),
                     "the user's files in the category folders are kept")
        checks.check(not os.path.exists(os.path.join(tyb, "TYBICONS", "SYSTEM")),
                     "a category folder left empty is removed")
        checks.check((wine.reg_values(SETTINGS_KEY) or {}).get("seltime") == ("REG_DWORD", "0x7"),
                     "the user's settings are kept")

        # Installing again keeps the user's arrangement and fills in what is missing.
        wine.run("wine", setup, "/S")
        checks.check(os.path.isfile(os.path.join(tyb, "tidybar.exe")) and
                     os.path.isfile(os.path.join(tyb, "TYBICONS", "OFFICE", "letter.txt")) and
                     os.path.isdir(os.path.join(tyb, "TYBICONS", "SYSTEM")),
                     "a second install over the kept files has the program and all eight folders")
        uninstall(wine, "/REMOVEUSERFILES")
        check_program_gone(wine, checks)
        checks.check(not os.path.exists(tyb), "asked to, the uninstaller removes the user's files and C:\\tyb")
        checks.check(wine.reg_values(r"HKCU\Software\Farrowind\tyb") is None, "asked to, it removes the settings")
    except Failure as failure:
        checks.check(False, str(failure))
    finally:
        wine.close(remove=not checks.failed)
    if checks.failed:
        print("%d check(s) failed" % len(checks.failed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
