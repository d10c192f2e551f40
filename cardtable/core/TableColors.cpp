// The table's derived shades and the logical palette that keeps them exact
// on palette-based displays.
#include "cardtable/core/CardImages.h"

COLORREF ShadeColor(COLORREF a, COLORREF b, double t) {
    if (t <= 0)
        return a;
    if (t >= 1)
        return b;
    auto channel = [](int from, int to, double weight) {
        return static_cast<unsigned>(static_cast<int>((to - from) * weight + from + 0.5)) & 0xFF;
    };
    // Red and blue move a little further than green; every table shade has
    // this slight tint.
    const unsigned r = channel(GetRValue(a), GetRValue(b), t + 0.02);
    const unsigned g = channel(GetGValue(a), GetGValue(b), t);
    const unsigned bl = channel(GetBValue(a), GetBValue(b), t + 0.05);
    return r + g * 256 + bl * 65536;
}

UniquePalette BuildPalette(COLORREF background) {
    const COLORREF white = RGB(255, 255, 255), black = 0;
    // Entry 2 is not used by any drawing; a mid grey fills it.
    const COLORREF colors[10] = {black,
                                 background,
                                 RGB(128, 128, 128),
                                 ShadeColor(background, white, 0.25),
                                 ShadeColor(background, black, 0.25),
                                 ShadeColor(background, white, 0.1),
                                 ShadeColor(background, white, 0.2),
                                 background,
                                 ShadeColor(background, black, 0.4),
                                 ShadeColor(background, black, 0.2)};
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[10];
    } log{0x300, 10, {}};
    for (int i = 0; i < 10; ++i)
        log.entries[i] =
            PALETTEENTRY{GetRValue(colors[i]), GetGValue(colors[i]), GetBValue(colors[i]), 0};
    return UniquePalette(CreatePalette(reinterpret_cast<LOGPALETTE*>(&log)));
}
