"""One run of the real game under Wine: its windows as the helper reports
them, the table read back from the screen, and the waits for its states."""

import time

from . import screen, xinput
from .cards import Layout, Strip
from .wine import wait_until

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


class Window:
    def __init__(self, line):
        parts = line.split("\t")
        self.handle, self.parent = parts[1], parts[2]
        self.visible = parts[3] == "1"
        self.cls = parts[4]
        self.rect = tuple(int(v) for v in parts[5].split())
        self.client = tuple(int(v) for v in parts[6].split())
        self.text = parts[7] if len(parts) > 7 else ""
        self.top_level = self.parent in ("0000000000000000", "00000000", "(nil)")

    @property
    def size(self):
        return self.rect[2] - self.rect[0], self.rect[3] - self.rect[1]

    def centre(self):
        return (self.rect[0] + self.rect[2]) // 2, (self.rect[1] + self.rect[3]) // 2

    def __repr__(self):
        return "<%s %r %s>" % (self.cls, self.text, self.rect)


class Helper:
    def __init__(self, wine, exe):
        self.wine = wine
        self.exe = exe

    def windows(self):
        code, out = self.wine.run(self.exe, "windows")
        if code != 0:
            raise AssertionError("helper windows failed: %d" % code)
        return [Window(line) for line in out.splitlines() if line.startswith("window\t")]

    def strip(self, path, library=None):
        """The card strip, from the given card library or the usual one."""
        code, out = self.wine.run(self.exe, "strip", path, *([library] if library else []))
        if code != 0:
            raise AssertionError("helper strip failed: %d" % code)
        w, h = (int(v) for v in out.split()[1:3])
        with open(path, "rb") as f:
            return Strip(screen.parse_ppm(f.read()), w, h)

    def cardlib(self, template, dll, path):
        """Makes a Windows-numbered card library of the marked faces; returns
        the marked strip."""
        code, out = self.wine.run(self.exe, "cardlib", template, dll, path)
        if code != 0:
            raise AssertionError("helper cardlib failed: %d" % code)
        w, h = (int(v) for v in out.split()[1:3])
        with open(path, "rb") as f:
            return Strip(screen.parse_ppm(f.read()), w, h)

    def highlight(self):
        code, out = self.wine.run(self.exe, "colors")
        return tuple(int(v) for v in out.split()[1:4])


class Table:
    """The dealt table as read from one screen picture: card by place."""

    def __init__(self, slots, sides, pile):
        self.slots = slots    # slot id -> card
        self.sides = sides    # side stack id -> list of cards, bottom first
        self.pile = pile      # removed cards, bottom first (as far as seen)

    def cards(self):
        out = list(self.slots.values()) + list(self.pile)
        for cards in self.sides.values():
            out += cards
        return out

    def uncovered(self):
        """(place, card) of every card that may be lifted: the bottom row of
        a full triangle and the top card of each side stack."""
        places = [(("slot", s), c) for s, c in self.slots.items() if s >= 22]
        places += [(("side", s), cards[-1]) for s, cards in self.sides.items() if cards]
        return places

    def __eq__(self, other):
        return (self.slots, self.sides, self.pile) == (other.slots, other.sides, other.pile)


