#!/usr/bin/env python3
"""Runs the benchmark programs side by side and prints one table.

Meant to run inside the loopback-only network namespace and the Xvfb display
that scripts/run-benchmarks.sh sets up. Every comparison runs both sides in
the same session, alternating, several times; the table quotes medians and
ratios of medians. Raw results of every run go to --raw as JSON lines.
"""
import argparse
import json
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import time

# Connect waits by design: the 500 ms switch delay after the load, then the
# 500 ms slide, at whose end the console page becomes the current page.
SLIDE_AND_TIMER_MS = 500 + 500


def run_program(path, args, timeout):
    """Starts one benchmark program and returns its BENCH values."""
    home = tempfile.mkdtemp(prefix="bench-home-")
    env = dict(os.environ, HOME=home)
    spawned = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    try:
        proc = subprocess.run([path, f"--spawned-at={spawned}"] + args, env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=timeout, text=True, check=False)
        output, code = proc.stdout, proc.returncode
    except subprocess.TimeoutExpired as expired:
        output = expired.stdout.decode() if isinstance(expired.stdout, bytes) else ""
        code = "timeout"
    values = {}
    for line in output.splitlines():
        parts = line.split(" ", 2)
        if len(parts) == 3 and parts[0] == "BENCH":
            try:
                values[parts[1]] = float(parts[2])
            except ValueError:
                values[parts[1]] = parts[2]
    values["exit_code"] = code
    subprocess.run(["rm", "-rf", home], check=False)
    return values


def start_mixer(build, arguments, namespace=None):
    command = [os.path.join(build, "tools/mixer-sim/mixer-sim")] + arguments
    if namespace:
        command = ["ip", "netns", "exec", namespace] + command
    sim = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = sim.stdout.readline()
    if "mixer-sim ready" not in line:
        sim.kill()
        raise RuntimeError("the simulated mixer did not start")
    return sim


def med(runs, key):
    values = [r[key] for r in runs if r["exit_code"] == 0 and isinstance(r.get(key), float)]
    return statistics.median(values) if values else float("nan")


def max_of(runs, key):
    values = [r[key] for r in runs if r["exit_code"] == 0 and isinstance(r.get(key), float)]
    return max(values) if values else float("nan")


def machine_line():
    cpu = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return (f"{cpu}, {os.cpu_count()} cores, Linux {platform.release()}, "
            f"{time.strftime('%Y-%m-%d %H:%M')}")


class Table:
    def __init__(self):
        self.rows = []

    def add(self, number, figure, launcher, floor, ratio, goal, met):
        verdict = "n/a" if met is None else ("met" if met else "MISSED")
        self.rows.append((number, figure, launcher, floor, ratio, goal, verdict))

    def print(self):
        header = ("#", "figure", "launcher", "floor", "ratio", "goal", "")
        widths = [max(len(str(r[i])) for r in self.rows + [header]) for i in range(7)]
        for row in [header] + self.rows:
            print(" | ".join(str(c).ljust(w) for c, w in zip(row, widths)))


def fmt(value, unit):
    return f"{value:.1f} {unit}"


def per_round_overheads(normal, floor):
    """Connect minus (floor load + designed waits), launcher and floor of one round."""
    floors = {r["round"]: r["load_ms"] for r in floor
              if r["exit_code"] == 0 and isinstance(r.get("load_ms"), float)}
    return [r["connect_ms"] - floors[r["round"]] - SLIDE_AND_TIMER_MS for r in normal
            if r["exit_code"] == 0 and isinstance(r.get("connect_ms"), float)
            and r["round"] in floors]


