"""The Wine test harness: runs the real Halvane programs on a private Xvfb display.

A test case derives from WineTest. The class starts its own Xvfb (with -noreset, so the
pointer stays where a test put it), and every test gets a fresh folder with copies of the
programs. Programs run under Wine with the Japanese locale (ANSI code page 932) through
probe.exe, which reports the Windows process id and the exit code. Everything a test starts
is stopped by PID in tearDown; the shared wineserver is ended by the cleanup fixture.
"""
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time
import unittest

import session

SOURCE_DIR = os.environ.get("HALVANE_SOURCE_DIR",
                            os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
WINDOWS_BUILD_DIR = os.environ.get("HALVANE_WINDOWS_BUILD_DIR", os.path.join(SOURCE_DIR, "build", "windows"))
DIST_DIR = os.path.join(WINDOWS_BUILD_DIR, "Halvane")
TOOLS_DIR = os.path.join(WINDOWS_BUILD_DIR, "tools")
PROBE = os.path.join(TOOLS_DIR, "probe.exe")
SCREEN_W, SCREEN_H = 1280, 800

WM_CLOSE = 0x0010
WM_KEYDOWN = 0x0100
WM_KEYUP = 0x0101


def win_path(path):
    """The Windows name of a Unix path (Wine's Z: drive)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# ---- pictures ------------------------------------------------------------------------

class Image:
    """A screenshot or bitmap as rows of RGB bytes, top row first."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def region_mean(self, x0, y0, x1, y1):
        """Mean colour of the pixels with x0 <= x < x1 and y0 <= y < y1."""
        total, n = [0, 0, 0], 0
        for y in range(max(0, y0), min(self.height, y1)):
            row = (y * self.width) * 3
            for x in range(max(0, x0), min(self.width, x1)):
                i = row + x * 3
                total[0] += self.rgb[i]; total[1] += self.rgb[i + 1]; total[2] += self.rgb[i + 2]
                n += 1
        return tuple(t / n for t in total) if n else (0.0, 0.0, 0.0)

    def crop(self, x0, y0, w, h):
        out = bytearray()
        for y in range(y0, y0 + h):
            i = (y * self.width + x0) * 3
            out += self.rgb[i:i + w * 3]
        return Image(w, h, bytes(out))

    @staticmethod
    def from_ppm(data):
        # P6 <w> <h> <max>\n<bytes>
        parts, pos = [], 0
        while len(parts) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            parts.append(data[pos:end])
            pos = end
        pos += 1
        w, h = int(parts[1]), int(parts[2])
        return Image(w, h, data[pos:pos + w * h * 3])

    @staticmethod
    def from_bmp(data):
        """A 24-bit bitmap file (bottom-up or top-down) as an Image."""
        import struct
        off = struct.unpack_from("<I", data, 10)[0]
        w, h = struct.unpack_from("<ii", data, 18)
        bpp = struct.unpack_from("<H", data, 28)[0]
        assert bpp == 24, "only 24-bit bitmaps are read here"
        stride = (w * 3 + 3) & ~3
        rows = range(abs(h) - 1, -1, -1) if h > 0 else range(abs(h))
        out = bytearray()
        for r in rows:
            line = data[off + r * stride: off + r * stride + w * 3]
            for x in range(w):
                b, g, rr = line[x * 3:x * 3 + 3]
                out += bytes((rr, g, b))
        return Image(w, abs(h), bytes(out))

    def save_png(self, path):
        ppm = b"P6 %d %d 255\n" % (self.width, self.height) + self.rgb
        subprocess.run(["convert", "ppm:-", path], input=ppm, check=True)


def bmp_bytes(width, height, pixel, bits=24, size_image=None, clr_used=0, top_down=False,
              extra=b""):
    """A bitmap file as the renderer reads it. pixel(x, y) gives (r, g, b), y = 0 the top row."""
    import struct
    rows = []
    for row in range(height):
        y = row if top_down else height - 1 - row
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r)) + (b"\0" if bits == 32 else b"")
        rows.append(bytes(line))
    data = b"".join(rows) + extra
    if size_image is None:
        size_image = len(data)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits, 0,
                       size_image, 2835, 2835, clr_used, 0)
    header = struct.pack("<2sIHHI", b"BM", 54 + 4 * clr_used + len(data), 0, 0, 54 + 4 * clr_used)
    return header + info + b"\0" * (4 * clr_used) + data


