#!/usr/bin/python3
"""Prints the benchmark's figures for this machine in one table.

  KELTRIM_BUILD=dir tools/with-display /usr/bin/python3 tests/bench/run_bench.py TREE

From outside the game (this script, in the virtual display):
  - start-up: from starting keltrim.exe under Wine until its first painted
    frame is on the screen, found by polling the screen's pixels with
    XGetImage (through libX11) every millisecond or so;
  - peak memory: VmHWM (the peak resident set, Windows' peak working set)
    and the peak of RssAnon (resident private memory) of the game's Wine
    process after its opening overlay and a deal, beside the same figures of
    keltrim_trivial_window.exe (one window of the game's size, a message
    loop), measured the same way under the same Wine, and of
    keltrim_trivial_common_controls.exe (the same window after the game's
    first step, initialising the common controls), to show that step's share;
  - idle CPU of the real game while its first level runs, with the share of
    the wineserver that carries its timer messages.
From inside (keltrim_bench.exe): one full table paint, one drag frame, a
whole deal and the idle cost of a running level in the bench process.
"""
import os
import re
import signal
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
WINE_RUN = os.path.join(ROOT, "tools", "wine-run")
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
import xroot  # noqa: E402

# The game's main window: 712 x 553 at the centre of the screen, less
# (356, 274), as both programs place it.
WIN_W, WIN_H = 712, 553

# Points of the table that show its background colour in every state the
# start-up passes through (empty table, dealt table), relative to the
# window's top-left corner: between the side stacks and the labels, above
# the triangle and at the bottom left. The first lies in the dark body of
# the opening overlay.
TABLE_POINTS = [(544, 150), (394, 140), (74, 520)]


