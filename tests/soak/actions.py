"""The soak's random player: one step reads the game's last report, does one
gesture fitting what is on the screen (a modal window is answered, an open
menu closed or used, an overlay clicked away) or a random one at the table,
and takes the next report. Menus are only ever used with letters that do
not exit and with Escape, never with arrows or Enter, so that no step picks
Exit.

Each level is played to a plan of how it should end: by the "next level"
button, by the clock once the target is reached, by Game Over, or aborted
with F2. The game's clock (the probe's tick-count seam) runs a little fast
while pairs are made and much faster while the plan waits for it.

The gestures are rows of the tables TABLE_GESTURES and OVERLAY_GESTURES
(the method's name and its weight); spans.py holds the gestures that span
other events."""

import os
import subprocess
import time

import gamelink
from keyplay import KeyPlay
from spans import Spans

IN_PLAY_KEYS = ["Escape", "Return", "Up", "Down", "Left", "Right", "ctrl+z", "ctrl+z", "F2",
                "space", "Tab"]
# Game menu: New game, Undo, Easy, Normal, Change background (never Exit);
# Help: Contents. Any other popup (the system menu) is closed with Escape.
GAME_MENU_LETTERS = ["n", "u", "s", "r", "c"]
HELP_MENU_LETTERS = ["c"]
HELP_CLASS = "KeltrimHelp"
# How levels are meant to end, a round of them (shuffled). A plan to win
# turns into Game Over when no pair is left.
PLAN_ROUND = ["button", "button", "clock", "clock", "lose", "abort"]
# The game's clock speed while pairs are made, and while the plan waits for
# the clock to end the level.
PLAY_SPEED, WAIT_SPEED = 2, 16
# Gestures left out of the mix (commas), to look past a known fault.
WITHOUT = set(filter(None, os.environ.get("SOAK_WITHOUT", "").split(",")))