def load_rows(table, floor, cold, normal):
    """Where a load's time went: the thread that runs the engine's side of it
    (the GUI thread, busy with the slide to the loading page in the launcher)
    and the renderer's main thread (on a CPU, or ready but waiting for one;
    a page the engine counts as hidden runs it at a lower priority)."""
    def renderer(runs):
        return (f"{fmt(med(runs, 'renderer_wait_ms'), 'ms')} / "
                f"{fmt(med(runs, 'renderer_cpu_ms'), 'ms')}")

    def started(runs):
        done = [r for r in runs if r["exit_code"] == 0 and "renderer_started" in r]
        return f"{sum(r['renderer_started'] == 1 for r in done)} of {len(done)}"

    frames = med(normal, "load_frames_ms")
    table.add(2, "  load: slide frames on the GUI thread (the engine's thread)",
              f"{fmt(frames, 'ms')} ({med(normal, 'load_frames'):.0f} frames)", "no slide",
              f"load - frames {med(normal, 'load_ms') - frames:.1f} ms", "report", None)
    wait = med(normal, "renderer_wait_ms") - med(floor, "renderer_wait_ms")
    table.add(2, "  load: renderer main thread waiting for a CPU / on one",
              renderer(normal), renderer(floor), f"{wait:+.1f} ms waiting", "report", None)
    table.add(2, "  load: GUI thread waiting for a CPU / on one",
              f"{fmt(med(normal, 'gui_wait_ms'), 'ms')} / {fmt(med(normal, 'gui_cpu_ms'), 'ms')}",
              f"{fmt(med(floor, 'gui_wait_ms'), 'ms')} / {fmt(med(floor, 'gui_cpu_ms'), 'ms')}",
              "-", "report", None)
    if cold:
        table.add(2, "  load: renderer started by the load (runs)", started(normal),
                  f"{started(floor)}; unshown {started(cold)}",
                  f"unshown: {renderer(cold)}", "report", None)


def startup_rows(table, floor, cold, normal, maximised):
    lf, ff = med(normal, "first_frame_ms"), med(floor, "first_frame_ms")
    table.add(1, "start to first painted frame", fmt(lf, "ms"), fmt(ff, "ms"),
              f"{lf / ff:.2f}", "<= 1.15 x floor", lf <= 1.15 * ff)

    load_floor = med(floor, "load_ms")
    connect = med(normal, "connect_ms")
    designed = load_floor + SLIDE_AND_TIMER_MS
    table.add(2, "Connect to console page current", fmt(connect, "ms"),
              f"{fmt(load_floor, 'ms')} + 1000", f"{connect - designed:+.1f} ms",
              "overhead <= 50 ms", connect - designed <= 50)
    overheads = per_round_overheads(normal, floor)
    if overheads:
        table.add(2, "  overhead in each round (launcher and floor of one round)",
                  f"{min(overheads):+.1f} to {max(overheads):+.1f} ms", "-",
                  f"{sum(o <= 50 for o in overheads)} of {len(overheads)} within 50 ms",
                  "report", None)
    table.add(2, "  of which load / switch wait / slide",
              " / ".join(fmt(med(normal, key), "ms")
                         for key in ("load_ms", "switch_wait_ms", "slide_ms")),
              "-", "-", "report", None)
    load_rows(table, floor, cold, normal)
    table.add(2, "  longest wait from a key to its echo while typing",
              fmt(med(normal, "key_echo_max_ms"), "ms"), "-",
              f"worst {max_of(normal, 'key_echo_max_ms'):.1f} ms", "report", None)
    table.add(2, "  longest dispatch while the address is typed",
              fmt(med(normal, "typing_stall_ms"), "ms"), "-",
              f"worst {max_of(normal, 'typing_stall_ms'):.1f} ms", "report", None)
    if cold:
        cold_load = med(cold, "load_ms")
        table.add(2, "  against a bare view that also loads unshown", fmt(connect, "ms"),
                  f"{fmt(cold_load, 'ms')} + 1000",
                  f"{connect - cold_load - SLIDE_AND_TIMER_MS:+.1f} ms", "report", None)

    for runs, label, goal in ((normal, "", 8.0), (maximised, " maximised", 16.0)):
        if not runs:
            continue
        size = f"{int(med(runs, 'slide_width'))}x{int(med(runs, 'slide_height'))}"
        paint = med(runs, "slide_paint_median_ms")
        table.add(4, f"slide frame {size}{label}: painting", fmt(paint, "ms"), "-",
                  f"{med(runs, 'slide_frames'):.0f} frames", f"<= {goal:.0f} ms", paint <= goal)
        frame = med(runs, "slide_frame_median_ms")
        table.add(4, "  whole frame, with composition (software GL)", fmt(frame, "ms"), "-",
                  f"slowest {med(runs, 'slide_frame_max_ms'):.1f} ms", f"<= {goal:.0f} ms",
                  frame <= goal)

    for stage, label in (("start", "after start-up"),
                         ("typed", "with the address typed, before the click"),
                         ("connect", "after a Connect")):
        lr, lp = med(normal, f"{stage}_rss_kb") / 1024, med(normal, f"{stage}_tree_pss_kb") / 1024
        if stage == "typed":
            table.add(5, f"resident memory {label}", fmt(lr, "MiB"), "-", "-", "report", None)
            table.add(5, "  with web engine helpers (PSS)", fmt(lp, "MiB"), "-", "-", "report", None)
            continue
        fr, fp = med(floor, f"{stage}_rss_kb") / 1024, med(floor, f"{stage}_tree_pss_kb") / 1024
        table.add(5, f"resident memory {label}", fmt(lr, "MiB"), fmt(fr, "MiB"),
                  f"{lr / fr:.2f}", "<= 1.2 x floor", lr <= 1.2 * fr)
        table.add(5, f"  with web engine helpers (PSS) {label}", fmt(lp, "MiB"),
                  fmt(fp, "MiB"), f"{lp / fp:.2f}", "report", None)


