// The help page as the program's own viewer reads it from its HTML: the
// title, the window size the page asks for, and the text as blocks of
// styled runs standing in the rows of the page's table.
//
// The reader knows the markup the help page uses (a table of rows, font
// and bold elements, paragraphs, line breaks, links to anchors inside the
// page, class rules of the page's style sheet) and skips everything else.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

struct HelpRun {
    std::string text; // white space collapsed; empty for a line break
    bool bold = false;
    bool large = false; // a bigger font size
    bool lineBreak = false;
    COLORREF color = RGB(0, 0, 0);
    std::string link; // the anchor a click jumps to, or empty
};

struct HelpBlock {
    std::vector<HelpRun> runs;
    std::vector<std::string> anchors; // names that jump here
    int row = 0;                      // the table row holding it
    bool paragraph = false;           // space is kept around paragraphs
};

struct HelpRow {
    bool filled = false; // with a background colour of its own
    COLORREF background = RGB(255, 255, 255);
};

struct HelpPage {
    std::string title;
    int width = 600;
    int height = 600;
    std::vector<HelpRow> rows;
    std::vector<HelpBlock> blocks;
};

HelpPage ParseHelpPage(std::string_view html);

// The bytes of an HTML resource of the program's own file; empty when it
// cannot be found.
std::string LoadHtmlResource(int resourceId);