def check_pile_pairs(pile, start):
    """Every two cards that came onto the removed pile from `start` on are a
    pair: their face values add up to 13."""
    first = start - start % 2
    for i in range(first, len(pile) - 1, 2):
        a, b = pile[i], pile[i + 1]
        if a // 4 + b // 4 + 2 != 13:
            raise gamelink.Failure("the pile took %d and %d as a pair (values %d and %d)"
                                   % (a, b, a // 4 + 1, b // 4 + 1))


class Actions(Spans, KeyPlay):
    # At the table in play: (gesture, weight).
    TABLE_GESTURES = [("pair_drag", 30), ("random_drag", 12), ("click", 8), ("double_click", 6),
                      ("held_drag", 5), ("key", 10), ("menu", 6), ("next_level", 2),
                      ("idle", 3), ("rest_on_control", 8), ("pair_then_key", 8),
                      ("key_pair", 14)]
    # While an overlay runs.
    OVERLAY_GESTURES = [("overlay_key", 3), ("overlay_wait", 4), ("overlay_click", 6),
                        ("overlay_enter", 3),
                        ("overlay_double_click", 3), ("click_across_transition", 3),
                        ("menu_over_overlay", 5)]

    def __init__(self, soak, rng):
        self.soak = soak
        self.rng = rng
        self.plan = "abort"
        self.plans = []
        self.game_ends_at = None
        self.abort_wanted = False
        self.window_steps = 0
        self.menu_steps = 0
        self.button_pressed_at = 0
        self.menu_check_due = False

    def log(self, what):
        self.soak.log(what)
        self.soak.stats["steps"] += 1

    def count(self, gesture):
        self.soak.stats["gesture " + gesture] += 1

    def pick(self, table, weights=None):
        """A gesture of a table by weight; `weights` overrides some. The
        gestures named in $SOAK_WITHOUT (commas) are left out."""
        rows = [(name, 0 if name in WITHOUT else (weights or {}).get(name, w))
                for name, w in table]
        pick = self.rng.uniform(0, sum(w for _, w in rows))
        for name, weight in rows:
            pick -= weight
            if pick <= 0 and weight > 0:
                return getattr(self, name)
        return self.idle

    # --- one step -----------------------------------------------------------
    def step(self, r):
        if r.windows:
            self.answer_window(r)
        elif r.menu or r.popups:
            self.use_menu(r)
        elif r.overlay:
            self.pick(self.OVERLAY_GESTURES)(r)
        elif r.kind == 3 or not r.ready:
            self.after_game_over(r)
        else:
            self.play(r)
        time.sleep(self.rng.choice([0.02, 0.05, 0.1, 0.2]))
        return self.next_report()

    def next_report(self):
        r = self.soak.report()
        if r.windows:
            self.window_steps += 1
            if self.window_steps > 60:
                raise gamelink.Failure("a window stays open: %s" % r.windows[0].title)
        else:
            self.window_steps = 0
        self.menu_steps = self.menu_steps + 1 if r.menu or r.popups else 0
        if self.menu_steps > 60:
            self.stuck_menu(r)
        r = self.soak.check_still()
        if self.menu_check_due and r.still():
            self.menu_check_due = False
            r = self.check_menu_bar(r)
        return r

    def stuck_menu(self, r):
        """Fails on a menu that keys no longer close, saying where the keys
        went and whether a click on the menu bar still closes it."""
        x = "; ".join(subprocess.run(["xdotool", *query], env=self.soak.env, capture_output=True,
                                     text=True, timeout=20).stdout.strip() or "?"
                      for query in (["getwindowfocus", "-f"], ["getmouselocation"]))
        self.soak.input.click(r.table[0] + 20, r.table[1] - 12)
        time.sleep(0.5)
        after = self.soak.report()
        raise gamelink.Failure(
            "a menu stays open whatever keys it is sent (the game's thread: active window %d,"
            " focus %d, foreground %d, modifiers held %d; X focus and pointer: %s); a click on"
            " the menu bar %s it" % (r.active, r.focus, r.foreground, r.modifiers, x,
                                     "left" if after.menu or after.popups else "closed"))

    def watch(self, before, r):
        """Counts what a report shows that the one before did not."""
        stats = self.soak.stats
        if (r.menu or r.popups) and not (before.menu or before.popups):
            stats["menus opened"] += 1
        if r.windows and not before.windows:
            w = r.windows[0]
            name = ("abort questions" if "Yes" in w.buttons else
                    "Options dialogs" if w.title == "Options" else
                    "help viewers" if w.cls == HELP_CLASS else "other windows")
            stats[name] += 1
        if r.overlay and not (before.overlay and before.kind == r.kind):
            stats["overlays of kind %d" % r.kind] += 1
            if r.kind == 2:
                self.level_won(r)
        if r.kind == 3 and before.kind != 3:
            stats["level ends"] += 1
            stats["levels lost (Game Over)"] += 1
        if before.running and r.ready and r.removed() > before.removed():
            stats["pairs removed"] += (r.removed() - before.removed()) // 2
            check_pile_pairs(r.stacks[35].cards, before.removed())
        if r.ready and r.running and not r.overlay and (before.overlay or not before.ready):
            self.dealt(r)

    def level_won(self, r):
        stats = self.soak.stats
        stats["level ends"] += 1
        how = ("clearing the table" if r.removed() == 48 else
               "the button" if time.monotonic() - self.button_pressed_at < 10 else "the clock")
        stats["levels won by " + how] += 1
        self.button_pressed_at = 0

    def dealt(self, r):
        if r.level == 1:
            self.soak.stats["games"] += 1
        self.abort_wanted = False
        self.plan = self.next_plan()
        self.game_ends_at = None
        if self.plan == "abort":
            # Most aborted games end early; some run out of time all the same.
            self.game_ends_at = time.monotonic() + self.rng.choice([8, 12, 20, 30, 45, 400])
        self.log("dealt, level %d, plan: %s" % (r.level, self.plan))
        self.set_speed(r, PLAY_SPEED)
        if r.quiet():
            self.soak.check_table_picture(r)

    def next_plan(self):
        """Plans come in shuffled rounds, so that every run meets each way
        a level ends."""
        if not self.plans:
            self.plans = list(PLAN_ROUND)
            self.rng.shuffle(self.plans)
        return self.plans.pop()

    def set_speed(self, r, speed):
        if r.speed != speed:
            self.soak.link.ask(5000, speed << 8 | gamelink.CLOCK)

    def settle(self, r):
        """Steps on (with no new game) until the table is dealt and quiet."""
        self.plan = "settle"
        self.game_ends_at = None
        self.abort_wanted = False
        for _ in range(400):
            if r.quiet():
                return r
            r = self.step(r)
        raise gamelink.Failure("no quiet moment at the end")

    def check_menu_bar(self, r):
        """The menu bar answers a click: its Game menu opens."""
        self.log("menu bar check")
        self.soak.input.click(r.table[0] + 20, r.table[1] - 12)
        for _ in range(15):
            after = self.soak.report()
            if after.menu or after.popups:
                self.soak.stats["menu bar checks"] += 1
                self.soak.input.key("Escape", "Escape")
                return self.soak.report()
            time.sleep(0.1)
        raise gamelink.Failure("a click on the menu bar opened no menu (capture %d)"
                               % after.capture)

    # --- what is on the screen decides -------------------------------------
    def answer_window(self, r):
        w = r.windows[0]
        if "Yes" in w.buttons:
            if self.abort_wanted:
                choice = self.rng.choice(["Return", "y", "click Yes"])
            elif self.plan == "abort":
                choice = self.rng.choice(["Return", "y", "n", "n", "Escape", "click Yes",
                                          "click No", "click No"])
            else:  # mostly kept, so that the level ends as planned
                choice = self.rng.choice(["Return", "n", "n", "Escape", "click No", "click No",
                                          "n", "Escape"])
            if choice in ("Return", "y", "click Yes"):
                self.soak.stats["games aborted"] += 1
        elif w.title == "Options":
            # Over an overlay a colour is mostly chosen: the overlay's
            # frozen picture and the table's colour then disagree.
            choice = self.rng.choice(["Escape", "Return", "click Cancel", "click OK", "Tab"] +
                                     ["swatch"] * (12 if r.overlay else 3))
        else:
            choice = "Escape"
        self.log("window %r: %s" % (w.title, choice))
        if choice == "swatch" and w.list:
            return self.choose_swatch(w, r.overlay)
        if choice.startswith("click "):
            rect = w.buttons.get(choice[6:])
            if rect:
                self.soak.input.click((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)
                return
            choice = "Escape"
        self.soak.input.key(choice)

    def choose_swatch(self, w, overlay):
        """Clicks one of the four colours, then OK (or double-clicks it)."""
        left, top, right, bottom = w.list
        i = self.rng.randrange(4)
        x, y = left + (2 * i + 1) * (right - left) // 8, (top + bottom) // 2
        self.soak.stats["colours chosen" + (" over an overlay" if overlay else "")] += 1
        if self.rng.random() < 0.3:
            self.soak.input.double_click(x, y)
            return
        self.soak.input.click(x, y)
        ok = w.buttons.get("OK")
        if ok:
            self.soak.input.click((ok[0] + ok[2]) // 2, (ok[1] + ok[3]) // 2)

    def use_menu(self, r):
        first = r.popups[-1].title.replace("&", "") if r.popups else ""
        letters = (GAME_MENU_LETTERS if first.startswith("New game") else
                   HELP_MENU_LETTERS if first == "Contents" else [])
        if not letters or self.rng.random() < 0.4:
            keys = ["Escape", "Escape"]
        else:
            keys = [self.rng.choice(letters)]
        self.log("menu: %s" % " ".join(keys))
        self.soak.input.key(*keys)

    def after_game_over(self, r):
        self.log("after Game Over: F2")
        self.soak.input.key("F2")

    # --- the table in play -------------------------------------------------
    def play(self, r):
        if self.game_ends_at and time.monotonic() > self.game_ends_at:
            self.abort_wanted = True
            self.game_ends_at = time.monotonic() + 20
            self.log("end of game: F2")
            self.soak.input.key("F2")
            return
        reached = r.removed() >= r.target()
        if self.plan == "button" and r.next_button and self.rng.random() < 0.5:
            return self.pick([("next_level", 1), ("key_next_level", 1)])(r)
        waiting = self.plan == "lose" or (self.plan == "clock" and reached)
        self.set_speed(r, WAIT_SPEED if waiting else PLAY_SPEED)
        if waiting:
            # A card or the button held while the clock ends the level.
            near = r.left * 1000 // max(r.speed, 1) < 4000
            if near and self.rng.random() < 0.6 and "hold_across_level_end" not in WITHOUT:
                return self.hold_across_level_end(r)
            return self.pick(self.TABLE_GESTURES, {"pair_drag": 2, "pair_then_key": 0,
                                                   "next_level": 0, "key_pair": 2})(r)
        if self.plan in ("button", "clock") and not self.pairs(r):
            self.log("no pair left: the level is lost")
            self.plan = "lose"
        if self.plan in ("button", "clock"):
            return self.pick(self.TABLE_GESTURES, {"pair_drag": 200, "key_pair": 80,
                                                   "next_level": 0})(r)
        return self.pick(self.TABLE_GESTURES)(r)

    def top_point(self, r, s):
        """A screen point on the stack's top card (its place when empty)."""
        cw, ch = r.card_size
        n = max(len(s.cards), 1)
        x = s.x + s.dx * (n - 1) + self.rng.randrange(4, cw - 4)
        y = s.y + s.dy * (n - 1) + self.rng.randrange(4, ch - 4)
        return r.table[0] + x, r.table[1] + y

    def path(self, a, b):
        steps = self.rng.randrange(4, 18)
        return [(a[0] + (b[0] - a[0]) * i // steps, a[1] + (b[1] - a[1]) * i // steps)
                for i in range(1, steps + 1)]

    def drag(self, a, b, what):
        self.log("%s %d,%d -> %d,%d" % (what, a[0], a[1], b[0], b[1]))
        self.soak.input.press(*a)
        self.soak.input.glide_to(self.path(a, b), self.rng.choice([0.006, 0.01, 0.02]))
        self.soak.input.release()

    def stacks_with_cards(self, r):
        return [s for s in r.stacks.values() if s.visible and s.cards and s.id != 35]

    def can_lift(self, r, s):
        """A side stack's top card, a bottom-row card (slots 22 to 28), or a
        slot's card with both slots below it empty (row k of the triangle
        holds slots k(k-1)/2 + 1 to k(k+1)/2)."""
        if s.id > 21:
            return True
        row = next(k for k in range(1, 7) if s.id <= k * (k + 1) // 2)
        return not any(r.stacks[s.id + row + i].cards for i in (0, 1))

    def liftable(self, r):
        return [a for a in self.stacks_with_cards(r) if self.can_lift(r, a)]

    def pairs(self, r):
        """Uncovered cards that make thirteen together."""
        free = self.liftable(r)
        return [(a, b) for a in free for b in free
                if a is not b and a.cards[-1] // 4 + b.cards[-1] // 4 + 2 == 13]

    def pair_drag(self, r):
        pairs = self.pairs(r)
        full = self.stacks_with_cards(r)
        if self.rng.random() < 0.1 and full:
            pairs = [(a, b) for a in full for b in r.stacks.values() if a is not b and b.visible]
        if not pairs:
            return self.random_drag(r)
        a, b = self.rng.choice(pairs)
        self.drag(self.top_point(r, a), self.top_point(r, b), "drag %d to %d" % (a.id, b.id))

    def random_point(self, r):
        """A point of the table away from the "next level" button."""
        x, y, w, h = r.table
        while True:
            p = x + self.rng.randrange(w), y + self.rng.randrange(h)
            b = r.next_button
            if not b or abs(p[0] - b[0]) > 60 or abs(p[1] - b[1]) > 25:
                return p

    def random_drag(self, r):
        full = self.stacks_with_cards(r)
        a = self.top_point(r, self.rng.choice(full)) if full else self.random_point(r)
        self.drag(a, self.random_point(r), "drag")

    def click(self, r):
        p = self.random_point(r)
        self.log("click %d,%d" % p)
        self.soak.input.click(*p)

    def double_click(self, r):
        full = self.stacks_with_cards(r)
        p = self.top_point(r, self.rng.choice(full)) if full else self.random_point(r)
        self.log("double-click %d,%d" % p)
        self.soak.input.double_click(*p)

    def held_drag(self, r):
        """Asks for the report with a card held in mid-air."""
        full = self.stacks_with_cards(r)
        if not full:
            return self.click(r)
        a = self.top_point(r, self.rng.choice(full))
        b = self.random_point(r)
        self.log("held drag %d,%d -> %d,%d" % (a[0], a[1], b[0], b[1]))
        self.soak.input.press(*a)
        self.soak.input.glide_to(self.path(a, b), 0.01)
        mid = self.soak.report(mid_gesture=True)
        self.soak.stats["reports mid-drag"] += mid.dragging()
        if self.rng.random() < 0.3:
            self.log("held drag: Escape, ctrl+z or F2 while held")
            self.soak.input.key(self.rng.choice(["Escape", "ctrl+z", "F2"]))
        self.soak.input.release()

    def key(self, r):
        k = self.rng.choice(IN_PLAY_KEYS)
        self.log("key %s" % k)
        self.soak.input.key(k)

    def menu(self, r):
        x, y = r.table[0], r.table[1]
        how = self.rng.choice(["alt+g", "alt+h", "click Game", "click Help"])
        self.log("menu: %s" % how)
        if how == "click Game":
            self.soak.input.click(x + 20, y - 12)
        elif how == "click Help":
            self.soak.input.click(x + 65, y - 12)
        else:
            self.soak.input.key(how)

    def next_level(self, r):
        if not r.next_button:
            return self.pair_drag(r)
        self.log("next level button")
        self.button_pressed_at = time.monotonic()
        self.soak.input.click(*r.next_button)

    def idle(self, r):
        self.log("idle")
        time.sleep(self.rng.uniform(0.3, 2.5))
