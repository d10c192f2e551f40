#include "app/HelpLayout.h"

#include <algorithm>

namespace {

// Words of one line, placed when the line is full: they share its
// baseline, which the tallest word sets.
class LineBuilder {
public:
    LineBuilder(HelpLayout& out, int left, int width) : out_(out), left_(left), width_(width) {}

    // Places a word after the previous one, with a space before it when
    // asked, starting a new line first when it does not fit.
    void Add(PlacedWord word, int wordWidth, int wordHeight, int spaceWidth) {
        const int gap = pending_.empty() ? 0 : spaceWidth;
        if (!pending_.empty() && x_ + gap + wordWidth > width_) {
            Finish();
            return Add(std::move(word), wordWidth, wordHeight, 0);
        }
        const int x = left_ + x_ + gap;
        word.box = RECT{x, 0, x + wordWidth, wordHeight};
        pending_.push_back(std::move(word));
        x_ += gap + wordWidth;
        lineHeight_ = std::max(lineHeight_, wordHeight);
    }
    // Ends the line; an empty line after a forced break takes `emptyHeight`.
    void Finish(int emptyHeight = 0) {
        const int h = pending_.empty() ? emptyHeight : lineHeight_;
        for (PlacedWord& w : pending_) {
            const int wh = w.box.bottom;
            w.box.top = y_ + h - wh;
            w.box.bottom = y_ + h;
            out_.words.push_back(std::move(w));
        }
        pending_.clear();
        y_ += h;
        x_ = 0;
        lineHeight_ = 0;
    }
    bool Empty() const { return pending_.empty(); }
    int Y() const { return y_; }
    void SetY(int y) { y_ = y; }

private:
    HelpLayout& out_;
    std::vector<PlacedWord> pending_;
    int left_, width_;
    int x_ = 0, y_ = 0, lineHeight_ = 0;
};

void LayOutBlock(const HelpBlock& block, LineBuilder& lines, const HelpMeasure& measure) {
    bool spaceBefore = false;
    for (const HelpRun& run : block.runs) {
        const int font = HelpFontOf(run);
        if (run.lineBreak) {
            lines.Finish(measure.Measure(0, " ").cy);
            spaceBefore = false;
            continue;
        }
        const int space = measure.Measure(font, " ").cx;
        size_t i = 0;
        while (i < run.text.size()) {
            if (run.text[i] == ' ') {
                spaceBefore = true;
                ++i;
                continue;
            }
            const size_t end = std::min(run.text.find(' ', i), run.text.size());
            PlacedWord word{RECT{}, font, run.color, run.text.substr(i, end - i), run.link};
            const SIZE size = measure.Measure(font, word.text);
            lines.Add(std::move(word), size.cx, size.cy, spaceBefore ? space : 0);
            spaceBefore = false;
            i = end;
        }
    }
    if (!lines.Empty())
        lines.Finish();
}

} // namespace

HelpLayout LayOutHelpPage(const HelpPage& page, int width, const HelpMeasure& measure) {
    HelpLayout out;
    const int tableLeft = kHelpMargin;
    const int tableWidth = std::max(0, (width - 2 * kHelpMargin) * 99 / 100);
    const int inset = kHelpFrame + kHelpPadding;
    const int gap = measure.Measure(0, " ").cy * 2 / 3; // between paragraphs
    LineBuilder lines(out, tableLeft + inset, std::max(1, tableWidth - 2 * inset));

    int y = kHelpMargin;
    for (size_t r = 0; r < std::max<size_t>(page.rows.size(), 1); ++r) {
        const HelpRow row = r < page.rows.size() ? page.rows[r] : HelpRow{};
        lines.SetY(y + inset);
        const HelpBlock* previous = nullptr;
        for (const HelpBlock& block : page.blocks) {
            if (block.row != static_cast<int>(r))
                continue;
            if (previous && (previous->paragraph || block.paragraph))
                lines.SetY(lines.Y() + gap);
            for (const std::string& name : block.anchors)
                out.anchors.emplace(name, lines.Y());
            LayOutBlock(block, lines, measure);
            previous = &block;
        }
        // Neighbouring rows share one frame line.
        const int bottom = lines.Y() + kHelpPadding + kHelpFrame;
        out.rows.push_back(PlacedRow{RECT{tableLeft, y, tableLeft + tableWidth, bottom}, row.filled,
                                     row.background});
        y = bottom - kHelpFrame;
    }
    out.height = y + kHelpFrame + kHelpMargin;
    return out;
}

const PlacedWord* HelpWordAt(const HelpLayout& layout, int x, int y) {
    for (const PlacedWord& w : layout.words)
        if (x >= w.box.left && x < w.box.right && y >= w.box.top && y < w.box.bottom)
            return &w;
    return nullptr;
}
