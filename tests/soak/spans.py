"""Gestures of the soak that span other events: a card or the "next level"
button held while the clock ends the level, a card resting on the status
controls, keys pressed right after a pair and during its glides, and menus,
dialogs, keys and double-clicks while an overlay runs. After each such
gesture the menu bar must answer a click at the next still moment."""

import time

import gamelink

# Where a held card rests: the status controls of the table.
RESTING_PLACES = ["bar", "bar", "level", "remaining", "link"]
# Menu commands while an overlay runs: the Game menu's Change background
# color, Easy and Normal, and Help's Contents.
OVERLAY_COMMANDS = [("Game", "c"), ("Game", "c"), ("Game", "s"), ("Game", "r"), ("Help", "c")]
MENU_X = {"Game": 20, "Help": 65}


class Spans:
    def spanned(self, gesture):
        self.count(gesture)
        self.menu_check_due = True

    # --- at the table -------------------------------------------------------
    def hold_across_level_end(self, r):
        """Holds a lifted card, or the "next level" button, until the clock
        has ended the level, and lets go during the overlay that follows."""
        cards = self.liftable(r)
        on_button = r.next_button and (not cards or self.rng.random() < 0.4)
        if on_button:
            self.log("hold the next level button until the level ends")
            self.soak.input.press(*r.next_button)
        elif cards:
            a = self.top_point(r, self.rng.choice(cards))
            b = self.random_point(r)
            self.log("hold a card until the level ends %d,%d -> %d,%d" % (a + b))
            self.soak.input.press(*a)
            self.soak.input.glide_to(self.path(a, b), 0.01)
        else:
            return self.idle(r)
        deadline = time.monotonic() + r.left / max(r.speed, 1) + 8
        ended = False
        while time.monotonic() < deadline:
            now = self.soak.report(mid_gesture=True)
            if not now.running:
                ended = True
                break
            time.sleep(0.2)
        time.sleep(self.rng.choice([0, 0.3, 1.0, 2.5]))
        self.soak.input.release()
        held = "the button" if on_button else "a card"
        self.spanned("%s held %s" % (held, "across a level end" if ended else "(no level end)"))

    def rest_on_control(self, r):
        """Drags a card onto a status control and rests it there, moving a
        pixel now and then (on the timer bar, at the edge of its spent part),
        then carries it away and drops it."""
        full = self.stacks_with_cards(r)
        name = self.rng.choice(RESTING_PLACES)
        control = r.controls.get(name)
        if not full or not control or not control.visible:
            return self.random_drag(r)
        left, top, right, bottom = control.rect
        x = self.rng.randrange(left, right)
        y = top + control.fill if name == "bar" else self.rng.randrange(top, bottom)
        a = self.top_point(r, self.rng.choice(full))
        self.log("rest a card on the %s at %d,%d" % (name, x, y))
        self.soak.input.press(*a)
        self.soak.input.glide_to(self.path(a, (x, y)), 0.01)
        for _ in range(self.rng.randrange(3, 12)):
            time.sleep(0.25)
            x, y = x + self.rng.choice([-1, 0, 1]), y + self.rng.choice([-1, 0, 1, 2])
            self.soak.input.glide_to([(x, y)], 0.005)
        self.soak.report(mid_gesture=True)
        self.soak.input.glide_to(self.path((x, y), self.random_point(r)), 0.01)
        self.soak.input.release()
        self.spanned("card rested on the " + name)

    def pair_then_key(self, r):
        """A pair, then Ctrl+Z or F2 during its glides or right after."""
        pairs = self.pairs(r)
        if not pairs:
            return self.random_drag(r)
        a, b = self.rng.choice(pairs)
        self.drag(self.top_point(r, a), self.top_point(r, b), "pair %d to %d" % (a.id, b.id))
        key = self.rng.choice(["ctrl+z", "ctrl+z", "F2"])
        when = self.rng.choice(["during the glide", "after the pair"])
        if when == "after the pair":
            self.soak.report()
        self.log("%s %s" % (key, when))
        self.soak.input.key(key)
        self.spanned("%s %s" % (key, when))

    # --- while an overlay runs ----------------------------------------------
    def overlay_key(self, r):
        key = self.rng.choice(["F2", "ctrl+z"])
        self.log("overlay %d/%d: %s (ignored)" % (r.kind, r.phase, key))
        self.soak.input.key(key)
        after = self.soak.report()
        if len(after.windows) > len(r.windows):
            raise gamelink.Failure("%s during an overlay opened %r" % (key, after.windows[0].title))
        self.spanned("%s during an overlay" % key)

    def overlay_wait(self, r):
        self.log("overlay %d/%d: wait" % (r.kind, r.phase))
        time.sleep(0.3)

    def overlay_click(self, r):
        if r.kind == 3 or r.phase == 0:
            return self.overlay_wait(r)
        p = self.random_point(r)
        self.log("overlay %d/%d: click %d,%d" % (r.kind, r.phase, p[0], p[1]))
        self.soak.input.click(*p)
        self.expect_overlay_end(r, "a click")

    def overlay_double_click(self, r):
        p = self.random_point(r)
        self.log("overlay %d/%d: double-click %d,%d" % (r.kind, r.phase, p[0], p[1]))
        self.soak.input.double_click(*p)
        if r.phase == 1 and r.kind != 3:
            self.expect_overlay_end(r, "a double-click")
        self.spanned("double-click on an overlay")

    def click_across_transition(self, r):
        """Clicks during the transition, then at once again after it: the
        second click arrives as a double-click and must end the overlay."""
        if r.kind == 3 or r.phase == 1:
            return self.overlay_double_click(r)
        p = self.random_point(r)
        self.log("overlay %d/0: clicks at %d,%d across the end of the transition" % (r.kind, *p))
        for _ in range(40):
            self.soak.input.click(*p)
            clicked = time.monotonic()
            now = self.soak.report()
            if not now.overlay or now.kind != r.kind:
                return
            if now.phase == 1:
                if time.monotonic() - clicked < 0.4:
                    self.soak.input.click(*p)
                    self.expect_overlay_end(now, "a click in the double-click time after one"
                                            " during the transition")
                    self.spanned("clicks across an overlay's transition")
                return
            time.sleep(0.1)

    def expect_overlay_end(self, r, what):
        """A click after the transition ends an overlay of kind 1 or 2."""
        for _ in range(30):
            now = self.soak.report()
            if not now.overlay or now.kind != r.kind or now.windows or now.menu or now.popups:
                return
            time.sleep(0.1)
        raise gamelink.Failure("%s on the overlay of kind %d after its transition did not end"
                               " it" % (what, r.kind))

    def menu_over_overlay(self, r):
        """Opens the Options dialog, Help, Easy or Normal from the menu bar
        while the overlay runs (the dialogs are answered by later steps)."""
        menu, letter = self.rng.choice(OVERLAY_COMMANDS)
        self.log("overlay %d/%d: %s menu, %s" % (r.kind, r.phase, menu, letter))
        self.soak.input.click(r.table[0] + MENU_X[menu], r.table[1] - 12)
        self.soak.input.key(letter)
        self.spanned("%s %s during overlay %d" % (menu, letter, r.kind))
        if letter == "c":  # a dialog or the help viewer opens
            for _ in range(20):
                if self.soak.report().windows:
                    return
                time.sleep(0.1)
