"""The soak's random player: one step reads the game's last report, does one
gesture fitting what is on the screen (a modal window is answered, an open
menu closed or used, an overlay clicked away) or a random one at the table,
and takes the next report. Menus are only ever used with letters that do
not exit and with Escape, never with arrows or Enter, so that no step picks
Exit."""

import time

import gamelink

IN_PLAY_KEYS = ["Escape", "Return", "Up", "Down", "Left", "Right", "ctrl+z", "ctrl+z", "F2",
                "space", "Tab"]
# Game menu: New game, Undo, Easy, Normal, Change background (never Exit);
# Help: Contents. Any other popup (the system menu) is closed with Escape.
GAME_MENU_LETTERS = ["n", "u", "s", "r", "c"]
HELP_MENU_LETTERS = ["c"]
HELP_CLASS = "KeltrimHelp"


class Actions:
    def __init__(self, soak, rng):
        self.soak = soak
        self.rng = rng
        self.game_ends_at = None
        self.abort_wanted = False
        self.window_steps = 0

    def log(self, what):
        self.soak.log(what)
        self.soak.stats["steps"] += 1

    # --- one step -----------------------------------------------------------
    def step(self, r):
        if r.windows:
            self.answer_window(r)
        elif r.menu or r.popups:
            self.use_menu(r)
        elif r.overlay:
            self.overlay(r)
        elif r.kind == 3 or not r.ready:
            self.after_game_over(r)
        else:
            self.play(r)
        time.sleep(self.rng.choice([0.02, 0.05, 0.1, 0.2]))
        return self.next_report(r)

    def next_report(self, before):
        r = self.soak.report()
        self.count_sights(before, r)
        self.count_pairs(before, r)
        if before.overlay and before.kind == 1 and r.ready and not r.overlay:
            self.dealt(r)
        elif before.overlay and before.kind == 2 and r.ready and not r.overlay:
            self.soak.stats["levels won"] += 1
            self.dealt(r)
        if r.windows:
            self.window_steps += 1
            if self.window_steps > 60:
                raise gamelink.Failure("a window stays open: %s" % r.windows[0].title)
        else:
            self.window_steps = 0
        return r

    def count_sights(self, before, r):
        stats = self.soak.stats
        if (r.menu or r.popups) and not (before.menu or before.popups):
            stats["menus opened"] += 1
        if r.windows and not before.windows:
            w = r.windows[0]
            name = ("abort questions" if "Yes" in w.buttons else
                    "Options dialogs" if w.title == "Options" else
                    "help viewers" if w.cls == HELP_CLASS else "other windows")
            stats[name] += 1
        if r.overlay and not before.overlay:
            stats["overlays of kind %d" % r.kind] += 1

    def count_pairs(self, before, r):
        """Pairs that reached the removed-cards pile (35) during play."""
        if before.running and r.ready and 35 in before.stacks and 35 in r.stacks:
            grown = len(r.stacks[35].cards) - len(before.stacks[35].cards)
            self.soak.stats["pairs removed"] += max(grown, 0) // 2

    def dealt(self, r):
        self.log("dealt, level %d" % r.level)
        if r.level == 1:
            self.soak.stats["games"] += 1
        self.abort_wanted = False
        # Most games end early (F2 and Yes); some run out of time.
        length = self.rng.choice([8, 12, 20, 30, 45, 60, 90])
        if self.rng.random() < 0.1:
            length = 400
        self.game_ends_at = time.monotonic() + length
        if r.quiet():
            self.soak.check_table_picture(r)

    def settle(self, r):
        """Steps on (with no new game) until the table is dealt and quiet."""
        self.game_ends_at = time.monotonic() + 1e9
        self.abort_wanted = False
        for _ in range(400):
            if r.quiet():
                return r
            r = self.step(r)
        raise gamelink.Failure("no quiet moment at the end")

    # --- what is on the screen decides -------------------------------------
    def answer_window(self, r):
        w = r.windows[0]
        if "Yes" in w.buttons:
            if self.abort_wanted:
                choice = self.rng.choice(["Return", "y", "click Yes"])
            else:
                choice = self.rng.choice(["Return", "y", "n", "n", "Escape", "click Yes",
                                          "click No", "click No"])
            if choice in ("Return", "y", "click Yes"):
                self.soak.stats["games aborted"] += 1
        elif w.title == "Options":
            choice = self.rng.choice(["Escape", "Return", "click Cancel", "click OK", "Tab"])
        else:
            choice = "Escape"
        self.log("window %r: %s" % (w.title, choice))
        if choice.startswith("click "):
            rect = w.buttons.get(choice[6:])
            if rect:
                self.soak.input.click((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)
                return
            choice = "Escape"
        self.soak.input.key(choice)

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

    def overlay(self, r):
        x, y, w, h = r.table
        roll = self.rng.random()
        if roll < 0.15:
            key = self.rng.choice(["F2", "ctrl+z"])
            self.log("overlay %d/%d: %s (ignored)" % (r.kind, r.phase, key))
            self.soak.input.key(key)
            after = self.soak.report()
            if after.windows:
                raise gamelink.Failure("%s during an overlay opened %r" % (key, after.windows[0].title))
        elif r.kind == 3 or (r.phase == 0 and roll < 0.7):
            self.log("overlay %d/%d: wait" % (r.kind, r.phase))
            time.sleep(0.3)
        else:
            px, py = x + self.rng.randrange(w), y + self.rng.randrange(h)
            self.log("overlay %d/%d: click %d,%d" % (r.kind, r.phase, px, py))
            self.soak.input.click(px, py)

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
        gestures = [(self.pair_drag, 30), (self.random_drag, 14), (self.click, 10),
                    (self.double_click, 8), (self.held_drag, 6), (self.key, 12),
                    (self.menu, 8), (self.next_level, 3), (self.idle, 4)]
        total = sum(w for _, w in gestures)
        pick = self.rng.uniform(0, total)
        for gesture, weight in gestures:
            pick -= weight
            if pick <= 0:
                gesture(r)
                return
        self.idle(r)

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

    def pair_drag(self, r):
        full = self.stacks_with_cards(r)
        liftable = [a for a in full if self.can_lift(r, a)]
        pairs = [(a, b) for a in liftable for b in full
                 if a is not b and a.cards[-1] // 4 + b.cards[-1] // 4 + 2 == 13]
        if self.rng.random() < 0.2 and full:
            pairs = [(a, b) for a in full for b in r.stacks.values() if a is not b and b.visible]
        if not pairs:
            return self.random_drag(r)
        a, b = self.rng.choice(pairs)
        self.drag(self.top_point(r, a), self.top_point(r, b), "drag %d to %d" % (a.id, b.id))

    def random_point(self, r):
        x, y, w, h = r.table
        return x + self.rng.randrange(w), y + self.rng.randrange(h)

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
        mid = self.soak.report()
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
        self.soak.input.click(*r.next_button)

    def idle(self, r):
        self.log("idle")
        time.sleep(self.rng.uniform(0.3, 2.5))