class Session:
    def __init__(self, wine, helper, game_exe, strip):
        self.wine = wine
        self.helper = helper
        self.game_exe = game_exe
        self.strip = strip
        self.layout = Layout(strip.w, strip.h)
        self.process = None
        self.origin = None       # screen position of the table's client origin
        self.table_size = None   # the table's client width and height
        self.log = None          # file of Wine's messages, when kept

    # --- the process -----------------------------------------------------

    def start(self, env=None, log=None):
        self.wine.wait_server()
        self.log = log
        self.process = self.wine.start(self.game_exe, env=env, log=log)
        wait_until(self._find_table, 60, 0.3, "the game's window")

    def _find_table(self):
        wins = self.helper.windows()
        main = [w for w in wins if w.cls == "Vemo" and w.visible and w.top_level]
        table = [w for w in wins if w.cls == "CardWnd32" and w.visible]
        if not main or not table:
            return None
        self.main_window = main[0]
        c = table[0].client
        self.origin = (c[0], c[1])
        self.table_size = (c[2] - c[0], c[3] - c[1])
        return True

    def wait_exit(self, timeout=30):
        try:
            code = self.process.wait(timeout)
        finally:
            self.kill()
        return code

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)
        self.process = None
        self.wine.wait_server()

    # --- the screen ------------------------------------------------------

    def shot(self):
        return screen.capture()

    def save_window(self, shot, path):
        """Saves the main window's part of a picture as PNG."""
        r = self.main_window.rect
        shot.crop(r[0], r[1], r[2] - r[0], r[3] - r[1]).save_png(path)

    def to_screen(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def table_pixel(self, shot, x, y):
        return shot.pixel(self.origin[0] + x, self.origin[1] + y)

    def timer_bar_columns(self):
        """Screen columns of the timer bar, which changes with time alone."""
        x = self.origin[0] + self.table_size[0] - self.strip.w // 2
        return x, x + 14

    def same_but_timer(self, a, b):
        """True when two pictures agree everywhere outside the timer bar."""
        t0, t1 = self.timer_bar_columns()
        return (a.region_equal(b, 0, 0, t0, a.height)
                and a.region_equal(b, t1, 0, a.width - t1, a.height))

    def wait_stable(self, timeout=30, quiet=0.6):
        """A picture once the screen (timer bar aside) has stopped changing
        for `quiet` seconds."""
        end = time.monotonic() + timeout
        last = self.shot()
        since = time.monotonic()
        while True:
            time.sleep(0.15)
            now = self.shot()
            if not self.same_but_timer(last, now):
                last, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return now
            if time.monotonic() > end:
                raise AssertionError("the screen did not settle within %d s" % timeout)

    # --- reading the table -----------------------------------------------

    def read_card(self, shot, x, y, rows=None, cols=None, candidates=range(52)):
        """The one card shown at table point (x, y), or None."""
        found = self.strip.recognise(shot, self.origin[0] + x, self.origin[1] + y, rows, cols,
                                     candidates)
        return found[0] if len(found) == 1 else None

    def read_table(self, shot, pile_count=0):
        """Reads every triangle slot and side stack of a full table. Places
        that show no single card are left out."""
        lay = self.layout
        slots = {}
        for sid in range(1, 29):
            x, y = lay.slot(sid)
            c = self.read_card(shot, x, y, lay.slot_rows(sid))
            if c is not None:
                slots[sid] = c
        sides = {}
        for sid in Layout.SIDE_ORDER:
            cards = []
            n = self.side_count(shot, sid)
            for i in range(n):
                x, y = lay.side_card(sid, i)
                cols = range(self.strip.w) if i == n - 1 else range(Layout.SIDE_FAN)
                cards.append(self.read_card(shot, x, y, None, cols))
            sides[sid] = cards
        return Table(slots, sides, self.read_pile(shot, pile_count))

    def side_count(self, shot, sid, most=8):
        """The number of cards in a side stack: the last fan position that
        shows a whole card."""
        for n in range(most, 0, -1):
            x, y = self.layout.side_card(sid, n - 1)
            if self.read_card(shot, x, y) is not None:
                return n
        return 0

    def pile_rows(self):
        """The rows of the removed pile that the table's client area shows."""
        visible = self.table_size[1] - self.layout.pile[1]
        return range(max(0, min(self.strip.h, visible)))

    def read_pile(self, shot, count):
        """The removed cards, bottom first, as far as the fan shows them."""
        cards = []
        for i in range(count):
            x = self.layout.pile[0] + i * Layout.PILE_FAN
            cols = range(self.strip.w) if i == count - 1 else range(Layout.PILE_FAN)
            cards.append(self.read_card(shot, x, self.layout.pile[1], self.pile_rows(), cols))
        return cards

    def card_centre(self, place, table):
        """Screen point in the middle of the visible part of a card."""
        kind, sid = place
        if kind == "slot":
            x, y = self.layout.slot(sid)
            rows = self.layout.slot_rows(sid)
        else:
            x, y = self.layout.side_card(sid, len(table.sides[sid]) - 1)
            rows = range(self.strip.h)
        return self.to_screen(x + self.strip.w // 2, y + (rows.start + rows.stop) // 2)

    # --- the opening overlay and the deal --------------------------------

    def overlay_ready(self, shot):
        """The opening overlay's final picture: white band over the full
        width, the black body (the wipe itself leaves 3, 3, 3) to the right."""
        w, h = self.table_size
        return (self.table_pixel(shot, 2, 2) == WHITE
                and self.table_pixel(shot, w - 3, h - 3) == BLACK
                and self.table_pixel(shot, 2, h // 2) == BLACK)

    def wait_overlay(self, timeout=30):
        return wait_until(lambda: (lambda s: s if self.overlay_ready(s) else None)(self.shot()),
                          timeout, 0.1, "the opening overlay")

    def click_table(self, x, y):
        xinput.click(*self.to_screen(x, y))

    def dismiss_overlay(self):
        w, h = self.table_size
        self.click_table(w // 2, h // 3)

    def wait_dealt(self, timeout=60):
        """Waits until all 48 cards show in their places; returns the shot
        and the table read from it."""
        def dealt():
            shot = self.shot()
            table = self.read_table(shot)
            full = (len(table.slots) == 28
                    and all(len(table.sides[s]) == n and None not in table.sides[s]
                            for s, n in Layout.SIDE_COUNTS.items()))
            return (shot, table) if full else None
        shot, table = wait_until(dealt, timeout, 0.2, "the dealt table")
        # The deal ends with the timer bar's start; settle on a steady picture.
        shot = self.wait_stable()
        return shot, self.read_table(shot)

    def new_game_dealt(self):
        """From the opening overlay to the dealt table."""
        overlay = self.wait_overlay()
        self.dismiss_overlay()
        return (overlay,) + self.wait_dealt()

    # --- top-level dialogs -------------------------------------------------

    def dialogs(self, cls="#32770"):
        wins = self.helper.windows()
        tops = [w for w in wins if w.top_level and w.visible and w.cls == cls]
        return [(d, [w for w in wins if w.parent == d.handle]) for d in tops]

    def wait_dialog(self, cls="#32770", timeout=20):
        return wait_until(lambda: (self.dialogs(cls) or [None])[0], timeout, 0.3,
                          "a %s window" % cls)

    def wait_no_dialog(self, cls="#32770", timeout=20):
        """Waits for the window to go and the table to be drawn again: with
        no window manager Wine stalls some 2 s after a top-level window is
        hidden, so the screen holds still for a while before it changes."""
        wait_until(lambda: not self.dialogs(cls), timeout, 0.3, "the %s window to go" % cls)
        return self.wait_stable(quiet=3.0)

    def focus(self):
        """Clicks an empty spot of the table so that the game has the keyboard."""
        self.click_table(self.layout.slot(1)[0] + self.strip.w + 10, 120)
