"""The Wine side of the test run: one prefix for the run, a private Xvfb per test class.

`session.py setup` makes the prefix once (quick when it exists) and starts its wineserver,
`session.py cleanup` ends that wineserver and anything still running in it. The prefix lives in the build tree, never
in the user's ~/.wine.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WINE = shutil.which("wine") or "wine"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver64"
TEST_ROOT = os.environ.get("HALVANE_TEST_ROOT", os.path.join(tempfile.gettempdir(), "halvane-tests"))
PREFIX = os.path.join(TEST_ROOT, "prefix")

REGISTRY = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
"""


def wine_env(display=None):
    env = dict(os.environ)
    for k in ("WINEDEBUG", "WINEPREFIX", "WINEDLLOVERRIDES", "LANG", "LC_ALL", "DISPLAY"):
        env.pop(k, None)
    env.update({
        "WINEPREFIX": PREFIX,
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        "LANG": "ja_JP.UTF-8",
        "LC_ALL": "ja_JP.UTF-8",
    })
    if display:
        env["DISPLAY"] = display
    return env


def start_xvfb(width, height):
    """Starts Xvfb on a display number it picks itself; returns (process, ':N')."""
    read_fd, write_fd = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                             f"{width}x{height}x24", "-noreset", "-nolisten", "tcp"],
                            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        number = f.readline().strip()
    if not number:
        stop(proc)
        raise RuntimeError("Xvfb did not start")
    return proc, ":" + number


def stop(proc, timeout=5):
    if proc is None or proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


def ensure_prefix():
    """Makes the prefix when it is missing (wineboot once, then our registry settings) and
    keeps its wineserver running until cleanup()."""
    marker = os.path.join(PREFIX, ".halvane-ready")
    if not os.path.exists(marker):
        make_prefix(marker)
    # A wineserver that exits on its own, a few seconds after its last client, can go away
    # just as the next program connects ("recvmsg: connection reset"). One that persists
    # until cleanup() also keeps every start warm.
    subprocess.run([WINESERVER, "-p"], env=wine_env(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)


def make_prefix(marker):
    os.makedirs(PREFIX, exist_ok=True)
    env = wine_env()  # no display: wineboot needs none
    subprocess.run([WINE, "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=240)
    subprocess.run([WINESERVER, "-w"], env=env, timeout=240)
    reg = os.path.join(PREFIX, "halvane.reg")
    with open(reg, "w", encoding="ascii") as f:
        f.write(REGISTRY)
    subprocess.run([WINE, "regedit", "/S", "Z:" + reg.replace("/", "\\")], env=env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    subprocess.run([WINESERVER, "-w"], env=env, timeout=120)
    with open(marker, "w") as f:
        f.write("ok\n")


def cleanup():
    """Ends the prefix's wineserver and every Windows process still in it."""
    if os.path.isdir(PREFIX):
        subprocess.run([WINESERVER, "-k"], env=wine_env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)


if __name__ == "__main__":
    what = sys.argv[1] if len(sys.argv) > 1 else "setup"
    if what == "setup":
        t = time.monotonic()
        ensure_prefix()
        print(f"wine prefix ready at {PREFIX} ({time.monotonic() - t:.1f} s)")
    elif what == "cleanup":
        cleanup()
        print("wineserver ended")
    else:
        sys.exit(f"usage: {sys.argv[0]} setup|cleanup")
