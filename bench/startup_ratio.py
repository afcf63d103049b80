#!/usr/bin/env python3
"""How long the configuration window takes to appear, against a plain Qt dialog.

Runs build/bench/lvcfg_startup_probe alternately as the window and as a plain dialog with one
Chinese label, each run a fresh process that ends at its first paint, and prints the median
of each and their ratio. Without a DISPLAY it starts its own Xvfb.

    bench/startup_ratio.py [--runs 11] [--probe build/bench/lvcfg_startup_probe]
"""
import argparse
import os
import statistics
import subprocess
import sys
import time


def start_xvfb():
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as display:
        number = display.readline().strip()
    return server, ":" + number


def one_run(probe, mode, env):
    start = time.monotonic()
    subprocess.run([probe, mode], env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return (time.monotonic() - start) * 1000.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--probe", default="build/bench/lvcfg_startup_probe")
    args = parser.parse_args()

    env = dict(os.environ)
    server = None
    if not env.get("DISPLAY"):
        server, env["DISPLAY"] = start_xvfb()
    env.pop("QT_QPA_PLATFORM", None)  # the real xcb platform, as a desktop runs it
    try:
        for mode in ("window", "plain"):  # a first run of each fills the disk cache
            one_run(args.probe, mode, env)
        times = {"window": [], "plain": []}
        for _ in range(args.runs):
            for mode in ("window", "plain"):
                times[mode].append(one_run(args.probe, mode, env))
    finally:
        if server is not None:
            server.terminate()
            server.wait()

    window = statistics.median(times["window"])
    plain = statistics.median(times["plain"])
    print(f"window: median {window:.1f} ms of {args.runs} runs "
          f"({min(times['window']):.1f} to {max(times['window']):.1f})")
    print(f"plain dialog: median {plain:.1f} ms "
          f"({min(times['plain']):.1f} to {max(times['plain']):.1f})")
    print(f"ratio: {window / plain:.2f}")


if __name__ == "__main__":
    sys.exit(main())
