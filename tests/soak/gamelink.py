"""The soak driver's two channels to the game running under Wine: the probe
report (through soak_link.exe, which sends the game the probe message and
receives its WM_COPYDATA answer) and real X input through xdotool."""

import subprocess
import time


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
            elif word == "handles":
                self.handles = [int(x) for x in rest.split()]
            elif word == "window":
                cls, title, rect = rest.split("|")
                w = Window(cls, title, [int(x) for x in rect.split()])
                (self.popups if cls == "#32768" else self.windows).append(w)
            elif word == "button" and self.windows:
                label, rect = rest.split("|")
                self.windows[-1].buttons[label.replace("&", "")] = [int(x) for x in rect.split()]

    def __getattr__(self, name):
        if name in ("ready", "overlay", "kind", "phase", "level", "left", "running", "menu"):
            return self.state.get(name, 0)
        raise AttributeError(name)

    def dragging(self):
        return any(s.dragging for s in self.stacks.values())

    def quiet(self):
        """A dealt table in play: no overlay, drag, menu or other window."""
        return (self.ready and not self.overlay and self.kind != 3 and not self.menu
                and not self.popups and not self.windows and not self.dragging() and self.running)


class Stack:
    def __init__(self, v):
        self.id, self.visible, self.dragging, self.with_lifted = v[0], v[1], v[2], v[3]
        self.x, self.y, self.dx, self.dy = v[4:8]
        self.cards = v[8:]


class Window:
    def __init__(self, cls, title, rect):
        self.cls, self.title, self.rect = cls, title, rect
        self.buttons = {}


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

    def ask(self, timeout_ms):
        """A Report, or the word the link answered instead (timeout, ...)."""
        lines = self.command("ask %d" % timeout_ms)
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


def screenshot(env, path):
    subprocess.run(["import", "-window", "root", path], env=env, timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def grab_rgb(env, x, y, w, h):
    """The screen's pixels in a rectangle, as bytes of r, g, b."""
    out = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                          "-depth", "8", "rgb:-"], env=env, timeout=60, capture_output=True)
    return out.stdout


def wait_answer(link, game, seconds):
    """Asks until the game answers (a glide fetches no message for a while)."""
    deadline = time.monotonic() + seconds
    last = None
    while time.monotonic() < deadline:
        if game.poll() is not None:
            return None, "the game's process has ended (status %s)" % game.returncode
        answer = link.ask(2000)
        if isinstance(answer, Report):
            return answer, None
        last = answer
        time.sleep(0.2)
    return None, "the game did not answer for %d s (last: %s)" % (seconds, last)
