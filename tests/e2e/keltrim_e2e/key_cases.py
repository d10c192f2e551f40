"""Cases of keyboard play, with xdotool keys alone: the focus frame is found
on the screen by its highlight colour and steered with the arrow keys; a
level is won from the keyboard, a refused pair and Escape leave the screen as
it was, and an Easy placeholder is filled."""

import time

from . import xinput
from .cards import Layout, face_value, name
from .checks import choose_from_menu, expect
from .play_cases import find_misfit
from .session import WHITE
from .wine import wait_until

ARROWS = {"Left": (-1, 0), "Right": (1, 0), "Up": (0, -1), "Down": (0, 1)}
# A run of the highlight colour this long is a ring's top edge.
RING_RUN = 60


class Model:
    """The table as the plan sees it: slot id -> card, side id -> cards."""

    def __init__(self, slots, sides, hole=None):
        self.slots = dict(slots)
        self.sides = {k: list(v) for k, v in sides.items()}
        self.hole = hole  # the first side stack emptied: Easy's placeholder

    def key(self):
        return (tuple(sorted(self.slots)), tuple(len(self.sides[k]) for k in sorted(self.sides)))

    def liftable(self):
        out = []
        for sid, c in sorted(self.slots.items()):
            r = Layout.row_of(sid)
            if r == 7 or (sid + r not in self.slots and sid + r + 1 not in self.slots):
                out.append((("slot", sid), c))
        out += [(("side", sid), cards[-1]) for sid, cards in sorted(self.sides.items()) if cards]
        return out

    def card(self, place):
        kind, sid = place
        return self.slots[sid] if kind == "slot" else self.sides[sid][-1]

    def take(self, place):
        kind, sid = place
        if kind == "slot":
            del self.slots[sid]
        else:
            self.sides[sid].pop()
            if not self.sides[sid] and self.hole is None:
                self.hole = sid

    def pairs(self):
        places = self.liftable()
        return [(pa, pb) for i, (pa, a) in enumerate(places) for pb, b in places[i + 1:]
                if face_value(a) + face_value(b) == 13]


def plan(model, pairs, empty_side=False, budget=20000):
    """A list of `pairs` pairs to take in turn, emptying a side stack on the
    way if asked; None when the search finds none within its budget."""
    seen = set()

    def search(m, left):
        emptied = any(not cards for cards in m.sides.values())
        if left == 0:
            return [] if emptied or not empty_side else None
        if len(seen) > budget or (m.key(), left) in seen:
            return None
        seen.add((m.key(), left))
        for pa, pb in m.pairs():
            nxt = Model(m.slots, m.sides, m.hole)
            nxt.take(pa)
            nxt.take(pb)
            rest = search(nxt, left - 1)
            if rest is not None:
                return [(pa, pb)] + rest
        return None
    return search(model, pairs)


class Keys:
    def __init__(self, s):
        self.s = s
        self.ring = bytes(s.helper.highlight()) * RING_RUN

    def frame(self, shot=None):
        """Table corner of what the frame encloses, or None."""
        shot = shot or self.s.shot()
        ox, oy = self.s.origin
        w, h = self.s.table_size
        for y in range(h):
            row = shot.row(oy + y, ox, ox + w)
            i = row.find(self.ring)
            while i >= 0 and i % 3:
                i = row.find(self.ring, i + 1)
            if i >= 0:
                return i // 3 + 2, y + 2
        return None

    def press(self, key, before):
        """Presses a key; the frame's place once it has moved (or not)."""
        xinput.key(key)
        end = time.monotonic() + 0.8
        while True:
            at = self.frame()
            if at != before or time.monotonic() > end:
                return at

    def corner(self, model, place):
        kind, sid = place
        if kind == "slot":
            return self.s.layout.slot(sid)
        return self.s.layout.side_card(sid, max(len(model.sides[sid]) - 1, 0))

    def steer(self, goal):
        """Arrow keys until the frame encloses the card whose corner is goal:
        the way toward it first, the other ways when that one is stuck."""
        at = self.frame() or self.press("Down", None)
        tried = set()
        for _ in range(60):
            if at == goal:
                return
            dx, dy = goal[0] - at[0], goal[1] - at[1]
            order = sorted(ARROWS, key=lambda k: -(ARROWS[k][0] * dx + ARROWS[k][1] * dy))
            key = next((k for k in order if (at, k) not in tried), None)
            if key is None:
                return self.tab_to(goal, at)
            tried.add((at, key))
            at = self.press(key, at)
            expect(at, "the frame went away")
        return self.tab_to(goal, at)

    def tab_to(self, goal, at):
        """Tab steps through every place: where the arrows are stuck, it
        still reaches the goal."""
        for _ in range(80):
            if at == goal:
                return
            at = self.press("Tab", at)
            expect(at, "the frame went away")
        raise AssertionError("the frame did not reach %s, even with Tab" % (goal,))

    def pair(self, model, pa, pb):
        """Lifts pa with Space, plays it onto pb with Enter."""
        self.steer(self.corner(model, pa))
        xinput.key("space")
        self.steer(self.corner(model, pb))
        xinput.key("Return")
        model.take(pa)
        model.take(pb)


