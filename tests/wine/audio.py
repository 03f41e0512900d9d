"""Sound for the Wine tests: a private PulseAudio with one null sink, and recording of what
the programs play into it.

PulseAudio runs as a plain user-session daemon (root is fine with --system=false) with its
socket in the test folder; Wine reaches it through PULSE_SERVER. A silent stream plays into
the sink for the whole test, because an idle null sink hands out its monitor only in 2 s
blocks. Everything here is stopped by PID.
"""
import array
import os
import shutil
import subprocess
import tempfile
import time

RATE = 44100
CHANNELS = 2
SINK = "halvane_sink"


def available():
    return all(shutil.which(t) for t in ("pulseaudio", "pacat", "parec", "sox"))


def _end(p):
    """Ends a process we started: asked first, killed after 5 s."""
    p.terminate()
    try:
        p.wait(5)
    except subprocess.TimeoutExpired:
        p.kill()
        p.wait()


class PulseSink:
    """A private PulseAudio daemon with a null sink; use as a context manager."""

    def __init__(self):
        # A short folder of its own: a unix socket path must stay under 108 bytes.
        self.folder = tempfile.mkdtemp(prefix="halvane-pulse-")
        self.socket = os.path.join(self.folder, "native")
        self.daemon = None
        self.silence = None
        self.files = []
        self.env = dict(os.environ, HOME=self.folder, XDG_RUNTIME_DIR=self.folder,
                        XDG_CONFIG_HOME=self.folder, PULSE_SERVER="unix:" + self.socket)

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        log = open(os.path.join(self.folder, "pulseaudio.log"), "wb")
        zero = open("/dev/zero", "rb")
        self.files = [log, zero]
        self.daemon = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false",
             "--disable-shm=yes", "--log-target=stderr", "--log-level=error",
             "-L", f"module-null-sink sink_name={SINK} rate={RATE} channels={CHANNELS}",
             "-L", f"module-native-protocol-unix socket={self.socket} auth-anonymous=1",
             "-L", "module-always-sink"],
            env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=log)
        deadline = time.monotonic() + 15
        while not self._ready():
            if self.daemon.poll() is not None or time.monotonic() > deadline:
                self.stop()
                raise RuntimeError("pulseaudio did not start")
            time.sleep(0.1)
        subprocess.run(["pactl", "set-default-sink", SINK], env=self.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Keep the sink busy with silence, so that its monitor flows smoothly.
        self.silence = subprocess.Popen(
            ["pacat", "--playback", "--raw", f"--device={SINK}", "--format=s16le",
             f"--rate={RATE}", f"--channels={CHANNELS}", "--latency-msec=50"],
            env=self.env, stdin=zero,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _ready(self):
        if not os.path.exists(self.socket):
            return False
        r = subprocess.run(["pactl", "info"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
        return r.returncode == 0

    def wine_env(self, env):
        """The Wine environment with the private server."""
        return dict(env, PULSE_SERVER="unix:" + self.socket)

    def record(self, seconds):
        """Records the sink's monitor for `seconds`; returns a Recording."""
        out = os.path.join(self.folder, f"rec-{time.monotonic_ns()}.raw")
        with open(out, "wb") as f:
            p = subprocess.Popen(
                ["parec", "--raw", f"--device={SINK}.monitor", "--format=s16le",
                 f"--rate={RATE}", f"--channels={CHANNELS}", "--latency-msec=50"],
                env=self.env, stdout=f, stderr=subprocess.DEVNULL)
            try:
                time.sleep(seconds)
            finally:
                _end(p)
        with open(out, "rb") as f:
            return Recording(f.read())

    def stop(self):
        for p in (self.silence, self.daemon):
            if p is not None and p.poll() is None:
                _end(p)
        for f in self.files:
            f.close()
        self.files = []
        self.silence = self.daemon = None
        shutil.rmtree(self.folder, ignore_errors=True)


class Recording:
    """Signed 16-bit interleaved samples."""

    def __init__(self, raw):
        self.samples = array.array("h")
        self.samples.frombytes(raw[: len(raw) // 2 * 2])

    def seconds(self):
        return len(self.samples) / (RATE * CHANNELS)

    def peak(self):
        return max((abs(s) for s in self.samples), default=0)

    def loud_fraction(self, block_seconds=0.1, threshold=300):
        """The share of blocks whose peak passes `threshold`."""
        n = int(RATE * CHANNELS * block_seconds)
        blocks = [self.samples[i:i + n] for i in range(0, len(self.samples) - n + 1, n)]
        if not blocks:
            return 0.0
        loud = sum(1 for b in blocks if max(abs(s) for s in b) > threshold)
        return loud / len(blocks)


def make_tone(path, seconds, kind, freq=440, volume=0.5):
    """A sine tone file of the kind "wav" or "mp3" made with sox (the name may end in
    anything)."""
    bits = ["-b", "16"] if kind == "wav" else []
    subprocess.run(["sox", "-n", "-r", str(RATE), "-c", "2", *bits, "-t", kind, path, "synth",
                    str(seconds), "sine", str(freq), "vol", str(volume)],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
