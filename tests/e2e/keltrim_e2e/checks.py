"""The bits of checking the cases share: named cases, expectations with a
message, menu choices through the keyboard and pictures of the menus."""

import time
import traceback

from . import screen, xinput


class CaseFailed(AssertionError):
    pass


def expect(condition, message):
    if not condition:
        raise CaseFailed(message)


class Runner:
    """Runs the cases of one group in order; the first failure ends it,
    since each case starts from the state the one before left."""

    def __init__(self):
        self.failed = None

    def case(self, title, fn, *args):
        if self.failed:
            print("SKIP  %s" % title, flush=True)
            return None
        start = time.monotonic()
        try:
            result = fn(*args)
        except Exception as e:  # reported, and ends the group
            self.failed = title
            print("FAIL  %s: %s" % (title, e), flush=True)
            if not isinstance(e, CaseFailed):
                traceback.print_exc()
            return None
        print("PASS  %s (%.1f s)" % (title, time.monotonic() - start), flush=True)
        return result


def choose_from_menu(rights, letter):
    """Opens a popup of the menu bar from the keyboard (Alt, `rights` times
    Right, Down) and picks an item by its underlined letter."""
    xinput.key("alt")
    time.sleep(0.4)
    for _ in range(rights):
        xinput.key("Right")
    xinput.key("Down")
    time.sleep(0.8)
    if letter:
        xinput.key(letter)


def menu_popup_picture(session):
    """The picture of the open popup menu (the window of class #32768)."""
    popups = session.dialogs("#32768")
    expect(popups, "no popup menu is open")
    r = popups[0][0].rect
    return screen.capture(popups=True).crop(r[0], r[1], r[2] - r[0], r[3] - r[1])


def checked_item(popup, group):
    """Reads which item of a two-item group of a popup menu carries the check
    mark: 0 the upper, 1 the lower, None neither. Groups are counted from 0
    between the separator lines (thin grey lines across the popup); the mark
    is the dark drawing in the left margin."""
    w, h = popup.width, popup.height
    background = popup.pixel(w - 3, h // 2)
    separators = []
    for y in range(1, h - 1):
        mid = popup.pixel(w // 2, y)
        across = sum(1 for x in range(w) if popup.pixel(x, y) != background)
        grey = mid[0] == mid[1] == mid[2] and mid != background
        if across > 0.9 * w and grey:
            if not separators or separators[-1][1] != y - 1:
                separators.append([y, y])
            else:
                separators[-1][1] = y
    bounds = [0] + [s[0] for s in separators] + [h]
    expect(group + 1 < len(bounds), "the popup has %d separators" % len(separators))
    top, bottom = bounds[group], bounds[group + 1]
    marks = [y for y in range(top + 1, bottom)
             if any(sum(popup.pixel(x, y)) < 300 for x in range(2, 16))]
    if not marks:
        return None
    middle = (top + bottom) / 2
    upper = all(y < middle for y in marks)
    lower = all(y > middle for y in marks)
    expect(upper or lower, "a mark on both items of the group")
    return 0 if upper else 1
