"""A real X desktop for end-to-end tests of the desktop program.

Xvfb on a free display number, openbox as its window manager (without one X
gives a new window no keyboard focus), the program started as a process on a
store of its own, X key events sent with xdotool to whatever window has the
focus, results read back from the table files with dbftool and from
screenshots. Every wait polls a condition up to a generous deadline; nothing
relies on a fixed pause.
"""

import ctypes
import json
import os
import select
import shutil
import signal
import subprocess
import time

WINDOW_TIMEOUT = 20.0  # seconds a window or a file may take to appear
START_TIMEOUT = 60.0  # seconds the program may take to show its main window
POLL = 0.05

MAIN_TITLE = "Export faktur do Saldex 2  ver 1.04"
MESSAGE_TITLE = "Exportni modul pro Saldex 2"
SEARCH_TITLE = "Hledej položku databáze"
PAYMENTS_TITLE = "Přehled úhrad"
PAYMENT_TITLE = "Uhrada dokladu"
TYPE_LIST_TITLE = "Přehled typu plateb"
COMPANY_TITLE = "Hlavička firmy"
SETTINGS_TITLE = "Nastavení systémových parametrů"
DATE_RANGE_TITLE = "Sestava přehledu dokladů"
PREVIEW_TITLE = "Náhled před tiskem"
LOGIN_TITLE = "Přihlašovací dialog uživatele"


class E2eError(AssertionError):
    pass


