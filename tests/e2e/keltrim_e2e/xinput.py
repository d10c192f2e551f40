"""Real X input through xdotool. Every step is its own xdotool call with a
pause after it: Wine merges moves that arrive with no pause between them,
and takes two presses within 500 ms and 4 pixels for a double-click."""

import subprocess
import time

STEP_PAUSE = 0.03
# Longer than the double-click time, so two clicks never pair up.
CLICK_GAP = 0.6

_last_click = 0.0


def _xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=20)
    time.sleep(STEP_PAUSE)


def move(x, y):
    _xdotool("mousemove", int(x), int(y))


def _space_clicks():
    global _last_click
    wait = _last_click + CLICK_GAP - time.monotonic()
    if wait > 0:
        time.sleep(wait)
    _last_click = time.monotonic()


def click(x, y, spaced=True):
    """A click; unless `spaced` is False, so long after the one before that
    the two cannot make a double-click."""
    if spaced:
        _space_clicks()
    move(x, y)
    _xdotool("mousedown", 1)
    _xdotool("mouseup", 1)


def drag(x0, y0, x1, y1, steps=12, before_release=None):
    """Presses at (x0, y0), moves in steps to (x1, y1) and releases there;
    before_release() runs while the button is still held at the end."""
    _space_clicks()
    move(x0, y0)
    _xdotool("mousedown", 1)
    for i in range(1, steps + 1):
        move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps)
    time.sleep(0.2)
    result = before_release() if before_release else None
    _xdotool("mouseup", 1)
    return result


def key(*names):
    """Presses and releases each key (or combination like ctrl+z) in turn."""
    for name in names:
        _xdotool("key", name)
        time.sleep(0.1)
