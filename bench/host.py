#!/usr/bin/env python3
"""Host benchmark: figures, not a test. Run on demand after building the windows preset:

    bench/host.py [--build build/windows] [--runs 5]

Under Wine on a private Xvfb (1280 x 800), with the real programs side by side in a fresh
folder, it prints for `Halvane.scr /s`:
  - start to the renderer's window: from launching the host to the renderer's "Selvin"
    window existing (seen by a probe that polls every 50 ms, started beforehand);
  - pointer move to the end: from the qualifying pointer move (31/31) to the host process
    gone, the renderer's window gone and "Halvane.bmp" deleted (each, and the last of them);
  - the host's peak resident memory (VmHWM of its Wine process) while the saver runs, next to
    that of an empty Win32 program (one hidden window, a 50 ms timer, a message loop) built
    here with MinGW-w64 and run the same way, once plain and once importing the host's DLLs
    (winmm, msimg32, comdlg32, shell32).
Medians of `--runs` runs. Everything started here is stopped here.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "wine"))

from processes import linux_pids_with, peak_kib  # noqa: E402  (bench/, beside this file)

EMPTY_PROGRAM = r"""
#include <windows.h>
#ifdef SAME_IMPORTS
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
#endif
static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }
int WINAPI WinMain(HINSTANCE i, HINSTANCE p, LPSTR c, int s) {
  WNDCLASSA wc = {0}; wc.lpfnWndProc = Proc; wc.hInstance = i; wc.lpszClassName = "Empty";
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(WS_EX_TOOLWINDOW, "Empty", "Empty", WS_POPUP, 0, 0, 1, 1, 0, 0, i, 0);
  SetTimer(h, 1, 50, 0);
#ifdef SAME_IMPORTS
  if (c && c[0] == '!') {  /* never taken: only makes the same DLLs load */
    PlaySoundA(0, 0, 0); GetOpenFileNameA(0); ShellExecuteA(0, 0, 0, 0, 0, 0);
    GradientFill(0, 0, 0, 0, 0, 0);
  }
#endif
  MSG m; while (GetMessageA(&m, 0, 0, 0) > 0) DispatchMessageA(&m);
  return 0;
}
"""


def unix_pid_of(name, timeout=10):
    """The Unix pid of the Wine process whose command line names `name`."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        pids = linux_pids_with(name)
        if pids:
            return pids[0]
        time.sleep(0.05)
    return None


