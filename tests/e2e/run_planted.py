#!/usr/bin/python3
"""Proof by planting. The release package is unpacked into a fresh folder
and a library is planted beside its game under the name of every library
the game loads; each leaves a mark file beside itself when its code runs.
The game is started from that folder with Wine told to prefer a library in
the program's folder (as Windows does for one that is not a known library)
and played: the deal, a pair, the link, Help, the Options dialog, Exit. No
mark may appear, and the table must be dealt, readable, from the planted
cards.dll's faces, which the game reads without running its code.

  run_planted.py --root SRC --game keltrim.exe --helper keltrim_e2e_helper.exe
                 --planted DIR --work DIR --cmake CMAKE"""

import argparse
import glob
import os
import shutil
import sys
import tempfile
import time
import zipfile

here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [here, os.path.join(here, "..", "dist")]

from check_dist import make_package  # noqa: E402
from keltrim_e2e import play_cases, xinput  # noqa: E402
from keltrim_e2e.checks import Runner, choose_from_menu, expect  # noqa: E402
from keltrim_e2e.session import Helper, Session  # noqa: E402
from keltrim_e2e.wine import Wine  # noqa: E402

# The planted library's bitmap 1 (the ace of clubs in slot 0): red 3 * id,
# green 255 - id, blue 32.
PLANTED_ACE = (3, 254, 32)
LINK_WIDTH = 266  # the web address artwork shown on the default table


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def marks(folder):
    found = {}
    for mark in sorted(glob.glob(os.path.join(folder, "*.ran"))):
        with open(mark, "rb") as f:
            found[os.path.basename(mark)[:-4]] = f.read().decode("latin-1")
    return found


def planted_faces(strip):
    w, h = strip.w, strip.h
    expect(strip.image.pixel(w // 2, h // 2) == PLANTED_ACE,
           "the strip is not the planted library's (%dx%d cards)" % (w, h))


def follow_link(s):
    w, h = s.table_size
    s.click_table(w - 25 - LINK_WIDTH // 2, h - 46 + 15)
    time.sleep(2)


def help_and_options(s):
    s.focus()
    choose_from_menu(1, "c")
    s.wait_dialog("KeltrimHelp")
    xinput.key("Escape")
    s.wait_no_dialog("KeltrimHelp")
    s.focus()
    choose_from_menu(0, "c")
    dialog, _ = s.wait_dialog()
    expect(dialog.text == "Options", "the dialog is %r" % dialog.text)
    xinput.key("Escape")
    s.wait_no_dialog()


def exit_game(s):
    choose_from_menu(0, "e")
    expect(s.wait_exit() == 0, "the game did not exit with 0")


def no_marks(folder):
    ran = marks(folder)
    expect(not ran, "planted code ran: %s" % ", ".join("%s in %s" % kv for kv in ran.items()))


def marks_work(wine, helper, folder):
    """The control: a planted library loaded as code does leave its mark."""
    wine.run(helper, "load", windows_path(os.path.join(folder, "winmm.dll")))
    expect("winmm.dll" in marks(folder), "a planted library run as code left no mark")


def html_dialog_tried(s):
    """Wine's MSHTML, from the system folder, was asked for the dialog."""
    with open(s.log, "rb") as f:
        expect(b"ShowHTMLDialog" in f.read(), "the HTML dialog was not called")


def loaded_from_the_system(s, names):
    """Wine's log of loaded modules: the game's process (the one that loaded
    the game) did load each planted name but cards, none from its folder."""
    with open(s.log, encoding="latin-1") as f:
        lines = [line for line in f if "loaddll:build_module Loaded" in line]
    exe = windows_path(s.game_exe).replace("\\", "\\\\")  # as Wine writes it
    game = [line.split(":")[0] for line in lines if line.split('"')[1] == exe]
    expect(game, "no process of the game in Wine's log")
    loaded = [line.split('"')[1] for line in lines if line.startswith(game[0] + ":")]
    for name in names:
        paths = [p for p in loaded if p.lower().endswith("\\%s.dll" % name)]
        expect(paths, "the game never loaded %s" % name)
        mine = [p for p in paths if p.lower().startswith(exe.rsplit("\\", 1)[0].lower())]
        expect(not mine, "%s loaded from %s" % (name, mine))


def play(wine, names, helper_exe, folder, exe, shots):
    helper = Helper(wine, helper_exe)
    runner = Runner()
    strip = runner.case("the planted cards.dll's strip", helper.strip,
                        os.path.join(shots, "strip-planted.ppm"),
                        windows_path(os.path.join(folder, "cards.dll")))
    if not strip:
        return 1
    session = Session(wine, helper, exe, strip)
    try:
        runner.case("the strip shows the planted faces", planted_faces, strip)
        runner.case("game starts", session.start, {"WINEDEBUG": "-all,fixme+mshtml,+loaddll"},
                    os.path.join(shots, "wine-planted.log"))
        runner.case("opening overlay", lambda: (session.wait_overlay(), session.dismiss_overlay()))
        dealt = runner.case("table dealt from the planted faces", play_cases.dealt_table,
                            session, shots)
        if dealt:
            runner.case("a pair removed", play_cases.pair_removed, session, *dealt)
        runner.case("the link followed", follow_link, session)
        runner.case("Help and the Options dialog", help_and_options, session)
        runner.case("Help tried Wine's HTML dialog first", html_dialog_tried, session)
        runner.case("Exit gives 0", exit_game, session)
        runner.case("each planted name but cards loaded from the system", loaded_from_the_system,
                    session, [n for n in names if n != "cards"])
    finally:
        session.kill()
    # Whatever failed above, the marks are read.
    marks_runner = Runner()
    marks_runner.case("no planted library ran", no_marks, folder)
    marks_runner.case("a planted library run as code leaves its mark", marks_work, wine,
                      helper_exe, folder)
    return 1 if runner.failed or marks_runner.failed else 0


def main():
    p = argparse.ArgumentParser()
    for option in ("--root", "--game", "--helper", "--planted", "--work", "--cmake"):
        p.add_argument(option, required=True)
    args = p.parse_args()
    build = os.environ.get("KELTRIM_BUILD")
    if not build or not os.environ.get("DISPLAY"):
        print("KELTRIM_BUILD and DISPLAY must be set (run through tools/run-tests)")
        return 2
    planted = sorted(os.listdir(args.planted))
    names = [n[:-4] for n in planted if n.endswith(".dll")]
    print("planted: " + ", ".join(planted))
    os.makedirs(args.work, exist_ok=True)
    package, _ = make_package(args.cmake, args.root, args.game, args.work, "-planted")
    folder = tempfile.mkdtemp(prefix="keltrim-planted-")
    try:
        with zipfile.ZipFile(package) as z:
            z.extractall(folder)
            exe = [n for n in z.namelist() if n.lower().endswith(".exe")][0]
        game = os.path.join(folder, exe)
        game_folder = os.path.dirname(game)
        for name in planted:
            shutil.copy(os.path.join(args.planted, name), game_folder)
        wine = Wine(args.root, build)
        # Wine: prefer the program folder's library for every planted name
        # (the helper, which reads the planted cards.dll, as well; Wine maps
        # its own library in place of an image named like one of its own
        # otherwise); the browser that the link would start is left out.
        wine.env["KELTRIM_DLL_OVERRIDES"] = ",".join(names) + "=n,b;winebrowser.exe="
        wine.wait_server()
        wine.reset_settings()
        # Started from its own folder, as a double-click in Explorer starts it.
        os.chdir(game_folder)
        return play(wine, names, args.helper, game_folder, game, args.work)
    finally:
        os.chdir(args.work)
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
