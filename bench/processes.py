"""Facts about Linux processes that the benchmarks read from /proc."""
import os


def linux_pids_with(text, unless="probe.exe"):
    """Linux processes whose command line holds text (and not unless)."""
    pids = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open(f"/proc/{name}/cmdline", "rb") as f:
                cmdline = f.read()
                if text.encode() in cmdline and unless.encode() not in cmdline:
                    pids.append(int(name))
        except OSError:
            pass
    return pids


def peak_kib(pid):
    """The process's peak resident memory (VmHWM) in KiB, or None."""
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None