def burst_rows(table, bursts):
    done = [b for b in bursts if b["exit_code"] == 0]
    if not done:
        return
    rows = int(med(done, "burst_rows"))
    latency = med(done, "burst_last_answer_to_row_ms")
    worst = max(b["burst_last_answer_to_row_ms"] for b in done)
    table.add(3, f"{rows} mixers: last answer to last row shown", fmt(latency, "ms"), "-",
              f"worst {worst:.1f} ms", "<= 100 ms", latency <= 100)
    stall = med(done, "burst_stall_ms")
    worst = max(b["burst_stall_ms"] for b in done)
    table.add(3, "  longest event loop stall in the burst", fmt(stall, "ms"), "-",
              f"worst {worst:.1f} ms", "<= 16 ms", stall <= 16)


# Mixers whose configuration is hostile; the console loads as usual. The
# launcher must refuse the body at its bound rather than hold it.
HOSTILE = (("huge", "configuration of 200 MB", ["--huge", "config=200000000"]),
           ("endless", "configuration without end", ["--endless", "config"]))


def hostile_rows(table, normal, hostile):
    plain = [r for r in normal if r["exit_code"] == 0]
    if not plain:
        return
    peak = med(plain, "connect_peak_rss_kb") / 1024
    dispatch = med(plain, "connect_longest_dispatch_ms")
    for key, label, _ in HOSTILE:
        done = [r for r in hostile[key] if r["exit_code"] == 0]
        if not done:
            continue
        hp = med(done, "connect_peak_rss_kb") / 1024
        table.add(7, f"Connect, {label}: peak resident memory", fmt(hp, "MiB"),
                  fmt(peak, "MiB") + " (plain)", f"{hp - peak:+.1f} MiB", "<= +32 MiB",
                  hp - peak <= 32)
        hd = med(done, "connect_longest_dispatch_ms")
        table.add(7, "  longest event dispatch from the click on", fmt(hd, "ms"),
                  fmt(dispatch, "ms") + " (plain)", f"{hd - dispatch:+.1f} ms", "<= +50 ms",
                  hd - dispatch <= 50)