class Bench:
    def __init__(self, build):
        import harness
        import session
        self.harness, self.session = harness, session
        dist = os.path.join(build, "Halvane")
        self.probe_exe = os.path.join(build, "tools", "probe.exe")
        self.dist = dist
        # A prefix of the bench's own: its wineserver is ended at the close.
        session.TEST_ROOT = os.path.join(build, "bench-host")
        session.PREFIX = os.path.join(session.TEST_ROOT, "prefix")
        session.ensure_prefix()
        self.xvfb, display = session.start_xvfb(1280, 800)
        self.env = session.wine_env(display)
        self.work = tempfile.mkdtemp(prefix="halvane-bench-host-")

    def close(self):
        self.session.stop(self.xvfb)
        subprocess.run([self.session.WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.work, ignore_errors=True)

    def probe(self, *args):
        return subprocess.Popen([self.session.WINE, self.probe_exe, *args], env=self.env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)

    def pointer(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=self.env, check=True)

    def run_saver(self, n):
        folder = os.path.join(self.work, f"run{n}")
        os.makedirs(folder)
        for f in ("Halvane.scr", "Halvane.dll"):
            shutil.copy(os.path.join(self.dist, f), folder)
        bmp = os.path.join(folder, "Halvane.bmp")
        self.pointer(640, 400)
        waiter = self.probe("wait", "Selvin", "30000", "OpenGL")
        time.sleep(1.5)  # the waiter is up and polling
        t0 = time.monotonic()
        host = self.probe("run", self.harness.win_path(os.path.join(folder, "Halvane.scr")), "/s")
        waiter.stdout.readline()
        t_window = time.monotonic() - t0
        waiter.wait()
        host.stdout.readline()  # "pid N"
        time.sleep(2.0)  # running steadily
        pid = unix_pid_of("Halvane.scr")
        peak = peak_kib(pid) if pid else None

        gone = self.probe("gone", "Selvin", "20000")
        time.sleep(1.5)
        t1 = time.monotonic()
        self.pointer(671, 431)
        ends = {}
        import threading
        def host_exit():
            host.stdout.readline()  # "exit N"
            ends["host"] = time.monotonic() - t1
        def renderer_gone():
            gone.stdout.readline()
            ends["renderer"] = time.monotonic() - t1
        threads = [threading.Thread(target=host_exit), threading.Thread(target=renderer_gone)]
        for t in threads:
            t.start()
        while os.path.exists(bmp) and time.monotonic() - t1 < 20:
            time.sleep(0.002)
        ends["bitmap"] = time.monotonic() - t1
        for t in threads:
            t.join(30)
        for p in (host, gone):
            p.wait()
            p.stdout.close()
        waiter.stdout.close()
        return t_window, ends, peak

    def empty_peak(self, same_imports=False):
        name = "empty_imports.exe" if same_imports else "empty.exe"
        exe = os.path.join(self.work, name)
        src = os.path.join(self.work, "empty.c")
        with open(src, "w") as f:
            f.write(EMPTY_PROGRAM)
        cc = shutil.which("x86_64-w64-mingw32-gcc-posix") or shutil.which("x86_64-w64-mingw32-gcc")
        extra = ["-DSAME_IMPORTS", "-lwinmm", "-lmsimg32", "-lcomdlg32", "-lshell32"] if same_imports else []
        subprocess.run([cc, "-O2", "-mwindows", "-static", src, "-o", exe, *extra], check=True)
        p = self.probe("run", self.harness.win_path(exe))
        p.stdout.readline()
        time.sleep(2.0)
        pid = unix_pid_of(name)
        peak = peak_kib(pid) if pid else None
        if pid:
            os.kill(pid, 15)
        p.wait()
        p.stdout.close()
        return peak


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(SOURCE_DIR, "build", "windows"))
    ap.add_argument("--runs", type=int, default=5)
    args = ap.parse_args()
    os.environ["HALVANE_WINDOWS_BUILD_DIR"] = os.path.abspath(args.build)
    bench = Bench(os.path.abspath(args.build))
    try:
        windows, ends, peaks = [], {"host": [], "renderer": [], "bitmap": [], "all": []}, []
        for n in range(args.runs):
            t_window, end, peak = bench.run_saver(n)
            windows.append(t_window)
            for k in ("host", "renderer", "bitmap"):
                ends[k].append(end.get(k, float("nan")))
            ends["all"].append(max(end.values()))
            if peak:
                peaks.append(peak)
            print(f"run {n + 1}: window {t_window * 1000:.0f} ms, end host {end.get('host', 0) * 1000:.0f} ms"
                  f" renderer {end.get('renderer', 0) * 1000:.0f} ms bitmap {end.get('bitmap', 0) * 1000:.0f} ms,"
                  f" host peak {peak} KiB", flush=True)
        empty = bench.empty_peak()
        empty_imports = bench.empty_peak(same_imports=True)
        med = statistics.median
        print()
        print(f"start to the renderer's window:   {med(windows) * 1000:7.0f} ms (median of {len(windows)})")
        print(f"pointer move to host gone:        {med(ends['host']) * 1000:7.0f} ms")
        print(f"pointer move to renderer gone:    {med(ends['renderer']) * 1000:7.0f} ms (window, polled every 50 ms)")
        print(f"pointer move to bitmap deleted:   {med(ends['bitmap']) * 1000:7.0f} ms")
        print(f"pointer move to all three:        {med(ends['all']) * 1000:7.0f} ms")
        if peaks:
            print(f"host peak memory (VmHWM):         {med(peaks):7.0f} KiB")
        if empty:
            print(f"empty Win32 program (VmHWM):      {empty:7.0f} KiB")
        if empty_imports:
            print(f"  the same, importing host DLLs:  {empty_imports:7.0f} KiB")
            if peaks:
                print(f"host minus that program:          {med(peaks) - empty_imports:7.0f} KiB")
    finally:
        bench.close()


if __name__ == "__main__":
    main()
