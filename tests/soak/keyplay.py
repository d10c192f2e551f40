"""Gestures of the soak played from the keyboard: the focus frame steered
with the arrow keys by what the probe reports it frames, a card lifted with
Space or Enter and played onto another, put back with Escape or left
lifted for a mouse press, Ctrl+Z or F2 to end; the "next level" button and
the overlays answered with Space or Enter."""

import time

import gamelink

ARROWS = {"Left": (-1, 0), "Right": (1, 0), "Up": (0, -1), "Down": (0, 1)}
# Steering gives up where a place cannot be reached in 80 keys: a frame
# that moves wrong. A few in a long run may be tolerated, no more.
STEERING_GIVEN_UP_FEW = 3
BUTTON = 36  # the "next level" button's id, as the probe names the frame
# What ends a lifted card instead of a second Space: each ends it as it
# ends a drag. Left lifted, it meets the next steps' gestures (and the
# repaint oracle, which checks that a repaint shows it raised).
INTERRUPTIONS = ["Escape", "Escape", "click", "ctrl+z", "F2", "space on itself", "nothing"]


class KeyPlay:
    def place_centre(self, r, place):
        """The table point in the middle of a stack's top card or the button."""
        if place == BUTTON:
            if not r.next_button:
                return None
            return r.next_button[0] - r.table[0], r.next_button[1] - r.table[1]
        s = r.stacks.get(place)
        if not s:
            return None
        cw, ch = r.card_size
        n = max(len(s.cards), 1)
        return s.x + s.dx * (n - 1) + cw // 2, s.y + s.dy * (n - 1) + ch // 2

    def steer(self, r, goal):
        """Arrow keys until the frame is on `goal`: the way toward it first,
        another way where that one is stuck, Tab where all are. The report
        then, or None."""
        tried = set()
        tabbing = False
        for _ in range(80):
            if r.framed == goal:
                return r
            at, to = self.place_centre(r, r.framed), self.place_centre(r, goal)
            if to is None or r.overlay or r.windows or r.menu or not r.running:
                return None
            if at is None:
                key = self.rng.choice(list(ARROWS))  # shows the frame
            else:
                dx, dy = to[0] - at[0], to[1] - at[1]
                ways = sorted(ARROWS, key=lambda k: -(ARROWS[k][0] * dx + ARROWS[k][1] * dy))
                key = next((k for k in ways if (r.framed, k) not in tried), None)
                if key is None or tabbing:
                    key, tabbing = "Tab", True  # steps through every place: reaches any
                tried.add((r.framed, key))
            self.soak.input.key(key)
            r = self.soak.report()
        self.soak.stats["key steering given up"] += 1
        stats = self.soak.stats
        if stats["key steering given up"] > STEERING_GIVEN_UP_FEW + stats["gesture key lift"] // 10:
            raise gamelink.Failure("the frame could not be steered to its goal %d times in %d "
                                   "key lifts" % (stats["key steering given up"],
                                                  stats["gesture key lift"]))
        return None

    def key_pair(self, r):
        """A pair from the keyboard, or a card lifted and then let go."""
        pairs = self.pairs(r)
        if not pairs:
            return self.key(r)
        a, b = self.rng.choice(pairs)
        self.log("keys: %d onto %d" % (a.id, b.id))
        r = self.steer(r, a.id)
        if not r:
            return
        self.soak.input.key(self.rng.choice(["space", "Return"]))
        r = self.soak.report()
        if r.selected != a.id:
            return
        self.count("key lift")
        if self.rng.random() < 0.2:
            return self.interrupt_lift(r)
        r = self.steer(r, b.id)
        if r and r.selected == a.id:
            self.soak.input.key(self.rng.choice(["space", "Return"]))
            self.count("key pair")
            self.expect_landed(r, a, b)

    def expect_landed(self, before, a, b):
        """After the press that plays a onto b: both go to the pile, unless
        the level ended first."""
        deadline = time.monotonic() + 5
        while True:
            r = self.soak.report()
            if r.removed() >= before.removed() + 2:
                self.count("key pair landed")
                return
            if r.level != before.level or r.overlay or not r.running:
                return  # the clock ended the level before the press
            if time.monotonic() > deadline:
                raise gamelink.Failure(
                    "a key pair of %d onto %d took nothing: the pile holds %d cards, as before; "
                    "lifted %d, framed %d" % (a.id, b.id, r.removed(), r.selected, r.framed))
            time.sleep(0.1)

    def interrupt_lift(self, r):
        how = self.rng.choice(INTERRUPTIONS)
        self.log("keys: lifted card ended by %s" % how)
        if how == "click":
            self.soak.input.click(*self.random_point(r))
        elif how == "space on itself":
            self.soak.input.key("space")
        elif how == "nothing":
            self.count("card left lifted by keys")
            return
        else:
            self.soak.input.key(how)
        self.spanned("lifted by keys, ended by " + how)

    def key_next_level(self, r):
        self.log("keys: next level button")
        r = self.steer(r, BUTTON)
        if r:
            self.button_pressed_at = time.monotonic()
            self.soak.input.key(self.rng.choice(["space", "Return"]))
            self.count("key next level")

    def overlay_enter(self, r):
        """Space or Enter: ends an overlay of kind 1 or 2 after its transition,
        and does nothing during it or on Game Over."""
        key = self.rng.choice(["space", "Return"])
        self.log("overlay %d/%d: %s" % (r.kind, r.phase, key))
        self.soak.input.key(key)
        if r.phase == 1 and r.kind != 3:
            self.expect_overlay_end(r, key)
            self.count("overlay ended by a key")
