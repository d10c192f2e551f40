// Where the help viewer puts the words of the help page: the page's table
// with its rows, the words wrapped into lines within the table's cells,
// and the place of every anchor, for a given width.
#pragma once

#include "app/HelpPage.h"

#include <map>
#include <string>
#include <vector>

// The four fonts of the page: index = bold + 2 * large.
constexpr int kHelpFontCount = 4;
inline int HelpFontOf(const HelpRun& run) {
    return (run.bold ? 1 : 0) + (run.large ? 2 : 0);
}

// Measures text in one of the fonts: its width and the font's line height.
class HelpMeasure {
public:
    virtual ~HelpMeasure() = default;
    virtual SIZE Measure(int font, const std::string& text) const = 0;
};

struct PlacedWord {
    RECT box; // in page coordinates
    int font;
    COLORREF color;
    std::string text;
    std::string link; // anchor it jumps to, or empty
};

struct PlacedRow {
    RECT box; // including its frame
    bool filled;
    COLORREF background;
};

struct HelpLayout {
    std::vector<PlacedWord> words;
    std::vector<PlacedRow> rows;
    std::map<std::string, int> anchors; // name -> top of its block
    int height = 0;                     // of the whole page
};

// Table geometry, as the page asks for it: a margin around the page, a
// table 99% wide with a 1-pixel frame and 6 pixels of padding in its cells.
constexpr int kHelpMargin = 8;
constexpr int kHelpFrame = 1;
constexpr int kHelpPadding = 6;

HelpLayout LayOutHelpPage(const HelpPage& page, int width, const HelpMeasure& measure);

// The word under a page point, or null.
const PlacedWord* HelpWordAt(const HelpLayout& layout, int x, int y);
