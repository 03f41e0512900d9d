#!/usr/bin/env python3
"""Renderer benchmark: figures, not a test. Run on demand after building the windows preset:

    bench/renderer.py [--build build/windows] [--runs 3] [--seconds 10] [--warmup 2]

Under Wine on a private Xvfb (1280 x 800, the renderer at its own default size), for the
timing build of the renderer (HalvaneBench.exe: the renderer's sources with frame hooks) and
for the floor program in its two modes (clear+swap; same sphere and texture in a bare loop),
it prints the time from process start to the first swapped frame, frames per second over
`--seconds` after `--warmup`, and the process's peak resident memory (VmHWM); the medians
of `--runs` runs, then the medians of the start-up steps that both programs note (each timed
run starts right after a short Wine program, so that every program meets an equally warm
Wine), then the ratios. When Debian's xscreensaver-gl-extra is installed, glplanet
runs at the same size with a small LD_PRELOAD shim that notes its glXSwapBuffers calls.
Everything started here is stopped here; the Wine prefix is the bench's own.
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "wine"))

from processes import linux_pids_with, peak_kib  # noqa: E402  (bench/, beside this file)

GLPLANET = next((p for p in ("/usr/libexec/xscreensaver/glplanet", "/usr/lib/xscreensaver/glplanet")
                 if os.path.exists(p)), None)

SWAP_SHIM = r"""
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
typedef unsigned (*swap_fn)(void *, void *);
static int out = -1;
static double ms(clockid_t c) { struct timespec t; clock_gettime(c, &t); return t.tv_sec * 1e3 + t.tv_nsec / 1e6; }
/* glplanet (xscreensaver 6) presents through EGL. */
unsigned eglSwapBuffers(void *dpy, void *surface) {
  static swap_fn real; static double first; char line[64]; int n;
  if (!real) real = (swap_fn)dlsym(RTLD_NEXT, "eglSwapBuffers");
  unsigned ok = real(dpy, surface);
  if (out < 0) {
    char stat[1024] = {0}; FILE *f = fopen("/proc/self/stat", "r");
    if (f) { fread(stat, 1, sizeof stat - 1, f); fclose(f); }
    char *p = strrchr(stat, ')'); long long start = 0; int field = 2;
    for (; p && *p; ++p) if (*p == ' ' && ++field == 22) { start = atoll(p + 1); break; }
    out = open(getenv("SWAP_LOG"), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    first = ms(CLOCK_MONOTONIC);
    n = snprintf(line, sizeof line, "first_frame_ms %.1f\n",
                 ms(CLOCK_BOOTTIME) - start * 1000.0 / sysconf(_SC_CLK_TCK));
    write(out, line, n);
  }
  n = snprintf(line, sizeof line, "%.2f\n", ms(CLOCK_MONOTONIC) - first);
  write(out, line, n);
  return ok;
}
"""


def parse_frames(text, steps=None):
    """(first frame ms, list of frame times in ms since the first frame); the start-up steps
    ("step <name> <ms>" lines: ms from process start) go into the list steps when given."""
    first, times = None, []
    for line in text.splitlines():
        if line.startswith("first_frame_ms"):
            first = float(line.split()[1])
        elif line.startswith("frames"):
            continue
        elif line.startswith("step "):
            if steps is not None:
                _, name, ms = line.split()
                steps.append((name, float(ms)))
        elif line.strip():
            times.append(float(line))
    return first, times


def fps(times, warmup, seconds):
    lo, hi = warmup * 1000.0, (warmup + seconds) * 1000.0
    inside = [t for t in times if lo <= t < hi]
    if len(inside) < 2:
        return 0.0
    return (len(inside) - 1) * 1000.0 / (inside[-1] - inside[0])


class Bench:
    def __init__(self, args):
        self.args = args
        os.environ.setdefault("HALVANE_TEST_ROOT", os.path.join(args.build, "bench-wine"))
        import session  # reads HALVANE_TEST_ROOT: the bench's own prefix
        self.session = session
        self.probe = os.path.join(args.build, "tools", "probe.exe")
        self.texture = os.path.join(SOURCE_DIR, "assets", "moon.bmp")
        session.ensure_prefix()
        self.xvfb, self.display = session.start_xvfb(1280, 800)
        self.env = session.wine_env(self.display)
        # A warm wineserver for the whole bench, as when the host starts the renderer.
        subprocess.run([session.WINESERVER, "-p"], env=self.env)
        subprocess.run([session.WINE, self.probe, "metrics"], env=self.env, stdout=subprocess.DEVNULL)

    def close(self):
        subprocess.run([self.session.WINESERVER, "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self.session.stop(self.xvfb)

    def probe_out(self, *args, timeout=60):
        r = subprocess.run([self.session.WINE, self.probe, *args], env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)
        return r.stdout.decode("utf-8", "replace").strip()

    def run_windows(self, exe, title, args=(), steps=None):
        work = tempfile.mkdtemp(prefix="halvane-bench-")
        try:
            target = os.path.join(work, os.path.basename(exe))
            shutil.copy(exe, target)
            shutil.copy(self.texture, os.path.join(work, "Halvane.bmp"))
            # A Wine program just before, as the host is when it starts the renderer: after
            # some seconds with no Wine process (glplanet's run) the next one starts some
            # 200 ms later, whichever it is, which charged that cost to the program that
            # happened to follow glplanet.
            self.probe_out("metrics")
            popen = subprocess.Popen([self.session.WINE, self.probe, "run",
                                      "Z:" + target.replace("/", "\\"), *args], env=self.env,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            import json
            window = json.loads(self.probe_out("wait", title, "30000"))
            time.sleep(self.args.warmup + self.args.seconds + 0.5)
            peaks = [p for p in (peak_kib(pid) for pid in linux_pids_with(os.path.basename(work))) if p]
            self.probe_out("close", str(window["hwnd"]))
            popen.wait(30)
            popen.stdout.close()
            with open(os.path.join(work, "bench.txt")) as f:
                first, times = parse_frames(f.read(), steps)
            if steps is not None and first is not None:
                steps.append(("first_swap", first))
            return first, fps(times, self.args.warmup, self.args.seconds), max(peaks) if peaks else None
        finally:
            shutil.rmtree(work, ignore_errors=True)

    def run_glplanet(self, shim):
        work = tempfile.mkdtemp(prefix="halvane-bench-")
        try:
            log = os.path.join(work, "swaps.txt")
            env = dict(self.env, LD_PRELOAD=shim, SWAP_LOG=log)
            metrics = __import__("json").loads(self.probe_out("metrics"))
            size = f"{metrics['cxmaximized']}x{metrics['cymaximized'] + metrics['cycaption']}+0+0"
            proc = subprocess.Popen([GLPLANET, "-window", "-geometry", size, "-delay", "0", "-mode", "globe",
                                     "-no-stars", "-no-roll", "-no-wander", "-resolution", "48"],
                                    env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(self.args.warmup + self.args.seconds + 0.5)
            peak = peak_kib(proc.pid)
            proc.send_signal(signal.SIGTERM)
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
            with open(log) as f:
                first, times = parse_frames(f.read())
            return first, fps(times, self.args.warmup, self.args.seconds), peak
        finally:
            shutil.rmtree(work, ignore_errors=True)


def print_steps(steps):
    """Medians of each start-up step: ms from process start, and ms since the step before."""
    print("\nstart-up steps, medians (ms from process start / ms since the step before):")
    for program, runs in steps.items():
        if not any(runs):
            continue
        print(f"  {program}")
        names = []
        for run in runs:
            for name, _ in run:
                if name not in names:
                    names.append(name)
        for name in names:
            at, since = [], []
            for run in runs:
                for k, (n, ms) in enumerate(run):
                    if n == name:
                        at.append(ms)
                        since.append(ms - run[k - 1][1] if k else ms)
                        break
            print(f"    {name:12s} {statistics.median(at):8.1f} {statistics.median(since):8.1f}"
                  f"   (seen in {len(at)} of {len(runs)} runs)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(SOURCE_DIR, "build", "windows"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=10)
    parser.add_argument("--warmup", type=float, default=2)
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    bench_dir = os.path.join(args.build, "bench")

    steps = {}  # program -> one list of (step, ms from process start) per run

    def windows(name, exe, title, args=()):
        def go(b):
            steps.setdefault(name, []).append([])
            return b.run_windows(os.path.join(bench_dir, exe), title, args, steps[name][-1])
        return (name, go)

    programs = [
        windows("renderer", "HalvaneBench.exe", "Selvin"),
        windows("floor clear", "HalvaneFloor.exe", "HalvaneFloor", ["clear"]),
        windows("floor scene", "HalvaneFloor.exe", "HalvaneFloor", ["scene"]),
    ]
    shim_dir = tempfile.mkdtemp(prefix="halvane-shim-")
    if GLPLANET:
        shim = os.path.join(shim_dir, "swapcount.so")
        src = os.path.join(shim_dir, "swapcount.c")
        with open(src, "w") as f:
            f.write(SWAP_SHIM)
        subprocess.run(["gcc", "-shared", "-fPIC", "-O2", "-o", shim, src, "-ldl"], check=True)
        programs.append(("glplanet", lambda b: b.run_glplanet(shim)))
    else:
        print("glplanet not installed (xscreensaver-gl-extra): skipped")

    bench = Bench(args)
    results = {name: [] for name, _ in programs}
    try:
        for run in range(args.runs):
            for name, go in programs:
                first, rate, peak = go(bench)
                results[name].append((first, rate, peak))
                print(f"run {run + 1} {name:12s} first frame {first:8.1f} ms  {rate:7.1f} fps  "
                      f"peak {peak / 1024 if peak else float('nan'):6.1f} MiB", flush=True)
    finally:
        bench.close()
        shutil.rmtree(shim_dir, ignore_errors=True)

    med = {}
    print(f"\nmedians of {args.runs} runs ({args.seconds:g} s after {args.warmup:g} s warm-up):")
    for name, rows in results.items():
        firsts = [r[0] for r in rows if r[0] is not None]
        peaks = [r[2] for r in rows if r[2]]
        med[name] = (statistics.median(firsts) if firsts else float("nan"),
                     statistics.median(r[1] for r in rows),
                     statistics.median(peaks) / 1024 if peaks else float("nan"))
        print(f"  {name:12s} first frame {med[name][0]:8.1f} ms  {med[name][1]:7.1f} fps  peak {med[name][2]:6.1f} MiB")
    print_steps(steps)
    r, fc, fs = med["renderer"], med["floor clear"], med["floor scene"]
    print("\nratios (target):")
    print(f"  renderer fps / floor scene fps        {r[1] / fs[1]:.3f}  (>= 0.95)")
    if "glplanet" in med:
        print(f"  renderer fps / glplanet fps           {r[1] / med['glplanet'][1]:.3f}  (>= 2)")
    print(f"  renderer first frame / floor scene    {r[0] / fs[0]:.3f}  (<= 1.1; floor scene = floor + texture load)")
    print(f"  renderer peak - floor clear peak      {r[2] - fc[2]:+.1f} MiB  (clear + swap only)")
    print(f"  renderer peak - floor scene peak      {r[2] - fs[2]:+.1f} MiB  (<= 4 MiB over the same scene)")


if __name__ == "__main__":
    main()
