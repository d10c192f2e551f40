#!/usr/bin/python3
"""Soak test: thousands of random presses, drags, double-clicks, keys and
menu commands over many games against the real window of the game (the
probed build) under Wine, with gestures that span other events (a card held
while the level ends, a dialog opened over an overlay). After every step it
checks that the game answers, that the 48 cards are all there exactly once,
that the table shows no black hole after a deal; at every still moment that
a full repaint and a new layout change nothing on the screen (oracle.py);
and at every quiet moment (a dealt table in play) that the live handle
counts are back at the first quiet moment's and no window holds the mouse.
The run fails when it saw less than a run of its length must (FLOORS).

  soak.py --game keltrim_probed.exe --link soak_link.exe --seconds N
          --wine-run tools/wine-run --shots DIR
Environment: SOAK_SEED replays a run; SOAK_SECONDS overrides --seconds."""

import argparse
import collections
import math
import os
import random
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "support")]
import gamelink  # noqa: E402
from actions import Actions  # noqa: E402
from oracle import Oracle  # noqa: E402

# The 48 cards: values 0..51 less the four kings (rank 12: 48..51).
ALL_CARDS = set(range(48))
HANDLE_KINDS = ["DC", "bitmap", "brush", "pen", "font", "region", "palette", "mutex", "library"]
# Held for the rest of the process once first needed, not per use: the shell
# library, loaded when the link label is first followed.
KEPT_FOR_LIFE = {"library": 1}
ANSWER_SECONDS = 30
VERBOSE = bool(os.environ.get("SOAK_VERBOSE"))  # every step as it is done
# What every run must have seen, per 300 s of play: a third or less of what
# a normal run sees.
FLOORS = {"pairs removed": 30, "games": 2, "level ends": 4, "oracle checks": 60,
          "gesture key pair landed": 4}
# What every run must have seen at least once, whatever its length.
ONCE = ["oracle controls"]


Failure = gamelink.Failure


def check_census(r):
    """Every card of the deck less the kings lies exactly once on the 35
    stacks, a lifted card counted on its stack; none while the opening
    overlay runs (the table is cleared for the deal) or before the first."""
    if len(r.stacks) != 35:
        raise Failure("%d stacks instead of 35" % len(r.stacks))
    placed = [c for s in r.stacks.values() for c in s.cards]
    total = sum(s.with_lifted for s in r.stacks.values())
    if (r.overlay and r.kind == 1) or (r.kind == 0 and not r.ready):
        if total:
            raise Failure("%d cards on the table while it waits for a deal" % total)
        return
    if total != 48:
        raise Failure("%d cards on the table instead of 48" % total)
    counts = collections.Counter(placed)
    twice = sorted(c for c, n in counts.items() if n > 1)
    strange = sorted(set(placed) - ALL_CARDS)
    if twice or strange:
        raise Failure("cards twice %s, cards not in the deck %s" % (twice, strange))
    if not r.dragging() and set(placed) != ALL_CARDS:
        raise Failure("cards missing: %s" % sorted(ALL_CARDS - set(placed)))


def black_rows(rows, run):
    """Rows (of Screen.grab) with a run of at least `run` black pixels."""
    needle = b"\0\0\0\0" * run
    found = 0
    for row in rows:
        i = row.find(needle)
        while i >= 0 and i % 4:
            i = row.find(needle, i + 1)
        found += i >= 0
    return found


