#!/usr/bin/python3
"""End-to-end cases: the real game under Wine in the current X display,
driven with xdotool and read back from the screen.

  run_e2e.py --root SRC --game keltrim.exe --helper keltrim_e2e_helper.exe
             --cardlib-template keltrim_cards_suits.dll --shots DIR GROUP

KELTRIM_BUILD names the build folder whose Wine prefix is used. Groups:
table, new_game, settings, help, game_over, keys; cardlib shows the faces of a
Windows-numbered card library beside the game; depth16 and depth8 run in a
display of their own of 16 or 8 bits a pixel."""

import argparse
import contextlib
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from keltrim_e2e import app_cases, cardlib_cases, depth_cases, key_cases, play_cases, screen  # noqa: E402
from keltrim_e2e.checks import Runner  # noqa: E402
from keltrim_e2e.display import VirtualDisplay  # noqa: E402
from keltrim_e2e.session import Helper, Session  # noqa: E402
from keltrim_e2e.wine import Wine  # noqa: E402


def group_table(r, s, shots):
    r.case("1 window place and size", play_cases.window_place, s)
    r.case("2 opening overlay dismissed by a click", play_cases.opening_overlay, s, shots)
    dealt = r.case("3 dealt table recognised", play_cases.dealt_table, s, shots)
    if not dealt:
        return
    removed = r.case("4 pair dragged and removed", play_cases.pair_removed, s, *dealt)
    if not removed:
        return
    before, table, now = removed
    r.case("5 refused drop glides back", play_cases.refused_drop, s, now)
    r.case("6 Ctrl+Z restores the pair", play_cases.undo_pair, s, before, table)


def group_new_game(r, s, shots):
    r.case("opening overlay", lambda: (s.wait_overlay(), s.dismiss_overlay()))
    r.case("7 F2 asks; No keeps the game, Yes deals anew", play_cases.abort_question, s)


def group_settings(r, s, shots):
    r.case("first start: default colour, Normal checked", app_cases.first_start_defaults, s)
    r.case("9 Options dialog by keyboard sets the colour", app_cases.options_colour, s)
    r.case("10 Exit gives 0; colour and Easy restored", app_cases.exit_keeps_settings, s)


def group_help(r, s, shots):
    r.case("11 Help > Contents shows the help page", app_cases.help_page, s)


def group_game_over(r, s, shots):
    r.case("opening overlay", lambda: (s.wait_overlay(), s.dismiss_overlay()))
    # A table with a pair: after Game Over that pair must not be taken.
    dealt = r.case("dealt table with a pair",
                   lambda: play_cases.deal_until_pair(s, *s.wait_dealt()))
    if not dealt:
        return
    dealt_at = time.monotonic()
    shot = r.case("8 the clock runs out: Game Over", play_cases.game_over, s, shots, dealt_at)
    if shot:
        r.case("after Game Over a pair is not taken and F2 asks nothing",
               play_cases.table_deaf_after_game_over, s, shot, dealt[1])


def group_cardlib(r, s, shots, wine_strip):
    r.case("12 a Windows-numbered library's own faces, 48 and no king",
           cardlib_cases.marked_faces, s, shots, wine_strip)


def group_keys(r, s, shots):
    r.case("13 a level won and the next entered with keys alone", key_cases.keyboard_game, s)


# The help group runs the game with Wine's MSHTML loadable (every other run
# leaves it out) and keeps MSHTML's fixme messages: the HTML dialog is really
# called, and the viewer shows because Wine's answers E_NOTIMPL. The cardlib
# group has Wine prefer a cards.dll beside the game to its own, as Windows
# does: even a resource-only load of that file by its full path gives Wine's
# built-in library otherwise.
START_ENV = {"help": {"KELTRIM_DLL_OVERRIDES": "mshtml=b", "WINEDEBUG": "-all,fixme+mshtml"},
             "cardlib": {"KELTRIM_DLL_OVERRIDES": "cards=n,b"}}

GROUPS = {"table": group_table, "new_game": group_new_game, "settings": group_settings,
          "help": group_help, "game_over": group_game_over, "cardlib": group_cardlib,
          "keys": group_keys,
          "depth16": lambda r, s, shots: depth_cases.group(r, s, shots, 16),
          "depth8": lambda r, s, shots: depth_cases.group(r, s, shots, 8)}
DEPTHS = {"depth16": 16, "depth8": 8}


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--game", required=True)
    p.add_argument("--helper", required=True)
    p.add_argument("--cardlib-template", required=True)
    p.add_argument("--shots", required=True)
    p.add_argument("group", choices=sorted(GROUPS))
    args = p.parse_args()
    build = os.environ.get("KELTRIM_BUILD")
    if not build or not os.environ.get("DISPLAY"):
        print("KELTRIM_BUILD and DISPLAY must be set (run through tools/run-tests)")
        return 2
    os.makedirs(args.shots, exist_ok=True)
    with contextlib.ExitStack() as stack:
        if args.group in DEPTHS:
            # The tests' wineserver must be gone before Wine meets another display.
            Wine(args.root, build).wait_server()
            stack.enter_context(VirtualDisplay(DEPTHS[args.group]))
        return run_group(args, build)


def run_group(args, build):
    wine = Wine(args.root, build)
    wine.wait_server()
    # Every group starts from the default settings.
    wine.reset_settings()
    helper = Helper(wine, args.helper)
    strip = helper.strip(os.path.join(args.shots, "strip-%s.ppm" % args.group))
    bits = screen.channel_bits()
    if bits:
        strip.image = strip.image.quantised(bits)
    game, extra = args.game, ()
    if args.group == "cardlib":
        game, marked = cardlib_cases.install(
            wine, helper, args.game, args.cardlib_template,
            os.path.join(args.shots, "strip-windows-cards.ppm"))
        strip, extra = marked, (strip,)
    session = Session(wine, helper, game, strip)
    runner = Runner()
    try:
        env = START_ENV.get(args.group)
        log = os.path.join(args.shots, "wine-%s.log" % args.group) if env else None
        runner.case("game starts", session.start, env, log)
        GROUPS[args.group](runner, session, args.shots, *extra)
    finally:
        session.kill()
        cardlib_cases.remove(wine)
    return 1 if runner.failed else 0


if __name__ == "__main__":
    sys.exit(main())