# ---- processes ----------------------------------------------------------------------

class Proc:
    """A Windows program started through `probe.exe run`."""

    def __init__(self, popen, name):
        self.popen, self.name = popen, name
        self.lines = queue.Queue()
        self.winpid = None
        self.exit_code = None
        threading.Thread(target=self._read, daemon=True).start()
        try:
            first = self.lines.get(timeout=30)
        except queue.Empty:
            first = None
        if first and first.startswith("pid "):
            self.winpid = int(first.split()[1])
        elif first and first.startswith("exit "):
            self.exit_code = int(first.split()[1])
        else:
            raise RuntimeError(f"{name} did not start: {first!r}")

    def _read(self):
        for raw in self.popen.stdout:
            self.lines.put(raw.decode("utf-8", "replace").rstrip("\r\n"))
        self.lines.put(None)

    def wait(self, timeout):
        """The exit code, or None when the program still runs after `timeout` seconds."""
        deadline = time.monotonic() + timeout
        while self.exit_code is None:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            try:
                line = self.lines.get(timeout=left)
            except queue.Empty:
                return None
            if line is None:
                self.popen.wait()
                self.exit_code = self.popen.returncode if self.exit_code is None else self.exit_code
            elif line.startswith("exit "):
                self.exit_code = int(line.split()[1])
        return self.exit_code

    def running(self):
        return self.wait(0) is None


# ---- the test base ------------------------------------------------------------------

