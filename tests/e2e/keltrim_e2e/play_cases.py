"""Cases of play: the window, the opening overlay, the dealt table, a pair
removed, a refused drop, undo, the abort question and Game Over."""

import os
import subprocess
import time

from . import xinput
from .cards import Layout, face_value, name
from .checks import expect
from .session import BLACK
from .wine import wait_until

DEFAULT_TABLE = (255, 191, 155)
# Table points where no card, label or button ever stands.
EMPTY_SPOTS = ((441, 120), (380, 100), (60, 420), (600, 250))
# Empty table points clear of the "Game Over" title as well.
CHEQUER_SPOTS = ((60, 420), (600, 250), (650, 300), (100, 480))


def window_place(s):
    shot = s.shot()
    main = s.main_window
    expect(main.size == (712, 553), "main window is %dx%d" % main.size)
    centred = (shot.width // 2 - 356, shot.height // 2 - 274)
    expect(main.rect[:2] == centred,
           "main window at %s, not %s on a %dx%d screen" % (main.rect[:2], centred,
                                                            shot.width, shot.height))
    # The X server agrees on the window's place.
    info = subprocess.run(["xwininfo", "-name", "Vemo"], stdout=subprocess.PIPE,
                          timeout=20).stdout.decode()
    expect("-geometry 712x553+%d+%d" % centred in info, "X has the window elsewhere:\n" + info)


def opening_overlay(s, shots):
    shot = s.wait_overlay()
    # Its example pairs, in the places the overlay draws them.
    W, H = s.strip.w, s.strip.h
    w, h = s.table_size
    step = (4 * W) // 3
    x1 = w // 2 - 2 * W - step // 2 - step
    y1 = h // 2 - H // 3 + 5
    for i, (top, bottom) in enumerate(((33, 12), (37, 11), (43, 5), (44, 2))):
        x = x1 + i * (W + step)
        expect(s.read_card(shot, x, y1, range(H // 4)) == top,
               "overlay example %d: no %s at %d, %d" % (i, name(top), x, y1))
        expect(s.read_card(shot, x - W // 3, y1 + H // 4) == bottom,
               "overlay example %d: no %s" % (i, name(bottom)))
    # For the screenshot, wait for "click to continue..." to blink on.
    band = (s.origin[0] + w // 2 - 120, s.origin[1] + h // 3 + h // 2, 240, 30)
    try:
        shot = wait_until(lambda: (lambda p: p if p.count_color((255, 255, 255), *band) > 20
                                   else None)(s.shot()), 4, 0.1, "the blinking text")
    except AssertionError:
        pass
    s.save_window(shot, os.path.join(shots, "opening-overlay.png"))
    s.dismiss_overlay()


def dealt_table(s, shots):
    shot, table = s.wait_dealt()
    cards = table.cards()
    expect(len(cards) == 48 and len(set(cards)) == 48,
           "%d cards, %d distinct" % (len(cards), len(set(cards))))
    expect(all(c < 48 for c in cards), "a king on the table")
    expect(len(table.slots) == 28, "%d triangle slots read" % len(table.slots))
    counts = {sid: len(c) for sid, c in table.sides.items()}
    expect(counts == Layout.SIDE_COUNTS, "side stacks hold %s" % counts)
    px, py = s.layout.pile
    for x in range(px, px + s.strip.w + 40, 7):
        for y in s.pile_rows():
            expect(s.table_pixel(shot, x, py + y) == DEFAULT_TABLE, "the removed pile is not empty")
    if shots:
        s.save_window(shot, os.path.join(shots, "dealt-table.png"))
    return shot, table


def find_pair(table):
    places = table.uncovered()
    for i, (pa, a) in enumerate(places):
        for pb, b in places[i + 1:]:
            if face_value(a) + face_value(b) == 13:
                return (pa, a), (pb, b)
    return None


def find_misfit(table):
    places = table.uncovered()
    for i, (pa, a) in enumerate(places):
        for pb, b in places[i + 1:]:
            if face_value(a) + face_value(b) != 13:
                return (pa, a), (pb, b)
    return None


def deal_until_pair(s, shot, table, tries=6):
    """A table with a pair to take; deals again (F2, Yes) while it has none."""
    for _ in range(tries):
        if find_pair(table):
            return shot, table
        s.focus()
        xinput.key("F2")
        dialog, kids = s.wait_dialog()
        xinput.click(*[k for k in kids if k.text == "&Yes"][0].centre())
        _, shot, table = s.new_game_dealt()
    raise AssertionError("no pair on %d deals" % tries)


def label_rect(s):
    """Screen rectangle of the "cards remaining" label."""
    x = s.origin[0] + s.table_size[0] - (7 * s.strip.w) // 4 - 154
    return x, s.origin[1] + 10, 54, 65


def level_rect(s):
    x = s.origin[0] + s.table_size[0] - (7 * s.strip.w) // 4 + 11
    return x, s.origin[1] + 10, 54, 65


def without(table, *places):
    slots = {k: v for k, v in table.slots.items() if ("slot", k) not in places}
    sides = {k: (v[:-1] if ("side", k) in places else v) for k, v in table.sides.items()}
    return slots, sides


def pair_removed(s, shot, table):
    shot, table = deal_until_pair(s, shot, table)
    before = s.wait_stable()
    (src, a), (dst, b) = find_pair(table)
    xinput.drag(*s.card_centre(src, table), *s.card_centre(dst, table))
    after = s.wait_stable()
    now = s.read_table(after, pile_count=2)
    left = list(now.slots.values()) + sum(now.sides.values(), [])
    expect(a not in left and b not in left, "%s or %s still on the table" % (name(a), name(b)))
    expect(now.pile == [b, a], "the removed pile shows %s, not %s"
           % ([name(c) if c is not None else "?" for c in now.pile], [name(b), name(a)]))
    expect((now.slots, now.sides) == without(table, src, dst),
           "other cards changed with the pair")
    expect(not before.region_equal(after, *label_rect(s)), "'cards remaining' did not change")
    expect(before.region_equal(after, *level_rect(s)), "the level label changed")
    return before, table, now


def refused_drop(s, now):
    (src, a), (dst, b) = find_misfit(now)
    before = s.wait_stable()
    sx, sy = s.card_centre(src, now)
    tx, ty = s.card_centre(dst, now)
    # While it is held over the target, the card is drawn there (both
    # grabbed in their middle, so the carried card covers the target).
    held = xinput.drag(sx, sy, tx, ty, before_release=s.shot)
    kind, sid = dst
    x, y = (s.layout.slot(sid) if kind == "slot"
            else s.layout.side_card(sid, len(now.sides[sid]) - 1))
    expect(s.read_card(held, x, y) == a, "%s was not carried over %s" % (name(a), name(b)))
    after = s.wait_stable()
    expect(s.same_but_timer(before, after), "the screen differs after %s glided back" % name(a))


def undo_pair(s, before_pair, table):
    s.focus()
    xinput.key("ctrl+z")
    after = s.wait_stable()
    expect(s.read_table(after) == s.read_table(before_pair), "the cards are not back")
    expect(s.same_but_timer(before_pair, after), "the screen differs from before the pair")


def abort_question(s):
    _, table = s.wait_dealt()
    s.focus()
    before = s.wait_stable()
    xinput.key("F2")
    dialog, kids = s.wait_dialog()
    expect(dialog.text == "Keltrim Solitaire", "question captioned %r" % dialog.text)
    texts = [k.text for k in kids]
    expect("Do you want to abort the current game?" in texts, "the question reads %s" % texts)
    expect("&Yes" in texts and "&No" in texts, "buttons %s" % texts)
    xinput.click(*[k for k in kids if k.text == "&No"][0].centre())
    after = s.wait_no_dialog()
    expect(s.same_but_timer(before, after), "No changed the screen")
    s.focus()
    xinput.key("F2")
    dialog, kids = s.wait_dialog()
    xinput.click(*[k for k in kids if k.text == "&Yes"][0].centre())
    _, _, fresh = s.new_game_dealt()
    expect(fresh != table, "Yes dealt the same table again")


def dither_ok(s, shot, highlight, background):
    """The Game Over chequer: even pixels (x + y counted from the table's
    origin) in the highlight colour, odd ones in the table colour."""
    for x0, y0 in CHEQUER_SPOTS:
        for y in range(y0, y0 + 6):
            for x in range(x0, x0 + 6):
                want = highlight if (x + y) % 2 == 0 else background
                if s.table_pixel(shot, x, y) != want:
                    return False
    return True


def game_over(s, shots, dealt_at):
    """The 160-second level runs to its end: no Game Over and a moving bar
    at 150 s, then Game Over within 20 s."""
    highlight = s.helper.highlight()
    w, h = s.table_size
    title = (s.origin[0] + w // 2 - 160, s.origin[1] + h // 8, 320, 70)
    t0, t1 = s.timer_bar_columns()

    def over():
        shot = s.shot()
        return shot if dither_ok(s, shot, highlight, DEFAULT_TABLE) else None
    while time.monotonic() < dealt_at + 150:
        expect(not over(), "Game Over %.0f s after the deal" % (time.monotonic() - dealt_at))
        time.sleep(min(2.0, max(0.0, dealt_at + 150 - time.monotonic())))
    early = s.shot()
    time.sleep(1.0)
    late = s.shot()
    expect(not early.region_equal(late, t0, 0, t1 - t0, late.height),
           "the timer bar stands still 150 s after the deal")
    wait_until(over, 20, 0.5, "the Game Over chequer")
    time.sleep(1.5)  # the overlay ends 600 ms after its columns
    shot = s.wait_stable()
    expect(dither_ok(s, shot, highlight, DEFAULT_TABLE), "the chequer went away")
    expect(shot.count_color(BLACK, *title) > 500, "no black 'Game Over' title")
    s.save_window(shot, os.path.join(shots, "game-over.png"))
    statics = [x for x in s.helper.windows() if x.cls == "Static" and x.visible]
    expect(len(statics) == 1, "visible status controls: %s" % statics)  # the link label alone
    return shot


def table_deaf_after_game_over(s, shot, table):
    # A pair that a live table would take: nothing may move.
    (src, a), (dst, b) = find_pair(table)
    xinput.drag(*s.card_centre(src, table), *s.card_centre(dst, table))
    after = s.wait_stable()
    expect(s.same_but_timer(shot, after),
           "the table took %s on %s after Game Over" % (name(a), name(b)))
    s.focus()
    xinput.key("F2")
    s.wait_overlay()
    expect(not s.dialogs(), "a question was asked after Game Over")