class Soak:
    def __init__(self, args, seed):
        self.args = args
        self.seed = seed
        self.rng = random.Random(seed)
        self.env = dict(os.environ)
        self.env.setdefault("WINEDEBUG", "-all")
        self.history = collections.deque(maxlen=40)
        self.baseline = None
        self.stats = collections.Counter()
        self.game = None
        self.link = None
        self.last = None
        self.oracle = None
        self.watcher = lambda before, r: None

    def log(self, what):
        self.history.append("%8.2f %s" % (time.monotonic() - self.t0, what))
        if VERBOSE:
            print(self.history[-1])

    def start(self):
        self.t0 = time.monotonic()
        self.link = gamelink.Link(self.args.wine_run, self.args.link, self.env)
        self.link.command("forget")
        self.game = subprocess.Popen([self.args.wine_run, self.args.game], env=self.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.input = gamelink.Input(self.env)
        self.oracle = Oracle(self)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            r = self.link.ask(2000)
            if isinstance(r, gamelink.Report):
                self.last = r
                return r
            if self.game.poll() is not None:
                break
            time.sleep(0.3)
        raise Failure("the game's window did not answer after start")

    def report(self, request=gamelink.REPORT, mid_gesture=False):
        """The game's report, checked; mid_gesture: a button may be down."""
        r, problem = gamelink.wait_answer(self.link, self.game, ANSWER_SECONDS, request)
        if problem:
            raise Failure(problem)
        self.stats["reports"] += 1
        check_census(r)
        if r.quiet() and not mid_gesture:
            self.check_handles(r)
        if r.still() and not r.dragging() and not mid_gesture:
            if r.capture:
                raise Failure("a window of the game holds the mouse with no button down")
        before, self.last = self.last, r
        if before:
            self.watcher(before, r)
        return r

    def check_still(self):
        """The repaint oracle at a still moment; the latest report after.
        The first still moment of a run proves that the oracle can fail."""
        if self.last.still():
            if not self.stats["oracle controls"]:
                self.stats["oracle controls" if self.oracle.check(blot=True)
                           else "oracle moments missed"] += 1
            else:
                self.stats["oracle checks" if self.oracle.check() else "oracle moments missed"] += 1
        return self.last

    def check_handles(self, r):
        self.stats["quiet checks"] += 1
        if self.baseline is None:
            self.baseline = r.handles
            print("soak: live handles at the first quiet moment: %s" % self.describe(r.handles))
            return
        if not self.handles_as_at_start(r.handles):
            raise Failure("live handles %s, at the start %s" % (self.describe(r.handles),
                                                                self.describe(self.baseline)))

    def handles_as_at_start(self, handles):
        return len(handles) == len(self.baseline) and all(
            0 <= now - then <= KEPT_FOR_LIFE.get(kind, 0)
            for kind, now, then in zip(HANDLE_KINDS, handles, self.baseline))

    @staticmethod
    def describe(handles):
        return ", ".join("%s %d" % (k, n) for k, n in zip(HANDLE_KINDS, handles))

    def check_table_picture(self, r):
        """A freshly dealt table has no black patch (a hole left by a window
        that stood over it)."""
        rows = self.oracle.grab(r)
        self.stats["pictures"] += 1
        if black_rows(rows, 60) >= 20:
            raise Failure("a black patch on the freshly dealt table")

    def run(self):
        r = self.start()
        actions = Actions(self, self.rng)
        self.watcher = actions.watch
        end = self.t0 + self.args.seconds
        progress = self.t0
        while time.monotonic() < end:
            r = actions.step(r)
            if time.monotonic() - progress >= 60:
                progress = time.monotonic()
                print("soak: %4.0f s: %s" % (progress - self.t0, self.summary()))
                sys.stdout.flush()
        r = actions.settle(r)
        self.finish(r)
        self.check_floors()

    def finish(self, r):
        answer = self.link.command("close 20000")
        self.log("close: %s" % answer)
        if answer != ["exited 0"]:
            raise Failure("the game did not end with exit code 0 after WM_CLOSE: %s" % answer)
        self.game.wait(timeout=30)
        self.link.command("forget")
        self.link.close()
        print("soak: %s" % self.summary())

    def check_floors(self):
        """A run that saw too little proves nothing, however clean."""
        if self.args.seconds <= 0:
            raise Failure("a soak of %g s plays nothing" % self.args.seconds)
        short = ["%s %d (at least %d)" % (k, self.stats[k], need) for k, per in FLOORS.items()
                 if self.stats[k] < (need := math.ceil(per * self.args.seconds / 300))]
        short += ["%s 0 (at least 1)" % k for k in ONCE if not self.stats[k]]
        if short:
            raise Failure("the run saw too little: %s" % ", ".join(short))

    def summary(self):
        self.stats["input events"] = self.input.events
        return ", ".join("%s %d" % kv for kv in sorted(self.stats.items()))

    def fail(self, problem):
        print("soak: FAILED: %s" % problem)
        print("soak: seed %d (replay with SOAK_SEED=%d)" % (self.seed, self.seed))
        os.makedirs(self.args.shots, exist_ok=True)
        shot = os.path.join(self.args.shots, "soak-failure-%d.png" % self.seed)
        gamelink.screenshot(self.env, shot)
        print("soak: screenshot %s" % shot)
        print("soak: the last steps:")
        for line in self.history:
            print("  " + line)

    def cleanup(self):
        if self.game and self.game.poll() is None:
            self.game.kill()
        if self.link:
            try:
                self.link.command("forget")
            except (OSError, RuntimeError):
                pass
            self.link.close()


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--game", required=True)
    p.add_argument("--link", required=True)
    p.add_argument("--wine-run", required=True)
    p.add_argument("--seconds", type=float, default=300)
    p.add_argument("--shots", default=".")
    args = p.parse_args()
    if os.environ.get("SOAK_SECONDS"):
        wanted = float(os.environ["SOAK_SECONDS"])
        if wanted > args.seconds:
            print("soak: SOAK_SECONDS=%g is longer than the %g s this tree was configured for;"
                  " configure with -DKELTRIM_SOAK_SECONDS=%g (make test SOAK_SECONDS=%g does)"
                  % (wanted, args.seconds, wanted, wanted))
        args.seconds = min(wanted, args.seconds)
    seed = int(os.environ.get("SOAK_SEED") or random.SystemRandom().randrange(1, 2**31))
    print("soak: seed %d (replay with SOAK_SEED=%d), %g s" % (seed, seed, args.seconds))
    sys.stdout.flush()
    soak = Soak(args, seed)

    def terminated(signum, frame):
        raise Failure("stopped from outside (signal %d)" % signum)

    signal.signal(signal.SIGTERM, terminated)
    try:
        soak.run()
    except (Failure, RuntimeError, subprocess.SubprocessError) as e:
        soak.fail(str(e))
        return 1
    finally:
        soak.cleanup()
    print("soak: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
