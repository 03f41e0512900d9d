#!/usr/bin/env python3
"""Starts the built saver under Wine (see run.sh). Uses a Wine prefix of its own in build/."""
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
BUILD = os.path.join(ROOT, "build", "windows")
os.environ.setdefault("HALVANE_TEST_ROOT", os.path.join(ROOT, "build", "run"))
sys.path.insert(0, os.path.join(ROOT, "tests", "wine"))
import session  # noqa: E402


def main():
    dist = os.path.join(BUILD, "Halvane")
    probe = os.path.join(BUILD, "tools", "probe.exe")
    folder = os.path.join(session.TEST_ROOT, "Halvane")
    os.makedirs(folder, exist_ok=True)
    for name in ("Halvane.scr", "Halvane.dll"):
        if os.path.exists(os.path.join(dist, name)):
            shutil.copy(os.path.join(dist, name), folder)
    if os.path.exists(os.path.join(folder, "Halvane.scr")):
        program, args = os.path.join(folder, "Halvane.scr"), ["/s"]
    else:  # only the renderer is built: hand it the texture ourselves
        shutil.copy(os.path.join(ROOT, "assets", "moon.bmp"), os.path.join(folder, "Halvane.bmp"))
        program, args = os.path.join(folder, "Halvane.dll"), []
    session.ensure_prefix()

    xvfb, display = None, os.environ.get("DISPLAY")
    if not display:
        xvfb, display = session.start_xvfb(1280, 800)
    env = session.wine_env(display)
    winpath = "Z:" + program.replace("/", "\\")
    print(f"running {os.path.basename(program)} {' '.join(args)} on {display}")
    saver = subprocess.Popen([session.WINE, probe, "run", winpath, *args], env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        if xvfb is None:
            print("move the mouse to end the saver")
            saver.wait()
        else:
            time.sleep(8)
            shot = os.path.join(session.TEST_ROOT, "halvane.png")
            subprocess.run(["import", "-display", display, "-window", "root", shot], check=True)
            print(f"screenshot: {shot}")
            # The saver's own end: the pointer moves far on both axes.
            subprocess.run(["xdotool", "mousemove", "100", "100"], env=env, check=True)
            time.sleep(0.5)
            subprocess.run(["xdotool", "mousemove", "600", "500"], env=env, check=True)
            try:
                saver.wait(15)
            except subprocess.TimeoutExpired:
                pass
    finally:
        if saver.poll() is None:
            saver.kill()
            saver.wait()
        session.cleanup()
        session.stop(xvfb)


if __name__ == "__main__":
    main()
