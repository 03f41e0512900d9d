#!/usr/bin/env python3
"""Runs one libFuzzer target for a bounded time on a scratch copy of its seed corpus."""
import os, shutil, subprocess, sys, tempfile

def main():
    binary, seeds, seconds = sys.argv[1], sys.argv[2], sys.argv[3]
    if not os.path.exists(binary):
        sys.exit(f"fuzz target not built: {binary} (build the 'fuzz' preset first)")
    with tempfile.TemporaryDirectory(prefix="halvane-fuzz-") as work:
        corpus = os.path.join(work, "corpus")
        if os.path.isdir(seeds):
            shutil.copytree(seeds, corpus)
        else:
            os.makedirs(corpus)
        cmd = [binary, f"-max_total_time={seconds}", "-rss_limit_mb=2048", "-timeout=10",
               f"-artifact_prefix={work}/", "-print_final_stats=1", corpus]
        result = subprocess.run(cmd, cwd=work)
        for name in os.listdir(work):
            if name.startswith(("crash-", "leak-", "timeout-", "oom-")):
                print(f"finding: {name}", file=sys.stderr)
        sys.exit(result.returncode)

if __name__ == "__main__":
    main()
