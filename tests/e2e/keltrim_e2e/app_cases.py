"""Cases of the application shell: the Options dialog, the settings kept
over a restart, Exit, and the help page."""

import time

from . import screen, xinput
from .checks import checked_item, choose_from_menu, expect, menu_popup_picture
from .play_cases import DEFAULT_TABLE, EMPTY_SPOTS

DARK_BLUE = (0, 64, 100)  # the second of the Options dialog's colours
EASY, NORMAL = 40005, 40006
TITLE_BAND = (0x27, 0x88, 0xFF)


def table_colour(s, shot):
    colours = {s.table_pixel(shot, x, y) for x, y in EMPTY_SPOTS}
    expect(len(colours) == 1, "the table shows several colours: %s" % colours)
    return colours.pop()


def mode_checked(s):
    """0 when Easy carries the check mark, 1 when Normal does."""
    s.focus()
    choose_from_menu(0, None)
    try:
        return checked_item(menu_popup_picture(s), 1)
    finally:
        xinput.key("Escape", "Escape")
        time.sleep(0.3)


def first_start_defaults(s):
    _, shot, _ = s.new_game_dealt()
    colour = table_colour(s, shot)
    expect(colour == DEFAULT_TABLE, "the table is %s, not %s" % (colour, DEFAULT_TABLE))
    expect(mode_checked(s) == 1, "Normal is not checked on the first start")


def choose_dark_blue(s):
    """Opens the Options dialog from the keyboard and chooses the second
    colour; the screen once the dialog has gone."""
    s.focus()
    choose_from_menu(0, "c")
    dialog, _ = s.wait_dialog()
    expect(dialog.text == "Options", "the dialog is %r" % dialog.text)
    # Focus starts on OK; two tabs reach the swatches, Right the next one.
    xinput.key("Tab", "Tab", "Right", "Return")
    return s.wait_no_dialog()


def options_colour(s):
    colour = table_colour(s, choose_dark_blue(s))
    expect(colour == DARK_BLUE, "the table is %s, not %s" % (colour, DARK_BLUE))


def exit_keeps_settings(s):
    s.focus()
    # Easy by the mouse, then the Game menu clicked again at once: so soon
    # after the first, that click arrives as a double-click.
    game_title = s.to_screen(20, -12)
    xinput.click(*game_title)
    xinput.key("s")
    xinput.click(*game_title, spaced=False)
    s.wait_dialog("#32768", timeout=5)
    time.sleep(0.5)
    expect(checked_item(menu_popup_picture(s), 1) == 0, "Easy is not checked after choosing it")
    xinput.key("Escape", "Escape")
    choose_from_menu(0, "e")  # Exit
    code = s.wait_exit()
    expect(code == 0, "the game exited with %s" % code)
    stored = s.wine.settings()
    expect(stored.get("bgcolor") == 0x644000 and stored.get("difficulty") == EASY,
           "the registry holds %s" % stored)
    s.start()
    _, shot, _ = s.new_game_dealt()
    colour = table_colour(s, shot)
    expect(colour == DARK_BLUE, "after a restart the table is %s" % (colour,))
    expect(mode_checked(s) == 0, "after a restart Easy is not checked")
    choose_from_menu(0, "e")
    expect(s.wait_exit() == 0, "the second run did not exit with 0")


def help_page(s):
    s.new_game_dealt()
    s.focus()
    choose_from_menu(1, "c")
    viewer, _ = s.wait_dialog("KeltrimHelp")
    expect(viewer.text == "Keltrim Solitaire", "the help window is titled %r" % viewer.text)
    if s.log:
        with open(s.log, "rb") as f:
            expect(b"ShowHTMLDialog" in f.read(), "the HTML dialog was not called first")
    time.sleep(1)
    r = viewer.rect
    picture = screen.capture(popups=True).crop(r[0], r[1], r[2] - r[0], r[3] - r[1])
    band = picture.count_color(TITLE_BAND, 0, 0, picture.width, picture.height)
    expect(band > 10000, "only %d pixels of the title band's colour" % band)
    # White type on the band: white pixels among the band's rows.
    rows = [y for y in range(picture.height)
            if picture.count_color(TITLE_BAND, 0, y, picture.width, 1) > picture.width // 2]
    text = picture.count_color((255, 255, 255), 0, rows[0], picture.width, len(rows))
    expect(text > 300, "no white title text on the band (%d pixels)" % text)
    xinput.key("Escape")
    s.wait_no_dialog("KeltrimHelp")
    choose_from_menu(0, "e")
    expect(s.wait_exit() == 0, "the game did not exit with 0 after the help")