class Screen:
    """Reads pixels of the X display named by $DISPLAY."""

    def __init__(self):
        try:
            self.root = xroot.RootWindow()
        except OSError:
            raise SystemExit("run_bench: no X display")
        self.origin = (self.root.width // 2 - 356, self.root.height // 2 - 274)

    def pixels(self, points):
        """The 0xRRGGBB colours at window-relative points, one capture."""
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        left, top = min(xs), min(ys)
        image = self.root.grab(self.origin[0] + left, self.origin[1] + top,
                               max(xs) - left + 1, max(ys) - top + 1)
        if not image:
            return [None] * len(points)
        return [image.pixel(x - left, y - top) & 0xFFFFFF for x, y in points]

    def window_grid(self):
        """A coarse fingerprint of the whole window area, to see it settle."""
        points = [(x, y) for x in range(4, WIN_W, 24) for y in range(4, WIN_H, 24)]
        return tuple(self.pixels(points))


def proc_status(pid):
    values = {}
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                key, _, rest = line.partition(":")
                if rest.strip().endswith("kB"):
                    values[key] = int(rest.split()[0])
    except OSError:
        pass
    return values


def resident_by_mapping(pid):
    """Resident kB of a process per mapped file ("[anon]" for private
    anonymous memory, "[heap]" for the Linux-side malloc heap)."""
    totals = {}
    name = None
    try:
        with open(f"/proc/{pid}/smaps") as f:
            for line in f:
                fields = line.split()
                if fields and fields[0] == "Rss:" and name:
                    totals[name] = totals.get(name, 0) + int(fields[1])
                elif fields and "-" in fields[0] and not fields[0].endswith(":"):
                    name = os.path.basename(fields[5]) if len(fields) > 5 else "[anon]"
    except OSError:
        pass
    return totals


def cpu_ns(pid):
    """CPU time of all threads of a process, in nanoseconds."""
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
    except OSError:
        pass
    return total


def wineserver_pid(prefix):
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/comm") as f:
                if not f.read().startswith("wineserver"):
                    continue
            with open(f"/proc/{entry}/environ", "rb") as f:
                env = f.read().split(b"\0")
        except OSError:
            continue
        if ("WINEPREFIX=" + prefix).encode() in env:
            return int(entry)
    return None


class Program:
    """One Windows program started under the build's Wine and watched."""

    def __init__(self, exe, screen):
        self.screen = screen
        self.before = screen.pixels(TABLE_POINTS)
        self.start = time.monotonic()
        self.process = subprocess.Popen([WINE_RUN, exe], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.peak_anon = 0
        self.table_color = None

    def sample(self):
        anon = proc_status(self.process.pid).get("RssAnon", 0)
        self.peak_anon = max(self.peak_anon, anon)

    def wait_first_frame(self, timeout=30.0):
        """Seconds from the start until every table point shows one colour
        that the screen did not show there before."""
        while time.monotonic() - self.start < timeout:
            now = self.screen.pixels(TABLE_POINTS)
            if now[0] is not None and len(set(now)) == 1 and now[0] != self.before[0]:
                self.table_color = now[0]
                return time.monotonic() - self.start
            self.sample()
            time.sleep(0.001)
        raise SystemExit(f"run_bench: no first frame within {timeout:.0f} s")

    def wait_settled(self, quiet=1.0, timeout=30.0):
        """Waits until the window area has not changed for `quiet` seconds."""
        last, since, begin = None, time.monotonic(), time.monotonic()
        while time.monotonic() - begin < timeout:
            grid = self.screen.window_grid()
            if grid != last:
                last, since = grid, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return
            self.sample()
            time.sleep(0.05)

    def click(self, x, y):
        ox, oy = self.screen.origin
        subprocess.run(["xdotool", "mousemove", str(ox + x), str(oy + y), "click", "1"],
                       check=False)

    def end_opening_overlay(self, timeout=30.0):
        """Clicks the opening overlay away (a click during its wipe is
        ignored, so it clicks until the table shows again)."""
        begin = time.monotonic()
        while time.monotonic() - begin < 5.0:  # the overlay covers the table
            self.sample()
            if self.screen.pixels(TABLE_POINTS[:1])[0] != self.table_color:
                break
            time.sleep(0.02)
        while time.monotonic() - begin < timeout:
            self.click(WIN_W // 2, WIN_H // 2)
            for _ in range(15):
                time.sleep(0.02)
                self.sample()
                if self.screen.pixels(TABLE_POINTS)[1:] == [self.table_color] * 2:
                    return
        raise SystemExit("run_bench: the opening overlay did not end")

    def memory(self):
        self.sample()
        status = proc_status(self.process.pid)
        return {"hwm": status.get("VmHWM", 0), "rss": status.get("VmRSS", 0),
                "anon": self.peak_anon, "maps": resident_by_mapping(self.process.pid)}

    def stop(self):
        try:
            os.kill(self.process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.process.wait()


def idle_cpu(pid, server, seconds):
    """CPU per wall-clock second of a process and of the wineserver."""
    start, own, srv = time.monotonic(), cpu_ns(pid), cpu_ns(server) if server else 0
    time.sleep(seconds)
    wall = time.monotonic() - start
    own = (cpu_ns(pid) - own) / 1e9 / wall
    srv = ((cpu_ns(server) - srv) / 1e9 / wall) if server else 0.0
    return own, srv


def run_trivial(exe, screen):
    program = Program(exe, screen)
    try:
        startup = program.wait_first_frame()
        program.wait_settled(quiet=0.5)
        return startup, program.memory()
    finally:
        program.stop()


def run_game(exe, screen, prefix, idle_seconds=0):
    program = Program(exe, screen)
    try:
        startup = program.wait_first_frame()
        program.end_opening_overlay()
        program.wait_settled()  # the deal has ended
        idle = None
        if idle_seconds:
            idle = idle_cpu(program.process.pid, wineserver_pid(prefix), idle_seconds)
        return startup, program.memory(), idle
    finally:
        program.stop()


def run_inside(exe):
    """keltrim_bench.exe's own figures, by the start of each line."""
    out = subprocess.run([WINE_RUN, exe], capture_output=True, text=True, timeout=300)
    if out.returncode != 0:
        sys.stdout.write(out.stdout + out.stderr)
        raise SystemExit("run_bench: keltrim_bench.exe failed")
    return out.stdout


def figure(text, start):
    for line in text.splitlines():
        if line.startswith(start):
            found = re.search(r"([0-9]+\.[0-9]+)", line.split(":", 1)[1])
            if found:
                return float(found.group(1))
    return float("nan")


def mb(kb):
    return kb / 1024.0


def main():
    tree = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    build = os.environ["KELTRIM_BUILD"]
    prefix = os.path.join(build, "wineprefix")
    game = os.path.join(tree, "keltrim.exe")
    trivial = os.path.join(tree, "tests", "bench", "keltrim_trivial_window.exe")
    controls = os.path.join(tree, "tests", "bench", "keltrim_trivial_common_controls.exe")
    bench = os.path.join(tree, "tests", "bench", "keltrim_bench.exe")
    runs = int(os.environ.get("KELTRIM_BENCH_RUNS", "3"))
    screen = Screen()

    # The first start of all also starts the wineserver; after it the
    # server is kept running, as it is while any Wine program runs.
    cold, _, _ = run_game(game, screen, prefix)
    env = dict(os.environ, WINEPREFIX=prefix)
    subprocess.run(["wineserver", "-p"], env=env, check=False)

    trivial_runs = [run_trivial(trivial, screen) for _ in range(runs)]
    controls_runs = [run_trivial(controls, screen) for _ in range(runs)]
    game_runs = [run_game(game, screen, prefix, idle_seconds=10 if i == 0 else 0)
                 for i in range(runs)]
    inside = run_inside(bench)

    t_start = statistics.median(r[0] for r in trivial_runs)
    g_start = statistics.median(r[0] for r in game_runs)
    t_mem = {k: statistics.median(r[1][k] for r in trivial_runs) for k in ("hwm", "anon")}
    g_mem = {k: statistics.median(r[1][k] for r in game_runs) for k in ("hwm", "anon")}
    c_mem = {k: statistics.median(r[1][k] for r in controls_runs) for k in ("hwm", "anon")}
    own, server = game_runs[0][2]

    arch = "x86_64" if tree.rstrip("/").endswith("win64") else "i686"
    print(f"Keltrim benchmark, {arch} build, {os.cpu_count()} cores, "
          f"median of {runs} starts where started")
    rows = [
        ("start-up to first painted frame (screen polled)", f"{g_start * 1e3:9.0f} ms",
         f"trivial window {t_start * 1e3:.0f} ms; very first start {cold * 1e3:.0f} ms"),
        ("full table paint", f"{figure(inside, 'full table paint:'):9.3f} ms", "mean of 200"),
        ("drag frame", f"{figure(inside, 'drag frame'):9.3f} ms", "mean of 600"),
        ("whole deal, 10 ms glide pauses", f"{figure(inside, 'deal with 10 ms'):9.1f} ms", ""),
        ("whole deal, drawing only", f"{figure(inside, 'deal without'):9.1f} ms", ""),
        ("idle level, bench process",
         f"{figure(inside, 'running level'):9.2f} ms/s",
         f"{figure(inside, 'running level') / 10:.3f} % of one core"),
        ("idle level, real game", f"{own * 1e3:9.2f} ms/s",
         f"{own * 100:.3f} % of one core; wineserver {server * 1e3:.2f} ms/s"),
    ]
    width = max(len(r[0]) for r in rows)
    for name, value, note in rows:
        print(f"  {name:<{width}}  {value:>13}  {note}")
    print()
    print(f"  {'peak memory':<{width}}  {'game':>9}  {'trivial':>9}  {'difference':>10}")
    for label, key in (("peak working set (VmHWM)", "hwm"),
                       ("peak private resident (RssAnon)", "anon")):
        print(f"  {label:<{width}}  {mb(g_mem[key]):6.1f} MB  {mb(t_mem[key]):6.1f} MB  "
              f"{mb(g_mem[key] - t_mem[key]):7.1f} MB")
    for label, key in (("of which initialising the common controls", "hwm"),
                       ("  (private resident)", "anon")):
        print(f"  {label:<{width}}  {'':>9}  {mb(c_mem[key]):6.1f} MB  "
              f"{mb(c_mem[key] - t_mem[key]):7.1f} MB  (trivial window that also does it)")
    game_maps, trivial_maps = game_runs[-1][1]["maps"], trivial_runs[-1][1]["maps"]
    extra = sorted(((game_maps.get(k, 0) - trivial_maps.get(k, 0), k)
                    for k in set(game_maps) | set(trivial_maps)), reverse=True)
    pictures = re.findall(r"([0-9]+\.[0-9]+) MB", next(
        (line for line in inside.splitlines() if line.startswith("pictures:")), ""))
    if len(pictures) == 3:
        print(f"  {'of which its own pictures':<{width}}  {float(pictures[2]):6.1f} MB  "
              f"(card strip {pictures[0]} MB, overlay's frozen table {pictures[1]} MB)")
    print("  where the game's resident memory exceeds the trivial window's (last run):")
    print("    " + ", ".join(f"{name} {mb(kb):.2f} MB" for kb, name in extra[:8] if kb > 0))
    print()
    print("keltrim_bench.exe:")
    sys.stdout.write("".join("  " + line + "\n" for line in inside.splitlines()))


if __name__ == "__main__":
    main()
