"""The soak driver's channels to the game running under Wine: the probe
report (through soak_link.exe, which sends the game the probe message and
receives its WM_COPYDATA answer), real X input through xdotool and the
screen's pixels (XGetImage through libX11)."""

import subprocess
import time

import xroot

# Requests of the probe message (its lParam): a report only; paint what
# waits to be painted first; lay the table out again and repaint all of it
# first; run the game's clock at another speed (speed << 8 | CLOCK); paint
# a wrong block onto the table without invalidating it (at BLOT_RECT: left,
# top, right, bottom in table pixels).
REPORT, PAINT_PENDING, REPAINT, CLOCK, BLOT = 0, 1, 2, 3, 4
BLOT_RECT = (300, 200, 324, 224)


class Failure(Exception):
    """A fault the soak found."""


class Report:
    """One answer of the probe, parsed."""

    def __init__(self, text):
        self.state = {}
        self.next_button = None
        self.table = None
        self.card_size = (71, 96)
        self.stacks = {}
        self.handles = []
        self.windows = []
        self.popups = []  # open popup menus, named by their first item
        self.controls = {}  # the table's child windows by name
        self.moved = []  # controls that a new layout moved (REPAINT)
        for line in text.splitlines():
            word, _, rest = line.partition(" ")
            if word == "state":
                self.state = {k: int(v) for k, v in (f.split("=") for f in rest.split())}
            elif word == "next":
                self.next_button = tuple(int(v) for v in rest.split())
            elif word == "table":
                v = [int(x) for x in rest.split()]
                self.table = tuple(v[:4])
                self.card_size = (v[4], v[5])
            elif word == "stack":
                v = [int(x) for x in rest.split()]
                self.stacks[v[0]] = Stack(v)
            elif word == "control":
                v = rest.split()
                self.controls[v[0]] = Control([int(x) for x in v[1:]])
            elif word == "moved":
                self.moved.append(rest)
            elif word == "handles":
                self.handles = [int(x) for x in rest.split()]
            elif word == "window":
                cls, title, rect = rest.split("|")
                w = Window(cls, title, [int(x) for x in rect.split()])
                (self.popups if cls == "#32768" else self.windows).append(w)
            elif word == "button" and self.windows:
                label, rect = rest.split("|")
                self.windows[-1].buttons[label.replace("&", "")] = [int(x) for x in rect.split()]
            elif word == "list" and self.windows:
                self.windows[-1].list = [int(x) for x in rest.split("|")[1].split()]

    def __getattr__(self, name):
        if name in ("ready", "overlay", "kind", "phase", "level", "left", "running", "menu",
                    "capture", "speed", "selected", "framed", "active", "focus", "foreground",
                    "modifiers"):
            return self.state.get(name, 0)
        raise AttributeError(name)

    def dragging(self):
        """A card is lifted, by the mouse or the keyboard."""
        return any(s.dragging for s in self.stacks.values())

    def held(self):
        """A card carried by the mouse (the keyboard's lifted card, drawn
        raised, is part of the table's painting)."""
        return any(s.dragging and s.id != self.selected for s in self.stacks.values())

    def quiet(self):
        """A dealt table in play: no overlay, lifted card, menu or other
        window."""
        return (self.still() and not self.dragging() and self.ready and self.kind != 3
                and self.running)

    def still(self):
        """Nothing moves on its own but the clock: no overlay runs, no card
        is carried by the mouse, no menu or other window is open; the table
        is in play or shows the Game Over look."""
        return (not self.overlay and not self.menu and not self.popups and not self.windows
                and not self.held() and (self.kind == 3 or (self.ready and self.running)))

    def removed(self):
        return len(self.stacks[35].cards) if 35 in self.stacks else 0

    def target(self):
        return min(2 * self.level + 14, 48)


class Stack:
    def __init__(self, v):
        self.id, self.visible, self.dragging, self.with_lifted = v[0], v[1], v[2], v[3]
        self.x, self.y, self.dx, self.dy = v[4:8]
        self.cards = v[8:]


class Control:
    def __init__(self, v):
        self.visible = v[0]
        self.rect = v[1:5]  # screen: left, top, right, bottom
        self.fill = v[5] if len(v) > 5 else 0  # the timer bar's spent rows