def parse_rows(table, parse):
    for key, label in (("parse_markers_per_s", "marker datagrams parsed"),
                       ("parse_descriptions_per_s", "descriptions parsed")):
        if isinstance(parse.get(key), float):
            table.add(6, label, f"{parse[key] / 1e6:.2f} M/s", "-", "-", "report", None)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--address", default="127.0.0.2")
    parser.add_argument("--raw", default=None)
    parser.add_argument("--timeout", type=int, default=90)
    parser.add_argument("--mixer-ns", default=None,
                        help="namespace of the test LAN's mixers (none: no search burst)")
    parser.add_argument("--burst-range", default="10.77.0.1-10.77.0.254")
    parser.add_argument("--lan", default="10.77.0.0/16")
    args = parser.parse_args()

    bench = os.path.join(args.build, "bench")
    floor_path = os.path.join(bench, "bench_floor")
    launcher_path = os.path.join(bench, "bench_launcher")
    common = [f"--address={args.address}"]
    raw = open(args.raw, "w") if args.raw else None
    floor, cold, normal, maximised = [], [], [], []
    hostile = {key: [] for key, _, _ in HOSTILE}

    sims = [start_mixer(args.build, ["--address", args.address, "--answer", "none"])]
    hostile_addresses = {}
    base = args.address.rsplit(".", 1)
    for offset, (key, _, faults) in enumerate(HOSTILE, 1):
        hostile_addresses[key] = f"{base[0]}.{int(base[1]) + offset}"
        sims.append(start_mixer(args.build, ["--address", hostile_addresses[key],
                                             "--answer", "none"] + faults))
    try:
        for round_index in range(args.runs):
            sides = [("floor", floor_path, common, floor),
                     ("floor-unshown", floor_path, common + ["--hidden-view"], cold),
                     ("launcher", launcher_path, common, normal),
                     ("launcher-maximised", launcher_path, common + ["--maximise"], maximised)]
            sides += [(f"launcher-{key}", launcher_path,
                       [f"--address={hostile_addresses[key]}"], hostile[key])
                      for key, _, _ in HOSTILE]
            # Alternate which side goes first, so neither always runs warm.
            if round_index % 2:
                sides.reverse()
            for name, path, arguments, bucket in sides:
                values = run_program(path, arguments, args.timeout)
                values["side"], values["round"] = name, round_index
                bucket.append(values)
                if raw:
                    raw.write(json.dumps(values) + "\n")
                print(f"round {round_index + 1}/{args.runs} {name}: "
                      f"exit {values['exit_code']}", file=sys.stderr)
    finally:
        for sim in sims:
            sim.terminate()
            sim.wait(timeout=10)

    bursts = []
    if args.mixer_ns:
        first, last = args.burst_range.split("-")
        count = int(last.rsplit(".", 1)[1]) - int(first.rsplit(".", 1)[1]) + 1
        sim = start_mixer(args.build, ["--range", args.burst_range], args.mixer_ns)
        try:
            for round_index in range(args.runs):
                values = run_program(launcher_path, [f"--burst={count}", f"--lan={args.lan}",
                                                     "--settle-ms=1000"], args.timeout)
                values["side"], values["round"] = "burst", round_index
                bursts.append(values)
                if raw:
                    raw.write(json.dumps(values) + "\n")
                print(f"burst {round_index + 1}/{args.runs}: exit {values['exit_code']} "
                      f"{values.get('error', '')}", file=sys.stderr)
        finally:
            sim.terminate()
            sim.wait(timeout=10)
    parse = run_program(os.path.join(bench, "bench_parse"), [], args.timeout)
    if raw:
        raw.write(json.dumps(dict(parse, side="parse")) + "\n")
        raw.close()

    print(f"Machine: {machine_line()}")
    print(f"Runs per side: {args.runs} (medians; ratios are launcher / floor)")
    everything = floor + cold + normal + maximised + bursts + sum(hostile.values(), [])
    failed = [f"{r['side']} round {r['round'] + 1}" for r in everything if r["exit_code"] != 0]
    if failed:
        print("Failed runs, left out of the medians: " + ", ".join(failed))
    table = Table()
    startup_rows(table, floor, cold, normal, maximised)
    burst_rows(table, bursts)
    hostile_rows(table, normal, hostile)
    parse_rows(table, parse)
    table.rows.sort(key=lambda row: row[0])
    table.print()


if __name__ == "__main__":
    main()
