// The end-to-end suite's window into Wine, run as a program of its own next
// to the game:
//   keltrim_e2e_helper strip FILE   writes the card strip, loaded by the same
//                                   loader the game uses, as a binary PPM and
//                                   prints "strip <card width> <card height>"
//   keltrim_e2e_helper windows      prints every top-level window and its
//                                   children, one line each (see PrintWindow)
//   keltrim_e2e_helper colors       prints "highlight R G B" (the system
//                                   highlight colour the overlays dither with)
#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/GdiHandle.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Copies the strip into a top-down 32-bit DIB and writes its pixels as PPM.
int WriteStrip(const char* path) {
    if (!LoadCardImages() || !CardStripDc())
        return 2;
    const int w = cardWidth * 68, h = cardHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDc dc(CreateCompatibleDC(nullptr));
    if (!dib || !dc || !bits)
        return 3;
    {
        SelectGuard selection(dc.get(), dib.get());
        BitBlt(dc.get(), 0, 0, w, h, CardStripDc(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return 4;
    std::fprintf(out, "P6\n%d %d\n255\n", w, h);
    const auto* pixels = static_cast<const unsigned char*>(bits);
    std::vector<unsigned char> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        const unsigned char* src = pixels + static_cast<size_t>(y) * w * 4;
        for (int x = 0; x < w; ++x) {
            row[x * 3] = src[x * 4 + 2];
            row[x * 3 + 1] = src[x * 4 + 1];
            row[x * 3 + 2] = src[x * 4];
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    std::fclose(out);
    FreeCardImages();
    std::printf("strip %d %d\n", cardWidth, cardHeight);
    return 0;
}

// One line per window, tab-separated:
//   window HWND PARENT VISIBLE CLASS  left top right bottom (window, screen)
//   left top right bottom (client area, screen)  TEXT
void PrintWindow(HWND wnd, HWND parent) {
    char cls[256] = {}, text[1024] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    GetWindowTextA(wnd, text, sizeof text);
    for (char* c = text; *c; ++c)
        if (*c == '\t' || *c == '\n' || *c == '\r')
            *c = ' ';
    RECT outer{}, client{};
    GetWindowRect(wnd, &outer);
    GetClientRect(wnd, &client);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    std::printf("window\t%p\t%p\t%d\t%s\t%ld %ld %ld %ld\t%ld %ld %ld %ld\t%s\n",
                static_cast<void*>(wnd), static_cast<void*>(parent), IsWindowVisible(wnd) ? 1 : 0,
                cls, outer.left, outer.top, outer.right, outer.bottom, origin.x, origin.y,
                origin.x + client.right, origin.y + client.bottom, text);
}

BOOL CALLBACK PrintChild(HWND wnd, LPARAM) {
    PrintWindow(wnd, GetAncestor(wnd, GA_PARENT));
    return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND wnd, LPARAM) {
    PrintWindow(wnd, nullptr);
    EnumChildWindows(wnd, PrintChild, 0);
    return TRUE;
}

int PrintWindows() {
    EnumWindows(PrintTopLevel, 0);
    return 0;
}

int PrintColors() {
    const COLORREF c = GetSysColor(COLOR_HIGHLIGHT);
    std::printf("highlight %d %d %d\n", GetRValue(c), GetGValue(c), GetBValue(c));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "strip") == 0)
        return WriteStrip(argv[2]);
    if (argc >= 2 && std::strcmp(argv[1], "windows") == 0)
        return PrintWindows();
    if (argc >= 2 && std::strcmp(argv[1], "colors") == 0)
        return PrintColors();
    std::fprintf(stderr, "usage: keltrim_e2e_helper strip FILE | windows | colors\n");
    return 1;
}
