#include "widgets/OverlayDrawing.h"

#include "cardtable/core/CardSize.h"
#include "cardtable/motion/CardCopy.h"

#include <cstdio>
#include <cstring>

namespace overlay {

namespace {

constexpr int kTitleArtwork = 125;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDarkBlue = RGB(0, 64, 100);

// Raster operations of a pattern brush: destination AND / OR pattern.
constexpr DWORD kAndPattern = 0x00A000C9;
constexpr DWORD kOrPattern = 0x00FA0089;

void PatternPass(HDC dc, const RECT& r, HBRUSH brush, COLORREF zeroBits, COLORREF oneBits,
                 DWORD rop) {
    // A one-bit pattern draws its 0 bits in the text colour and its 1 bits
    // in the background colour.
    const COLORREF oldText = SetTextColor(dc, zeroBits);
    const COLORREF oldBack = SetBkColor(dc, oneBits);
    SelectGuard selection(dc, brush);
    PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, rop);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

// Example cards of the rules screen, in columns whose two face values add
// up to 13: nine and four, ten and three, jack and two, queen and ace.
constexpr int kUpperCards[4] = {33, 37, 43, 44};
constexpr int kLowerCards[4] = {12, 11, 5, 2};

} // namespace

void FillDither(HDC dc, const RECT& r) {
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    // Rows alternate 0x55 and 0xAA, leftmost pixel in the highest bit; each
    // row of a one-bit bitmap is padded to a whole 16-bit word.
    static const BYTE rows[16] = {0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0,
                                  0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0};
    UniqueBitmap pattern(CreateBitmap(8, 8, 1, 1, rows));
    UniqueBrush brush(CreatePatternBrush(pattern.get()));
    if (!brush)
        return;
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    PatternPass(dc, r, brush.get(), RGB(0, 0, 0), kWhite, kAndPattern);
    PatternPass(dc, r, brush.get(), highlight, RGB(0, 0, 0), kOrPattern);
}

void DrawBitmapCentered(HDC dc, int x, int y, int resource) {
    UniqueBitmap picture(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, 0)));
    if (!picture)
        return;
    BITMAP info{};
    GetObjectA(picture.get(), sizeof info, &info);
    UniqueDc source(CreateCompatibleDC(dc));
    SelectGuard selection(source.get(), picture.get());
    BitBlt(dc, x - info.bmWidth / 2, y - info.bmHeight / 2, info.bmWidth, info.bmHeight,
           source.get(), 0, 0, SRCCOPY);
}

void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    if (right <= left || bottom <= top)
        return;
    UniqueBrush brush(CreateSolidBrush(color));
    const RECT r{left, top, right, bottom};
    FillRect(dc, &r, brush.get());
}

UniqueFont Georgia(int height, int weight) {
    return UniqueFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_ROMAN, kFace));
}

void DrawCentered(HDC dc, int x, int y, const char* text, COLORREF color) {
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

SIZE Measure(HDC dc, const char* text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    return size;
}

bool WipeStep(HDC dc, int w, int h, int wipePos) {
    FillSolid(dc, w - wipePos, 0, w - wipePos + kStep, h / 6, kWhite);
    FillSolid(dc, wipePos - kStep, h / 6, wipePos, h, RGB(3, 3, 3));
    return wipePos >= w;
}

bool CurtainStep(HDC dc, int w, int h, int curtainOffset) {
    FillDither(dc, RECT{0, curtainOffset - kStep, w, curtainOffset});
    FillDither(dc, RECT{0, h - curtainOffset, w, h - curtainOffset + kStep});
    return curtainOffset >= h / 2;
}

// Ten pairs of columns: the even ones descend from the top, the odd ones
// rise from the bottom.
bool ColumnStep(HDC dc, int w, int h, int curtainOffset) {
    const int c = w / 20 + 3;
    for (int i = 0; i < 10; ++i) {
        const int x = 2 * c * i;
        FillDither(dc, RECT{x, curtainOffset - kStep, x + c, curtainOffset});
        FillDither(dc, RECT{x + c, h - curtainOffset, x + 2 * c, h - curtainOffset + kStep});
    }
    return curtainOffset >= h;
}

void PaintRules(HDC dc, int w, int h) {
    FillSolid(dc, 0, 0, w, h / 6, kWhite);
    FillSolid(dc, 0, h / 6, w, h, RGB(0, 0, 0));
    DrawBitmapCentered(dc, w / 2, h / 12, kTitleArtwork);

    const int W = cardWidth, H = cardHeight;
    const int s = (4 * W) / 3;
    const int y1 = h / 2 - H / 3 + 5;
    const int x1 = w / 2 - 2 * W - s / 2 - s;
    for (int i = 0; i < 4; ++i)
        CopyCard(dc, x1 + i * (W + s), y1, kUpperCards[i]);
    for (int i = 0; i < 4; ++i)
        CopyCard(dc, x1 - W / 3 + i * (W + s), y1 + H / 4, kLowerCards[i]);

    UniqueFont font = Georgia(26, FW_BOLD);
    SelectGuard selection(dc, font.get());
    const int th = Measure(dc, "Dismantle the Keltrim by removing two exposed").cy;
    DrawCentered(dc, w / 2, h / 12 + 3 * th, "Dismantle the Keltrim by removing two exposed",
                 RGB(27, 130, 246));
    DrawCentered(dc, w / 2, h / 12 + 4 * th,
                 "cards with a combined face value of 13:", RGB(27, 130, 246));
    const char* help = "Select help->contents for more information";
    const int helpHeight = Measure(dc, help).cy;
    DrawCentered(dc, w / 2, h - helpHeight / 2 - helpHeight, help, kDarkBlue);
}

namespace {

// The chequered table with a title; `lines` draws what comes under it.
template <typename Lines>
void PaintOverChequer(HDC dc, int w, int h, const char* title, COLORREF titleColor, Lines lines) {
    FillDither(dc, RECT{0, 0, w, h});
    UniqueFont titleFont = Georgia(60, FW_BOLD);
    UniqueFont lineFont = Georgia(32, FW_BOLD);
    SelectGuard selection(dc, titleFont.get());
    lines(titleFont.get(), lineFont.get());
    SelectObject(dc, titleFont.get());
    DrawCentered(dc, w / 2, h / 8, title, titleColor);
}

} // namespace

void PaintLevelDone(HDC dc, int w, int h, int level, int target) {
    PaintOverChequer(dc, w, h, "Well Done!!!", kDarkBlue, [&](HFONT, HFONT lineFont) {
        char first[64], second[96];
        std::snprintf(first, sizeof first, "get ready for level %d", level);
        std::snprintf(second, sizeof second, "remove %d cards to complete the next level", target);
        const int th = Measure(dc, first).cy; // in the title font
        SelectObject(dc, lineFont);
        DrawCentered(dc, w / 2, h / 8 + 2 * th, first, RGB(255, 255, 0));
        DrawCentered(dc, w / 2, h / 8 + 3 * th, second, RGB(255, 255, 0));
    });
}

void PaintGameOver(HDC dc, int w, int h) {
    PaintOverChequer(dc, w, h, "Game Over", RGB(0, 0, 0), [](HFONT, HFONT) {});
}

POINT ClickTextPlace(int w, int h) {
    return POINT{w / 2, h / 3 + h / 2};
}

} // namespace overlay
