"""The repaint oracle. At a still moment the game's picture must be the one
that a full repaint gives: the screen is read, the probe lays the table out
again and repaints it with every child window, and the screen is read
again. Any pixel that changed, other than in the rows the timer bar spent
meanwhile, was wrong on the screen (or is wrong now); any control that the
new layout moved or resized was in the wrong place."""

import os
import time

import gamelink

# Wine copies a window's pixels to the X server when its thread waits for
# messages; the reads come this long after the game last answered.
SETTLE_SECONDS = 0.06
# Rows of margin around the bar's newly spent rows.
BAR_MARGIN = 3


class Oracle:
    def __init__(self, soak):
        self.soak = soak
        self.screen = gamelink.Screen()

    def grab(self, r):
        x, y, w, h = r.table
        rows = self.screen.grab(x, y, w, h)
        if rows is None:
            raise gamelink.Failure("the screen could not be read at %d,%d %dx%d" % (x, y, w, h))
        return rows

    def check(self, blot=False):
        """Checks the present moment; False when it did not stay still long
        enough to judge (a level ended meanwhile, say). With `blot`, the
        control: a wrong block is painted onto the table first, which the
        check must see, and the repaint then mends."""
        first = self.soak.report(gamelink.PAINT_PENDING)
        if not first.still():
            return False
        if blot:
            self.soak.report(gamelink.BLOT)
        time.sleep(SETTLE_SECONDS)
        before = self.grab(first)
        repainted = self.soak.report(gamelink.REPAINT)
        if repainted.moved:
            raise gamelink.Failure("laid out again, the table moved controls: %s"
                                   % "; ".join(repainted.moved))
        self.soak.report()  # answered from the idle loop: the repaint is on the screen
        time.sleep(SETTLE_SECONDS)
        after = self.grab(first)
        last = self.soak.report()
        if not same_moment(first, last):
            return False
        spared = bar_rows(first, last)
        changed = differences(before, after, spared)
        if blot:
            return self.expect_blot(changed)
        if changed:
            self.fail(before, after, changed)
        return True

    @staticmethod
    def expect_blot(changed):
        left, top, right, bottom = gamelink.BLOT_RECT
        inside = sum(left <= x < right and top <= y < bottom for x, y, _, _ in changed)
        if 2 * inside < (right - left) * (bottom - top):
            raise gamelink.Failure(
                "the repaint oracle missed a wrong block painted onto the table: %d of its %d "
                "pixels changed in the repaint" % (inside, (right - left) * (bottom - top)))
        return True

    def fail(self, before, after, changed):
        shots = self.soak.args.shots
        os.makedirs(shots, exist_ok=True)
        stem = os.path.join(shots, "repaint-%d" % self.soak.seed)
        gamelink.save_ppm(before, stem + "-before.ppm")
        gamelink.save_ppm(after, stem + "-after.ppm")
        xs = [x for x, _, _, _ in changed]
        ys = [y for _, y, _, _ in changed]
        samples = ", ".join("%d,%d %06x->%06x" % c for c in changed[:6])
        raise gamelink.Failure(
            "a repaint changed %d pixels of the table between %d,%d and %d,%d (%s); the "
            "pictures: %s-before.ppm, -after.ppm" % (len(changed), min(xs), min(ys), max(xs),
                                                     max(ys), samples, stem))


def same_moment(first, last):
    """Nothing but the clock changed between two reports."""
    return (last.still() and first.kind == last.kind and first.level == last.level
            and first.running == last.running and first.table == last.table
            and all(first.stacks[i].cards == s.cards for i, s in last.stacks.items()))


def bar_rows(first, last):
    """(left, right, top, bottom) in table pixels: the inside of the timer
    bar from the rows spent at the first report to those at the last."""
    bar = first.controls.get("bar")
    if not bar or not bar.visible or not first.running:
        return None
    x, y = first.table[0], first.table[1]
    left, top, right, _ = bar.rect
    end = last.controls["bar"].fill
    return (left - x + 3, right - x - 2, top - y + max(bar.fill - BAR_MARGIN, 0),
            top - y + end + BAR_MARGIN)


def differences(before, after, spared):
    """[(x, y, colour before, colour after)] of the pixels that differ,
    except in the spared rectangle."""
    changed = []
    for y, (a, b) in enumerate(zip(before, after)):
        if a == b:
            continue
        for x in range(len(a) // 4):
            pa, pb = a[4 * x:4 * x + 3], b[4 * x:4 * x + 3]
            if pa == pb:
                continue
            if spared and spared[0] <= x < spared[1] and spared[2] <= y < spared[3]:
                continue
            changed.append((x, y, int.from_bytes(pa, "little"), int.from_bytes(pb, "little")))
    return changed
