"""Cases on a display of 16 or 8 bits a pixel: the game deals, plays a pair,
takes another table colour, runs an overlay and exits there as on 24 bits.
At 16 bits every colour is read as the screen's 5-6-5 bits show it. At 8
bits Wine dithers every table colour from its own colour table, coarsely
(the default table averages to a light grey), so there a patch's average
colour must lie nearer the colour asked for than the other colour of the
case and than a plain mid grey, which a table painted in no colour at all
shows."""

import os

from . import screen, xinput
from .app_cases import DARK_BLUE, choose_dark_blue
from .checks import choose_from_menu, expect
from .play_cases import DEFAULT_TABLE, EMPTY_SPOTS, pair_removed, refused_drop

GREY = (128, 128, 128)


def _distance(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b))


def table_colour_near(s, shot, colour, other):
    """Why the empty table spots do not show `colour` (None when they do):
    exactly as the screen quantises it above 8 bits; at 8, on average over
    8 x 8 pixels, nearer `colour` than `other` and than grey."""
    bits = screen.channel_bits()
    for x0, y0 in EMPTY_SPOTS:
        if screen.screen_depth() > 8:
            want = screen.quantised(colour, bits)
            if s.table_pixel(shot, x0, y0) != want:
                return "%s at %d, %d, not %s" % (s.table_pixel(shot, x0, y0), x0, y0, want)
            continue
        patch = [s.table_pixel(shot, x, y) for x in range(x0, x0 + 8) for y in range(y0, y0 + 8)]
        mean = [sum(p[k] for p in patch) / len(patch) for k in range(3)]
        print("8 bits: %s shows as %s on average" % (colour, [round(m) for m in mean]))
        nearest = min((colour, other, GREY), key=lambda c: _distance(mean, c))
        if nearest != colour:
            return "average %s at %d, %d, nearer %s than %s" % (
                [round(m) for m in mean], x0, y0, nearest, colour)
    return None


def dealt(s, shots, depth):
    shot, table = s.new_game_dealt()[1:]
    cards = table.cards()
    expect(len(cards) == 48 and len(set(cards)) == 48,
           "%d cards, %d distinct" % (len(cards), len(set(cards))))
    expect(all(c < 48 for c in cards), "a king on the table")
    wrong = table_colour_near(s, shot, DEFAULT_TABLE, DARK_BLUE)
    expect(not wrong, "the table colour: %s" % wrong)
    s.save_window(shot, os.path.join(shots, "dealt-table-%dbit.png" % depth))
    return shot, table


def colour_changed(s):
    wrong = table_colour_near(s, choose_dark_blue(s), DARK_BLUE, DEFAULT_TABLE)
    expect(not wrong, "after the colour change: %s" % wrong)


def new_game_overlay(s):
    """F2, Yes: the opening overlay over the table in its new colour, and a
    fresh deal of 48 cards read from the screen."""
    s.focus()
    xinput.key("F2")
    _, kids = s.wait_dialog()
    xinput.click(*[k for k in kids if k.text == "&Yes"][0].centre())
    _, shot, table = s.new_game_dealt()
    expect(len(set(table.cards())) == 48, "the new deal shows %d cards" % len(table.cards()))
    wrong = table_colour_near(s, shot, DARK_BLUE, DEFAULT_TABLE)
    expect(not wrong, "after the new game: %s" % wrong)


def exits_cleanly(s):
    s.focus()
    choose_from_menu(0, "e")
    code = s.wait_exit()
    expect(code == 0, "the game exited with %s" % code)


def group(r, s, shots, depth):
    played = r.case("%d bits: overlay, deal of 48 cards, no king" % depth, dealt, s, shots, depth)
    removed = played and r.case("%d bits: a pair removed" % depth, pair_removed, s, *played)
    if removed:
        r.case("%d bits: a refused drop glides back" % depth, refused_drop, s, removed[2])
    r.case("%d bits: Options sets another table colour" % depth, colour_changed, s)
    r.case("%d bits: F2, Yes: overlay and a new deal" % depth, new_game_overlay, s)
    r.case("%d bits: Exit gives 0" % depth, exits_cleanly, s)