class Window:
    def __init__(self, cls, title, rect):
        self.cls, self.title, self.rect = cls, title, rect
        self.buttons = {}
        self.list = None  # a list box's rectangle


class Link:
    """soak_link.exe, kept running: one command a line, answers up to "done"."""

    def __init__(self, wine_run, exe, env):
        self.proc = subprocess.Popen([wine_run, exe], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                     env=env, text=True, bufsize=1)
        if self._read_until("ready") is None:
            raise RuntimeError("soak_link.exe did not start")

    def _read_until(self, last):
        lines = []
        for line in self.proc.stdout:
            line = line.rstrip("\r\n")
            if line == last or line == "noreceiver":
                return lines if line == last else None
            lines.append(line)
        return None

    def command(self, text):
        self.proc.stdin.write(text + "\n")
        self.proc.stdin.flush()
        lines = self._read_until("done")
        if lines is None:
            raise RuntimeError("soak_link.exe went away")
        return lines

    def ask(self, timeout_ms, request=REPORT):
        """A Report, or the word the link answered instead (timeout, ...)."""
        lines = self.command("ask %d %d" % (timeout_ms, request))
        if lines and lines[-1] == "end":
            return Report("\n".join(lines))
        return lines[0] if lines else "nothing"

    def close(self):
        try:
            self.proc.stdin.write("quit\n")
            self.proc.stdin.flush()
            self.proc.wait(timeout=20)
        except (OSError, subprocess.TimeoutExpired):
            self.proc.kill()


class Input:
    """Real X input. Moves are paced (moves sent with no pause coalesce)."""

    EVENTS = ("mousemove", "mousedown", "mouseup", "click", "key")

    def __init__(self, env):
        self.env = env
        self.events = 0

    def run(self, *args):
        self.events += sum(a in self.EVENTS for a in args)
        subprocess.run(["xdotool", *[str(a) for a in args]], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def click(self, x, y):
        self.run("mousemove", x, y, "sleep", 0.02, "click", 1)

    def double_click(self, x, y):
        self.run("mousemove", x, y, "sleep", 0.02, "click", "--repeat", 2, "--delay", 90, 1)

    def press(self, x, y):
        self.run("mousemove", x, y, "sleep", 0.02, "mousedown", 1)

    def release(self):
        self.run("mouseup", 1)

    def glide_to(self, path, step_s):
        args = []
        for (x, y) in path:
            args += ["mousemove", x, y, "sleep", step_s]
        self.run(*args)

    def key(self, *keys):
        args = []
        for k in keys:
            args += ["key", k, "sleep", 0.05]
        self.run(*args)


class Screen:
    """The X display's pixels (the display of $DISPLAY)."""

    def __init__(self):
        try:
            self.root = xroot.RootWindow()
        except OSError:
            raise Failure("no X display to read the screen from")

    def grab(self, x, y, w, h):
        """The pixels of a rectangle as rows of 4 bytes a pixel (blue,
        green, red, unused); None when the display gave no such image."""
        image = self.root.grab(x, y, w, h)
        if not image or image.bits_per_pixel != 32 or (image.width, image.height) != (w, h):
            return None
        return [image.row(y) for y in range(h)]


def save_ppm(rows, path):
    """Rows of Screen.grab as a PPM picture."""
    w = len(rows[0]) // 4
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (w, len(rows)))
        for row in rows:
            rgb = bytearray(3 * w)
            rgb[0::3], rgb[1::3], rgb[2::3] = row[2::4], row[1::4], row[0::4]
            f.write(rgb)


def screenshot(env, path):
    subprocess.run(["import", "-window", "root", path], env=env, timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wait_answer(link, game, seconds, request=REPORT):
    """Asks until the game answers (a glide fetches no message for a while)."""
    deadline = time.monotonic() + seconds
    last = None
    while time.monotonic() < deadline:
        if game.poll() is not None:
            return None, "the game's process has ended (status %s)" % game.returncode
        answer = link.ask(2000, request)
        if isinstance(answer, Report):
            return answer, None
        last = answer
        time.sleep(0.2)
    return None, "the game did not answer for %d s (last: %s)" % (seconds, last)
