"""A Wine prefix of the test's own, the window probe and real input through the X server.

The setup tests install into a prefix they make themselves, run its wineserver, and look at
the desktop through winprobe.exe (one process answering line by line) while xdotool moves
the mouse and types, so the program sees input as a user makes it.
"""
import os
import re
import shutil
import subprocess
import tempfile
import time


SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class Failure(Exception):
    pass


def poll(what, condition, timeout=10.0, interval=0.1):
    """condition() until it gives something true, else Failure naming what was awaited."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def resource_ids(source):
    """The program's control and dialog ids by name, from res/resource.h."""
    ids = {}
    with open(os.path.join(source, "res", "resource.h")) as header:
        for match in re.finditer(r"#define\s+(\w+)\s+(-?\d+)", header.read()):
            ids[match.group(1)] = int(match.group(2))
    return ids


class Window:
    def __init__(self, hwnd, pid, cls, title, rect):
        self.hwnd, self.pid, self.cls, self.title, self.rect = hwnd, pid, cls, title, rect

    def __repr__(self):
        return "%s %r %r" % (self.hwnd, self.cls, self.title)


class Child:
    def __init__(self, hwnd, ident, cls, text, visible, rect):
        self.hwnd, self.id, self.cls, self.text, self.visible, self.rect = hwnd, ident, cls, text, visible, rect

    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2


_LINE = re.compile(r'^(\w+) (-?\d+) "([^"]*)" "([^"]*)"(?: ([01]))? (-?\d+) (-?\d+) (-?\d+) (-?\d+)$')


class WineSession:
    """A fresh prefix under `prefix`, its server kept running until close()."""

    def __init__(self, prefix, home, probe):
        self.prefix = prefix
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": prefix, "HOME": home, "WINEDEBUG": "-all", "WINEARCH": "win64",
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        })
        os.makedirs(home, exist_ok=True)
        with open(os.path.join(home, ".asoundrc"), "w") as alsa:
            alsa.write("pcm.!default { type null }\n")
        self.probe_exe = probe
        self.probe = None

    # Wine's helper processes must not hold the test runner's pipes: nothing of Wine's
    # gets them, every process starts with /dev/null.
    def run(self, *args, timeout=120, check=True):
        # Output goes through a file: a helper that Wine starts keeps a pipe open for ever.
        with tempfile.TemporaryFile(mode="w+") as out:
            try:
                process = subprocess.run(list(args), env=self.env, stdin=subprocess.DEVNULL, stdout=out,
                                         stderr=subprocess.DEVNULL, timeout=timeout)
            except subprocess.TimeoutExpired:
                raise Failure("%s did not end within %d s" % (" ".join(args), timeout))
            out.seek(0)
            output = out.read()
        if check and process.returncode != 0:
            raise Failure("%s exited %d" % (" ".join(args), process.returncode))
        return output, process.returncode

    def start(self, *args):
        return subprocess.Popen(list(args), env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, start_new_session=True)

    def boot(self):
        shutil.rmtree(self.prefix, ignore_errors=True)
        os.makedirs(self.prefix)
        self.run("wineboot", "-i", timeout=300)
        # As scripts/run makes it, with no window manager on Xvfb.
        self.run(os.path.join(SOURCE_ROOT, "scripts", "wine-prefix"), "--no-window-manager")

    def close_probe(self):
        """Ends the probe; the next question starts it again."""
        if self.probe:
            try:
                self.probe.stdin.write("quit\n")
                self.probe.stdin.flush()
                self.probe.wait(timeout=5)
            except (OSError, subprocess.TimeoutExpired):
                self.probe.kill()
            self.probe = None

    def close(self, remove=True):
        self.close_probe()
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        if remove:
            shutil.rmtree(self.prefix, ignore_errors=True)

    def wait_idle(self):
        """Until every process of the prefix has ended and its server with them (the
        uninstaller runs on from a copy of itself). The probe must be closed first."""
        self.run("wineserver", "-w", timeout=120)

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    # ---- registry ----

    def reg_add(self, key, name, kind, data):
        self.run("wine", "reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f")

    def reg_values(self, key):
        """{name: (type, data)} of a key, or None when the key is not there."""
        output, status = self.run("wine", "reg", "query", key, check=False)
        if status != 0:
            return None
        values = {}
        for line in output.splitlines():
            match = re.match(r"^    (.*?)    (REG_\w+)    ?(.*)$", line.rstrip("\r"))
            if match:
                values[match.group(1)] = (match.group(2), match.group(3))
        return values

    # ---- the probe ----

    def ask(self, command):
        if not self.probe:
            self.probe = subprocess.Popen(["wine", self.probe_exe], env=self.env, stdin=subprocess.PIPE,
                                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                          universal_newlines=True, start_new_session=True)
        self.probe.stdin.write(command + "\n")
        self.probe.stdin.flush()
        lines = []
        while True:
            line = self.probe.stdout.readline()
            if not line:
                raise Failure("the window probe ended")
            line = line.rstrip("\r\n")
            if line == "end":
                return lines
            lines.append(line)

    def top_windows(self):
        windows = []
        for line in self.ask("top"):
            match = _LINE.match(line)
            if match:
                windows.append(Window(match.group(1), int(match.group(2)), match.group(3), match.group(4),
                                      tuple(int(match.group(i)) for i in range(6, 10))))
        return windows

    def children(self, window):
        found = []
        for line in self.ask("children " + window.hwnd):
            match = _LINE.match(line)
            if match:
                found.append(Child(match.group(1), int(match.group(2)), match.group(3), match.group(4),
                                   match.group(5) == "1", tuple(int(match.group(i)) for i in range(6, 10))))
        return found

    def child(self, window, ident):
        for c in self.children(window):
            if c.id == ident:
                return c
        raise Failure("%r has no control %d" % (window, ident))

    def text(self, window, ident):
        answer = self.ask("text %s %d" % (window.hwnd, ident))[0]
        return answer[1:-1] if answer.startswith('"') else None

    def items(self, hwnd):
        return int(self.ask("items " + hwnd)[0])

    def foreground(self):
        return self.ask("foreground")[0]

    def owner(self, window):
        return self.ask("owner " + window.hwnd)[0]

    def post_close(self, window):
        self.ask("close " + window.hwnd)

    def is_window(self, window):
        return any(w.hwnd == window.hwnd for w in self.top_windows())

    def new_window(self, before, what, match, timeout=10.0):
        """The first visible top-level window not in `before` for which match(window) holds."""
        known = {w.hwnd for w in before}
        return poll(what, lambda: next((w for w in self.top_windows() if w.hwnd not in known and match(w)), None),
                    timeout)

    # ---- input through the X server ----

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True, stdin=subprocess.DEVNULL)

    def click(self, point, count=1):
        x, y = point
        self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", "--repeat", count, "--delay", 120, 1)

    def click_control(self, window, ident):
        self.click(self.child(window, ident).centre())

    def type_text(self, text):
        self.xdotool("type", "--delay", 30, text)

    def key(self, name):
        self.xdotool("key", name)