class WineTest(unittest.TestCase):
    """Base class: a private Xvfb for the class, a fresh program folder for each test."""

    screen = (SCREEN_W, SCREEN_H)

    @classmethod
    def setUpClass(cls):
        session.ensure_prefix()
        cls.xvfb, cls.display = session.start_xvfb(*cls.screen)
        cls.env = session.wine_env(cls.display)

    @classmethod
    def tearDownClass(cls):
        session.stop(cls.xvfb)

    def setUp(self):
        self.procs = []
        self.helpers = []
        root = os.environ.get("HALVANE_TEST_ROOT", os.path.join(tempfile.gettempdir(), "halvane-tests"))
        os.makedirs(os.path.join(root, "runs"), exist_ok=True)
        self.dir = tempfile.mkdtemp(prefix=f"{type(self).__name__}.{self._testMethodName}-",
                                    dir=os.path.join(root, "runs"))
        self.move_pointer(SCREEN_W // 2, SCREEN_H // 2)

    def tearDown(self):
        for p in self.procs:
            if p.winpid is not None and p.running():
                self.probe("kill", str(p.winpid), check=False)
        for p in self.procs:
            if p.wait(5) is None:
                p.popen.kill()
            p.popen.wait()
            p.popen.stdout.close()
        for h in self.helpers:
            if h.poll() is None:
                h.kill()
            h.wait()
            for pipe in (h.stdin, h.stdout):
                if pipe:
                    pipe.close()
        if not self._failed():
            shutil.rmtree(self.dir, ignore_errors=True)  # a failed test's folder stays for a look

    def _failed(self):
        result = getattr(getattr(self, "_outcome", None), "result", None)
        if result is None:
            return False
        return any(t is self for t, _ in list(result.errors) + list(result.failures))

    # -- folders and programs

    def install(self, renderer=True, host=True, texture=None, ini=None, folder=None):
        """A fresh folder with copies of the programs; texture and ini are file bytes."""
        folder = folder or self.dir
        os.makedirs(folder, exist_ok=True)
        if renderer:
            shutil.copy(os.path.join(DIST_DIR, "Halvane.dll"), folder)
        if host:
            shutil.copy(os.path.join(DIST_DIR, "Halvane.scr"), folder)
        if texture is not None:
            with open(os.path.join(folder, "Halvane.bmp"), "wb") as f:
                f.write(texture)
        if ini is not None:
            with open(os.path.join(folder, "Halvane.ini"), "wb") as f:
                f.write(ini)
        return folder

    def start(self, exe, *args):
        """Starts a Windows program (any extension) and returns its Proc."""
        popen = subprocess.Popen([session.WINE, PROBE, "run", win_path(exe), *args],
                                 env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL)
        proc = Proc(popen, os.path.basename(exe))
        self.procs.append(proc)
        return proc

    def probe(self, *args, check=True, timeout=60):
        """Runs one probe command; returns its stdout (parsed as JSON when it is JSON)."""
        r = subprocess.run([session.WINE, PROBE, *args], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)
        out = r.stdout.decode("utf-8", "replace").strip()
        if check and r.returncode != 0:
            raise AssertionError(f"probe {' '.join(args)} failed ({r.returncode}): {out}")
        try:
            return json.loads(out)
        except ValueError:
            return out

    def wait_window(self, title, timeout=30, cls=None):
        """The facts of the first top-level window titled `title`, or None."""
        args = ["wait", title, str(int(timeout * 1000))] + ([cls] if cls else [])
        out = self.probe(*args, check=False, timeout=timeout + 30)
        return out if isinstance(out, dict) else None

    def window_gone(self, title, timeout=10):
        return self.probe("gone", title, str(int(timeout * 1000)), check=False,
                          timeout=timeout + 30) == "gone"

    def message_box(self, caption, timeout=30, button=None):
        """Waits for a message box, returns {'text', 'buttons'} and presses a button."""
        args = ["msgbox", caption, str(int(timeout * 1000))] + ([button] if button else [])
        out = self.probe(*args, check=False, timeout=timeout + 30)
        return out if isinstance(out, dict) else None

    def post_close(self, hwnd):
        self.probe("close", str(hwnd))

    def post_key(self, hwnd, vk):
        """A key press and release posted to a window; the release may find the window gone
        (a key that ends the program)."""
        self.probe("post", str(hwnd), hex(WM_KEYDOWN), str(vk), "1")
        self.probe("post", str(hwnd), hex(WM_KEYUP), str(vk), "0xC0000001", check=False)

    def make_parent(self, width, height, title="Probe Preview Parent"):
        """A top-level window of our probe with a client area of width x height. Returns
        (hwnd, control); control(line) sends "destroy", "close", "info" or "children"."""
        p = subprocess.Popen([session.WINE, PROBE, "parent", str(width), str(height), title],
                             env=self.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL)
        self.helpers.append(p)
        hwnd = int(p.stdout.readline().decode().strip())

        def control(line):
            p.stdin.write((line + "\n").encode())
            p.stdin.flush()
            if line in ("info", "children"):
                return json.loads(p.stdout.readline().decode())
            return None
        return hwnd, control

    # -- X side: pointer, keys, screenshots

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def move_pointer(self, x, y):
        self.xdotool("mousemove", str(x), str(y))

    def move_pointer_by(self, dx, dy):
        self.xdotool("mousemove_relative", "--", str(dx), str(dy))

    def pointer(self):
        out = subprocess.run(["xdotool", "getmouselocation", "--shell"], env=self.env,
                             stdout=subprocess.PIPE, check=True).stdout.decode()
        vals = dict(line.split("=", 1) for line in out.split())
        return int(vals["X"]), int(vals["Y"])

    def click(self, button=1):
        self.xdotool("click", str(button))

    def key(self, name):
        self.xdotool("key", name)

    def screenshot(self, save_as=None):
        """The whole screen as an Image; kept as PNG in the test folder when save_as is given."""
        ppm = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", "ppm:-"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True).stdout
        img = Image.from_ppm(ppm)
        if save_as:
            img.save_png(os.path.join(self.dir, save_as))
        return img

    def wait_until(self, predicate, timeout, interval=0.1):
        deadline = time.monotonic() + timeout
        while True:
            value = predicate()
            if value or time.monotonic() >= deadline:
                return value
            time.sleep(interval)


def main():
    unittest.main(verbosity=2)