def pile_top(s, shot, count):
    """The two topmost removed cards, as the pile's fan shows them."""
    x, y = s.layout.pile
    under = s.read_card(shot, x + (count - 2) * Layout.PILE_FAN, y, s.pile_rows(),
                        range(Layout.PILE_FAN))
    top = s.read_card(shot, x + (count - 1) * Layout.PILE_FAN, y, s.pile_rows())
    return under, top


def key_dealt_table(s, empty_side):
    """From the opening overlay, ended with Enter, to a dealt table with a
    plan for the level; deals anew (F2, Enter for Yes) while none is found."""
    for _ in range(8):
        s.wait_overlay()
        time.sleep(0.3)
        xinput.key("Return")
        shot, table = s.wait_dealt()
        model = Model(table.slots, table.sides)
        moves = plan(model, 8, empty_side)
        if moves:
            return shot, table, model, moves
        xinput.key("F2")
        s.wait_dialog()
        xinput.key("Return")
        s.wait_no_dialog()
    raise AssertionError("no deal with a plan for the level")


def escape_and_refusal(s, keys, table, model):
    (src, a), (dst, b) = find_misfit(table)
    keys.steer(keys.corner(model, src))
    before = s.wait_stable()
    xinput.key("space")
    x, y = keys.corner(model, src)
    raised = wait_until(lambda: keys.frame() == (x - 3, y - 5), 5, 0.1, "the raised card")
    expect(raised and s.read_card(s.shot(), x - 3, y - 5) == a,
           "%s is not shown raised and framed" % name(a))
    xinput.key("Escape")
    expect(s.same_but_timer(before, s.wait_stable()), "Escape did not put %s back" % name(a))
    # Refused: the frame on the target before and after.
    keys.steer(keys.corner(model, dst))
    before = s.wait_stable()
    keys.steer(keys.corner(model, src))
    xinput.key("Return")
    keys.steer(keys.corner(model, dst))
    xinput.key("space")
    after = s.wait_stable()
    expect(s.same_but_timer(before, after), "%s onto %s changed the screen" % (name(a), name(b)))


def level_by_keyboard(s, keys, model, moves):
    for i, (pa, pb) in enumerate(moves):
        a, b = model.card(pa), model.card(pb)
        keys.pair(model, pa, pb)
        shot = s.wait_stable()
        expect(pile_top(s, shot, 2 * i + 2) == (b, a), "%s onto %s is not on the pile"
               % (name(a), name(b)))


def fill_placeholder(s, keys, model):
    """The first side stack emptied stays as a placeholder: a card goes onto
    it from the keyboard."""
    hole = model.hole
    place, card = next(p for p in model.liftable() if p[0][0] == "slot")
    keys.steer(keys.corner(model, place))
    xinput.key("space")
    keys.steer(s.layout.side[hole])
    xinput.key("Return")
    s.wait_stable()
    expect(s.read_card(s.shot(), *s.layout.side[hole]) == card,
           "%s is not on the placeholder %d" % (name(card), hole))


def next_level_by_keyboard(s, keys):
    """The button by keys, then Enter until level 2 is dealt. The opening
    screen (its white band grows from the top right corner) must never show
    meanwhile: that would be a new game's level 1, not level 2."""
    keys.steer((710 - (7 * s.strip.w) // 4, 100))  # the "next level" button
    xinput.key("space")
    w, _ = s.table_size
    # "Well Done!!!": Enter does nothing while its curtains close, then deals
    # level 2; once dealt, Enter finds no frame and does nothing either.
    end = time.monotonic() + 40
    presses = 0
    while time.monotonic() < end:
        shot = s.shot()
        expect(s.table_pixel(shot, w - 3, 2) != WHITE, "an opening screen came before level 2")
        table = s.read_table(shot)
        if len(table.slots) == 28 and all(len(table.sides[k]) == n and None not in table.sides[k]
                                          for k, n in Layout.SIDE_COUNTS.items()):
            return s.wait_dealt()
        if presses < 10:
            xinput.key("Return")
            presses += 1
        time.sleep(0.3)
    raise AssertionError("Enter did not end the level's overlay")


def keyboard_game(s):
    """Easy mode; a level won and the next entered with keys alone."""
    choose_from_menu(0, "s")  # Easy, before the deal
    _, table, model, moves = key_dealt_table(s, empty_side=True)
    keys = Keys(s)
    escape_and_refusal(s, keys, table, model)
    level_by_keyboard(s, keys, model, moves)
    fill_placeholder(s, keys, model)
    shot, table = next_level_by_keyboard(s, keys)
    expect(len(set(table.cards())) == 48, "level 2 is not dealt whole: %d distinct cards"
           % len(set(table.cards())))
