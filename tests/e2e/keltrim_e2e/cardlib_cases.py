"""A card library numbered as Windows numbers its own (faces 1..52 suit by
suit, no bitmap 0), made by the helper from the faces the game's loader
takes from Wine's library, each with a magenta mark. It is put beside a copy
of the game in a folder of the prefix's drive C, which the case removes
again; the game must show the marked faces, and the right ones."""

import os
import shutil

from .cards import name
from .checks import expect
from .play_cases import dealt_table

FOLDER = "keltrim-windows-cards"


def install(wine, helper, game, template, strip_path):
    """Makes the folder with the game and its cards.dll; returns the game's
    path there and the marked strip."""
    folder = os.path.join(wine.env["WINEPREFIX"], "drive_c", FOLDER)
    remove(wine)
    os.makedirs(folder)
    shutil.copy(game, os.path.join(folder, "keltrim.exe"))
    strip = helper.cardlib(template, os.path.join(folder, "cards.dll"), strip_path)
    return os.path.join(folder, "keltrim.exe"), strip


def remove(wine):
    shutil.rmtree(os.path.join(wine.env["WINEPREFIX"], "drive_c", FOLDER), ignore_errors=True)


def marked_faces(s, shots, wine_strip):
    """The dealt table read with the marked faces: 48 distinct cards and no
    king (a library read with the wrong numbering shows kings, or cards
    the strip does not hold). Wine's own faces are not what is shown."""
    s.wait_overlay()
    s.dismiss_overlay()
    try:
        s.wait_dealt(timeout=30)
    except AssertionError:
        table = s.read_table(s.wait_stable())
        cards = table.cards()
        kings = [name(c) for c in cards if c is not None and c >= 48]
        raise AssertionError("the marked faces show %d of 48 cards in their places%s"
                             % (len(table.slots) + sum(c is not None for v in table.sides.values()
                                                       for c in v),
                                ", kings among them: %s" % " ".join(kings) if kings else ""))
    shot, table = dealt_table(s, None)
    for sid, card in table.slots.items():
        x, y = s.layout.slot(sid)
        rows = s.layout.slot_rows(sid)
        expect(not wine_strip.matches(shot, card, s.origin[0] + x, s.origin[1] + y, rows),
               "slot %d shows Wine's own face, without the mark" % sid)
    s.save_window(shot, os.path.join(shots, "dealt-table-windows-cards.png"))
