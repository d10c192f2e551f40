"""Knowing the cards on the screen: the strip of card faces that the game's
own loader makes (written out by the helper) compared pixel for pixel with
the screen, and where the table puts each stack.

Card values are rank * 4 + suit (rank 0 ace .. 12 king; suit 0 clubs,
1 diamonds, 2 hearts, 3 spades); the face value is rank + 1."""

RANKS = "A23456789TJQK"
SUITS = "CDHS"


def name(card):
    return RANKS[card // 4] + SUITS[card % 4]


def face_value(card):
    return card // 4 + 1


class Strip:
    """The 68 card pictures side by side, slot i at columns i*w .. i*w+w-1."""

    def __init__(self, image, card_width, card_height):
        self.image = image
        self.w = card_width
        self.h = card_height

    def _span(self, row):
        """Columns of a card row inside the card shape (corners cut)."""
        if row in (0, self.h - 1):
            return 2, self.w - 2
        if row in (1, self.h - 2):
            return 1, self.w - 1
        return 0, self.w

    def matches(self, screen, card, x, y, rows=None, cols=None):
        """True when the screen shows card `card` with its top-left corner
        at (x, y) in the given part of the card (rows and cols are ranges of
        the card's own pixels; the whole card by default). Only pixels of the
        card shape count: the table shows through its corners."""
        rows = rows if rows is not None else range(self.h)
        c0, c1 = (cols.start, cols.stop) if cols is not None else (0, self.w)
        base = card * self.w
        for r in rows:
            s0, s1 = self._span(r)
            a, b = max(c0, s0), min(c1, s1)
            if a >= b:
                continue
            if y + r < 0 or y + r >= screen.height or x + a < 0 or x + b > screen.width:
                return False
            if screen.row(y + r, x + a, x + b) != self.image.row(r, base + a, base + b):
                return False
        return True

    def recognise(self, screen, x, y, rows=None, cols=None, candidates=range(52)):
        """Every card that the screen shows at (x, y) in that part."""
        return [c for c in candidates if self.matches(screen, c, x, y, rows, cols)]


class Layout:
    """The table's stack positions for a card size, in table (card window
    client) coordinates."""

    # Side stacks in the order the deal fills them, with their card counts.
    SIDE_ORDER = (29, 30, 31, 32, 34, 33)
    SIDE_COUNTS = {29: 4, 30: 4, 31: 3, 32: 3, 34: 3, 33: 3}
    SIDE_FAN = 12
    PILE_FAN = 8

    def __init__(self, w, h):
        self.w, self.h = w, h
        x1 = (7 * w) // 4 + 5
        x2 = (7 * w) // 2 - 7
        y1 = h + h // 4 + 10
        y2 = y1 + h + h // 4
        self.y0 = h // 2 + h + h // 4 + 10
        self.side = {29: (5, 10), 32: (x1, 10), 33: (x2, 10),
                     30: (5, y1), 34: (x1, y1), 31: (5, y2)}
        self.pile = (5, self.y0 + 7 * (h // 3) + h)

    def slot(self, sid):
        """Top-left corner of triangle slot sid (1..28)."""
        r = 0
        while (r + 1) * (r + 2) // 2 < sid:
            r += 1
        k = sid - r * (r + 1) // 2 - 1
        f = 3.0 - 0.5 * r
        return int(self.w * k + self.w * f + 2 * self.w + 5), self.y0 + r * (self.h // 3)

    @staticmethod
    def row_of(sid):
        r = 1
        while r * (r + 1) // 2 < sid:
            r += 1
        return r

    def slot_rows(self, sid):
        """The card rows of a slot that show when the row below is full."""
        if self.row_of(sid) == 7:
            return range(self.h)
        return range(self.h // 3)

    def side_card(self, sid, index):
        x, y = self.side[sid]
        return x + index * self.SIDE_FAN, y