def wait_until(condition, what, timeout=WINDOW_TIMEOUT, alive=None):
    """Polls condition() until it returns a true value, which is returned.
    alive() (when given) is asked too, so a process that died ends the wait."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if alive is not None:
            alive()
        if time.monotonic() > deadline:
            raise E2eError("timed out after %.0f s waiting for %s" % (
                timeout, what() if callable(what) else what))
        time.sleep(POLL)


def _end_with_parent():
    """Run in each child before exec: the kernel ends it when the test
    runner dies, so no X server or program outlives a killed test."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def _stop(process, grace=5.0):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Display:
    """Xvfb with openbox; stop() tears both down."""

    def __init__(self, workdir):
        self.workdir = workdir
        self.xvfb = None
        self.openbox = None
        self.env = None

    def start(self):
        read_end, write_end = os.pipe()
        log = open(os.path.join(self.workdir, "xvfb.log"), "wb")
        # -displayfd: Xvfb picks a free display number and writes it when ready.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
            preexec_fn=_end_with_parent)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + WINDOW_TIMEOUT
        while not number.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            ready, _, _ = select.select([read_end], [], [], max(remaining, 0))
            if not ready:
                raise E2eError("Xvfb did not report a display number")
            chunk = os.read(read_end, 64)
            if not chunk:
                raise E2eError("Xvfb ended before it was ready (see xvfb.log)")
            number += chunk
        os.close(read_end)
        self.env = dict(os.environ)
        for variable in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "SESSION_MANAGER"):
            self.env.pop(variable, None)
        self.env["DISPLAY"] = ":" + number.decode().strip()
        runtime = os.path.join(self.workdir, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env["XDG_RUNTIME_DIR"] = runtime
        self.env["HOME"] = self.workdir
        obox_log = open(os.path.join(self.workdir, "openbox.log"), "wb")
        self.openbox = subprocess.Popen(
            ["openbox", "--sm-disable"], env=self.env, stdin=subprocess.DEVNULL,
            stdout=obox_log, stderr=obox_log, preexec_fn=_end_with_parent)
        # The window manager is ready once it has announced itself on the root.
        wait_until(self._manager_ready, "openbox to manage the display",
                   alive=lambda: self._alive(self.openbox, "openbox"))
        return self

    def _alive(self, process, name):
        if process.poll() is not None:
            raise E2eError("%s ended with status %s" % (name, process.returncode))

    def _manager_ready(self):
        result = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        return result.returncode == 0 and "window id" in result.stdout

    def run(self, command, check=True):
        result = subprocess.run(command, env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, timeout=60)
        if check and result.returncode != 0:
            raise E2eError("%s failed: %s" % (" ".join(command), result.stderr.strip()))
        return result

    def stop(self):
        _stop(self.openbox)
        _stop(self.xvfb)

    # --- keyboard and windows

    def key(self, *keys):
        """Real key events (press and release) to the window with the focus."""
        self.run(["xdotool", "key", "--delay", "30"] + list(keys))

    def type(self, text):
        self.run(["xdotool", "type", "--delay", "30", text])

    def focused(self):
        """(window id, name) of the window with the keyboard focus, or None."""
        ident = self.run(["xdotool", "getwindowfocus"], check=False)
        if ident.returncode != 0 or not ident.stdout.strip():
            return None
        window = ident.stdout.strip()
        name = self.run(["xdotool", "getwindowname", window], check=False)
        if name.returncode != 0:
            return None
        return window, name.stdout.rstrip("\n")

    def windows_named(self, name):
        result = self.run(["xdotool", "search", "--onlyvisible", "--name",
                           "^" + _regex_escape(name) + "$"], check=False)
        return result.stdout.split()

    def screenshot(self, path, window="root"):
        self.run(["import", "-window", window, path])
        return path

    def pixels(self, window):
        """The window's picture as (width, height, RGB bytes)."""
        data = subprocess.run(["import", "-window", window, "-depth", "8", "ppm:-"], env=self.env,
                              stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=60, check=True).stdout
        return _parse_ppm(data)


def _regex_escape(text):
    return "".join("\\" + c if c in ".^$*+?()[]{}|\\" else c for c in text)


def _parse_ppm(data):
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        start = position
        while not data[position:position + 1].isspace():
            position += 1
        fields.append(data[start:position])
    if fields[0] != b"P6" or fields[3] != b"255":
        raise E2eError("unexpected screenshot format")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[position + 1:position + 1 + width * height * 3]
    return width, height, pixels


def count_colour(picture, rgb):
    _, _, pixels = picture
    target = bytes(rgb)
    count = 0
    start = pixels.find(target)
    while start >= 0:
        if start % 3 == 0:
            count += 1
        start = pixels.find(target, start + 1)
    return count


def highlight_bands(picture, rgb, tolerance=16, min_run=40):
    """The rows (y ranges, end excluded) of a picture painted in a colour near
    rgb across at least min_run pixels: a grid's highlighted row."""
    width, height, pixels = picture
    rows = []
    for y in range(height):
        line = pixels[y * width * 3:(y + 1) * width * 3]
        count = 0
        for x in range(0, len(line), 3):
            if (abs(line[x] - rgb[0]) <= tolerance and abs(line[x + 1] - rgb[1]) <= tolerance
                    and abs(line[x + 2] - rgb[2]) <= tolerance):
                count += 1
        rows.append(count >= min_run)
    bands = []
    y = 0
    while y < height:
        if rows[y]:
            start = y
            while y < height and rows[y]:
                y += 1
            bands.append((start, y))
        else:
            y += 1
    return bands


class Store:
    """A demo store (Korvana data, Saldex 2 tables, Korvana.ini) in a folder."""

    def __init__(self, tools, directory):
        self.tools = tools
        self.directory = directory
        subprocess.run([os.path.join(tools, "saldex-demo-data"), directory], check=True,
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
        self.data = os.path.join(directory, "data")
        self.saldex = os.path.join(directory, "saldex")
        self.ini = os.path.join(directory, "Korvana.ini")

    def set_ini(self, key, value):
        """Sets (or, with value None, removes) a key of Korvana.ini."""
        with open(self.ini, encoding="cp1250") as f:
            lines = f.read().splitlines()
        kept = [line for line in lines if not line.startswith(key + "=")]
        if value is not None:
            section = "[ExportSaldex]" if key == "SalExpFil" else "[Korvana]"
            kept.insert(kept.index(section) + 1, "%s=%s" % (key, value))
        with open(self.ini, "w", encoding="cp1250") as f:
            f.write("\n".join(kept) + "\n")

    def ini_values(self):
        with open(self.ini, encoding="cp1250") as f:
            return dict(line.split("=", 1) for line in f.read().splitlines() if "=" in line)

    def table(self, path):
        """Every record of a table file as a dict (dbftool dump --json)."""
        output = subprocess.run([os.path.join(self.tools, "dbftool"), "dump", path, "--json"],
                                check=True, stdin=subprocess.DEVNULL, capture_output=True,
                                timeout=60).stdout.decode("utf-8")
        return [json.loads(line) for line in output.splitlines() if line.strip()]

    def store_table(self, name):
        return self.table(os.path.join(self.data, name))

    def saldex_table(self, name):
        return self.table(os.path.join(self.saldex, name))


class Program:
    """The desktop program as a process on a display and a store."""

    def __init__(self, display, store, executable, workdir):
        self.display = display
        self.store = store
        self.workdir = workdir
        self.executable = executable
        self.process = None

    def launch(self):
        """Starts the process; the caller waits for its first window."""
        self.log = open(os.path.join(self.workdir, "program.log"), "ab")
        self.process = subprocess.Popen(
            [self.executable, "--ini-dir", self.store.directory], cwd=self.workdir,
            env=self.display.env, stdin=subprocess.DEVNULL, stdout=self.log,
            stderr=subprocess.STDOUT, preexec_fn=_end_with_parent)

    def start(self):
        """Starts the process and waits for the main window's focus."""
        self.launch()
        return self.wait_focus(MAIN_TITLE, timeout=START_TIMEOUT)

    def alive(self):
        if self.process.poll() is not None:
            raise E2eError("the program ended with status %s (see %s)" % (
                self.process.returncode, os.path.join(self.workdir, "program.log")))

    def wait_focus(self, name, other_than=None, timeout=WINDOW_TIMEOUT):
        """Waits until a window called name has the keyboard focus (and is not
        the window other_than); returns its id."""

        def check():
            focus = self.display.focused()
            if focus and focus[1] == name and focus[0] != other_than:
                return focus[0]
            return None

        def what():
            return "the window \"%s\" to have the focus (it has \"%s\")" % (
                name, (self.display.focused() or ("", "nothing"))[1])

        return wait_until(check, what, timeout, self.alive)

    def focused_name(self):
        focus = self.display.focused()
        return focus[1] if focus else None

    def wait_exit(self, timeout=WINDOW_TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise E2eError("the program did not end")

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            # A killed instance leaves its guard block behind; the next start
            # finds its owner dead and takes over.
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()


def private_executable(build_tools, directory):
    """The program under a name of its own (a hard link, else a copy): its
    single-instance guard is named after the executable and the user, so a
    copy of the program running elsewhere for this user (or another test run
    in another build tree) cannot take the test's start."""
    source = os.path.join(build_tools, "saldex-export")
    target = os.path.join(directory, "saldex-export-e2e-%d" % os.getpid())
    if os.path.exists(target):
        os.remove(target)
    try:
        os.link(source, target)
    except OSError:
        shutil.copy2(source, target)
    return target


def remove_private_executable(executable):
    """Removes the link and what a killed instance of it left: the guard's
    shared memory block, its semaphore and the local socket."""
    name = "%s-%d" % (os.path.basename(executable), os.geteuid())
    for leftover in (executable, "/dev/shm/" + name, "/dev/shm/sem.%sSem" % name,
                     os.path.join(os.environ.get("TMPDIR", "/tmp"), name)):
        try:
            os.remove(leftover)
        except OSError:
            pass
