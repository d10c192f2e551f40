"""A virtual X display of a chosen depth for a group of cases, started and
stopped by the suite itself (the tests' own display is 24 bits deep)."""

import os
import subprocess
import time

from . import screen

# Display numbers well above those that `Xvfb -displayfd` hands out.
FIRST_NUMBER = 140


def _taken(number):
    """True when an X server already listens on :number, through its socket
    file or the abstract socket of the same name."""
    name = "/tmp/.X11-unix/X%d" % number
    if os.path.exists(name) or os.path.exists("/tmp/.X%d-lock" % number):
        return True
    with open("/proc/net/unix") as f:
        return any(line.split()[-1] == "@" + name for line in f.readlines()[1:]
                   if len(line.split()) > 7)


class VirtualDisplay:
    """Xvfb 1024 x 768 at `depth` bits, made $DISPLAY while it runs."""

    def __init__(self, depth):
        self.depth = depth
        self.process = None
        self.previous = os.environ.get("DISPLAY")

    def __enter__(self):
        for number in range(FIRST_NUMBER, FIRST_NUMBER + 40):
            if _taken(number):
                continue
            self.process = subprocess.Popen(
                ["Xvfb", ":%d" % number, "-screen", "0", "1024x768x%d" % self.depth,
                 "-nolisten", "tcp"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            end = time.monotonic() + 20
            while self.process.poll() is None and time.monotonic() < end:
                if os.path.exists("/tmp/.X11-unix/X%d" % number):
                    break
                time.sleep(0.1)
            if self.process.poll() is None:
                os.environ["DISPLAY"] = ":%d" % number
                depth = screen.screen_depth()
                if depth != self.depth:
                    raise AssertionError(":%d is %d bits deep, not %d" % (number, depth,
                                                                           self.depth))
                return self
        raise AssertionError("no Xvfb of %d bits could be started" % self.depth)

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(20)
        if self.previous is None:
            os.environ.pop("DISPLAY", None)
        else:
            os.environ["DISPLAY"] = self.previous
        return False
