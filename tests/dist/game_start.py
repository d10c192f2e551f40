"""Starts an unpacked game under Wine with the system card library hidden,
dismisses the opening overlay with a real click, checks the dealt table's
pixels, answers the abort question with No and closes the game with Alt+F4.
Needs DISPLAY (an Xvfb of 1024 x 768 without window manager), xdotool and
ImageMagick's import."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from keltrim_e2e import screen, xinput  # noqa: E402

# The table, in the card window's client pixels (cards 71 x 96): the bottom
# triangle row and the tops of the six side stacks lie open after the deal.
CARD_W, CARD_H = 71, 96
BOTTOM_ROW = [(147 + CARD_W * k, 370) for k in range(7)]
SIDE_TOPS = [(41, 10), (41, 130), (29, 250), (153, 10), (153, 130), (265, 10)]
TRIANGLE = (140, 170, 650, 470)
EMPTY_TABLE = (10, 360, 130, 490)  # left of the triangle, above the pile
CLICK_SPOT = (60, 430)  # on the overlay's dark body; empty table afterwards
# The drawn court cards' paper and crown colours.
DRAWN_PAPER, DRAWN_GOLD = (255, 248, 220), (240, 200, 40)
FACE_PAPER = ((255, 255, 255), DRAWN_PAPER)


class Failure(Exception):
    pass


def xdotool(*args):
    out = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20)
    time.sleep(0.01)  # moves and clicks sent back to back coalesce
    return out.stdout.split()


def find_window(title):
    return xdotool("search", "--name", "^%s$" % title)


class Screen:
    """One picture of the root window, read in the card window's client pixels."""

    def __init__(self, origin):
        self.image = screen.capture()
        self.origin = origin

    def pixel(self, x, y):
        return self.image.pixel(self.origin[0] + x, self.origin[1] + y)

    def area(self, left, top, right, bottom):
        return [self.pixel(x, y) for y in range(top, bottom) for x in range(left, right)]


def card_window_origin(window):
    """The card window's client origin on the screen: the main window's
    1-pixel border, its menu bar, and the card window's 2-pixel client edge."""
    geometry = dict(line.split("=") for line in
                    xdotool("getwindowgeometry", "--shell", window) if "=" in line)
    x, y = int(geometry["X"]), int(geometry["Y"])
    if (int(geometry["WIDTH"]), int(geometry["HEIGHT"])) != (712, 553):
        raise Failure("main window is %sx%s, not 712x553" % (geometry["WIDTH"], geometry["HEIGHT"]))
    return x + 3, y + 22


def wait_for(what, test, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        result = test()
        if result:
            return result
        time.sleep(0.2)
    raise Failure("timed out waiting for " + what)


def dismiss_overlay(origin):
    # The rules screen paints its body pure black once the wipe, which
    # paints it (3, 3, 3), is over; only then does a click end it.
    wait_for("the opening overlay's rules screen",
             lambda: Screen(origin).pixel(*CLICK_SPOT) == (0, 0, 0), 30)
    spot = (origin[0] + CLICK_SPOT[0], origin[1] + CLICK_SPOT[1])

    def click_through():
        xinput.click(*spot)
        time.sleep(0.3)
        return Screen(origin).pixel(*CLICK_SPOT) != (0, 0, 0)

    wait_for("the overlay to end on a click", click_through, 10)


def dealt_table(origin):
    """Waits until the last dealt card lies still in the bottom row."""
    last = (BOTTOM_ROW[-1][0], BOTTOM_ROW[-1][1], BOTTOM_ROW[-1][0] + CARD_W,
            BOTTOM_ROW[-1][1] + CARD_H)
    previous = [None]

    def settled():
        shot = Screen(origin)
        cards = shot.area(BOTTOM_ROW[0][0], last[1], last[2], last[3])
        still = cards == previous[0]
        previous[0] = cards
        return shot if still and card_face_share(shot, *BOTTOM_ROW[-1]) > 0.4 else None

    return wait_for("the deal to finish", settled, 60)


def card_face_share(shot, x, y):
    """The share of paper inside the card at (x, y), corners left out: the
    white face, and the cream panel that fills half of a drawn court card."""
    inside = shot.area(x + 8, y + 8, x + CARD_W - 8, y + CARD_H - 8)
    return sum(p in FACE_PAPER for p in inside) / len(inside)


def check_table(shot):
    empty = shot.area(*EMPTY_TABLE)
    background = max(set(empty), key=empty.count)
    if empty.count(background) != len(empty):
        raise Failure("the empty table left of the triangle is not one colour")
    for x, y in BOTTOM_ROW + SIDE_TOPS:
        inside = shot.area(x + 8, y + 8, x + CARD_W - 8, y + CARD_H - 8)
        if background in inside:
            raise Failure("table colour %s inside the card at (%d, %d)" % (background, x, y))
        if card_face_share(shot, x, y) < 0.4:
            raise Failure("the card at (%d, %d) shows no face" % (x, y))
    triangle = shot.area(*TRIANGLE)
    for colour in (DRAWN_PAPER, DRAWN_GOLD):
        if triangle.count(colour) < 20:
            raise Failure("no drawn court card (colour %s) in the triangle" % (colour,))
    return background


def check_abort_question(window, game):
    xdotool("windowfocus", window)
    xdotool("key", "F2")
    wait_for("the abort question", lambda: find_window("Keltrim Solitaire"), 15)
    xdotool("key", "n")
    wait_for("the abort question to close", lambda: not find_window("Keltrim Solitaire"), 15)
    if game.poll() is not None:
        raise Failure("the game ended when the abort question was declined")


def run(exe, wine_run, shot_path):
    """Starts `exe` from its own folder; returns a line describing what was seen."""
    env = dict(os.environ, KELTRIM_DLL_OVERRIDES="cards=")
    folder, name = os.path.split(exe)
    game = subprocess.Popen([wine_run, name], cwd=folder, env=env)
    try:
        windows = wait_for("the main window", lambda: find_window("Vemo"), 60)
        window = windows[0]
        origin = card_window_origin(window)
        dismiss_overlay(origin)
        shot = dealt_table(origin)
        shot.image.save_png(shot_path)
        if find_window("Drel"):
            raise Failure("the card library error was shown")
        background = check_table(shot)
        check_abort_question(window, game)
        xdotool("windowfocus", window)
        xdotool("key", "alt+F4")
        code = game.wait(timeout=30)
        if code != 0:
            raise Failure("the game exited with %d" % code)
        return "dealt 13 open faces on table colour %s, drawn court cards seen" % (background,)
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()
