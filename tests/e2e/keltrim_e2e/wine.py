"""The build's Wine prefix: running the game and the helper in it, waiting
for its wineserver, and the game's registry key."""

import os
import subprocess
import time

SETTINGS_KEY = r"HKCU\Software\Darnwick\Vemo"


class Wine:
    def __init__(self, root, build):
        self.wine_run = os.path.join(root, "tools", "wine-run")
        self.build = build
        self.env = dict(os.environ, KELTRIM_BUILD=build,
                        WINEPREFIX=os.path.join(build, "wineprefix"))

    def run(self, *args, timeout=60):
        """Runs a Windows program to its end; returns (exit code, stdout)."""
        done = subprocess.run([self.wine_run] + list(args), env=self.env,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              stdin=subprocess.DEVNULL, timeout=timeout)
        return done.returncode, done.stdout.decode("latin-1")

    def start(self, *args, env=None, log=None):
        """Starts a Windows program; `env` adds to the environment, and Wine's
        messages go to the file `log` when one is named."""
        err = open(log, "wb") if log else subprocess.DEVNULL
        try:
            return subprocess.Popen([self.wine_run] + list(args),
                                    env=dict(self.env, **(env or {})), stdout=subprocess.DEVNULL,
                                    stderr=err, stdin=subprocess.DEVNULL)
        finally:
            if log:
                err.close()

    def wait_server(self):
        """Waits until the prefix's wineserver has gone (it lingers a little
        after the last Wine process)."""
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=60)

    def reg(self, *args):
        code, out = self.run("reg", *args)
        return code, out

    def reset_settings(self):
        self.reg("delete", SETTINGS_KEY, "/f")

    def settings(self):
        """The game's stored values as {name: int}; empty when none."""
        code, out = self.reg("query", SETTINGS_KEY)
        values = {}
        if code != 0:
            return values
        for line in out.splitlines():
            parts = line.split()
            if len(parts) == 3 and parts[1] == "REG_DWORD":
                values[parts[0]] = int(parts[2], 16)
        return values


def wait_until(predicate, timeout, interval=0.1, what="condition"):
    """Polls until predicate() gives a true value, which it returns."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)
