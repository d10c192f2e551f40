// The end-to-end suite's window into Wine, run as a program of its own next
// to the game:
//   keltrim_e2e_helper strip FILE [LIBRARY]
//                                   writes the card strip, loaded by the same
//                                   loader the game uses (from LIBRARY when
//                                   given), as a binary PPM and prints
//                                   "strip <card width> <card height>"
//   keltrim_e2e_helper load LIBRARY loads LIBRARY as code, the way a program
//                                   runs a library, and frees it again
//   keltrim_e2e_helper windows      prints every top-level window and its
//                                   children, one line each (see PrintWindow)
//   keltrim_e2e_helper colors       prints "highlight R G B" (the system
//                                   highlight colour the overlays dither with)
//   keltrim_e2e_helper cardlib TEMPLATE DLL STRIP
//                                   makes DLL, a card library numbered as
//                                   Windows numbers its own, from the strip
//                                   with a mark on every picture: a copy of
//                                   the resource-only TEMPLATE whose
//                                   resources are replaced; writes the
//                                   marked strip to STRIP as WriteStrip does
#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/GdiHandle.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kSlots = 68;

// The strip's pixels, top-down rows of 0x00RRGGBB, read through a 32-bit DIB.
struct Pixels {
    int w = 0, h = 0;
    std::vector<DWORD> rgb;
    DWORD& at(int x, int y) { return rgb[static_cast<size_t>(y) * w + x]; }
};

bool ReadStrip(Pixels& out, const char* library = nullptr) {
    if (!(library ? LoadCardImagesFrom(library) : LoadCardImages()) || !CardStripDc())
        return false;
    out.w = cardWidth * kSlots;
    out.h = cardHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = out.w;
    info.bmiHeader.biHeight = -out.h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDc dc(CreateCompatibleDC(nullptr));
    if (!dib || !dc || !bits)
        return false;
    {
        SelectGuard selection(dc.get(), dib.get());
        BitBlt(dc.get(), 0, 0, out.w, out.h, CardStripDc(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    const auto* p = static_cast<const DWORD*>(bits);
    out.rgb.assign(p, p + static_cast<size_t>(out.w) * out.h);
    FreeCardImages();
    return true;
}

bool WritePpm(const char* path, const Pixels& pixels) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return false;
    std::fprintf(out, "P6\n%d %d\n255\n", pixels.w, pixels.h);
    std::vector<unsigned char> row(static_cast<size_t>(pixels.w) * 3);
    for (int y = 0; y < pixels.h; ++y) {
        for (int x = 0; x < pixels.w; ++x) {
            const DWORD c = pixels.rgb[static_cast<size_t>(y) * pixels.w + x];
            row[x * 3] = static_cast<unsigned char>(c >> 16);
            row[x * 3 + 1] = static_cast<unsigned char>(c >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(c);
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    std::fclose(out);
    return true;
}

int WriteStrip(const char* path, const char* library) {
    Pixels pixels;
    if (!ReadStrip(pixels, library))
        return 2;
    if (!WritePpm(path, pixels))
        return 4;
    std::printf("strip %d %d\n", cardWidth, cardHeight);
    return 0;
}

// The mark: a magenta block below the corner index, inside every part of a
// card that the table shows (the top third of a covered triangle card, the
// left 8 columns of the removed pile's fan).
constexpr int kMarkLeft = 2, kMarkTop = 26, kMarkWidth = 6, kMarkHeight = 5;
constexpr DWORD kMarkColour = 0xFF00FF;

void AddMarks(Pixels& pixels, int w) {
    for (int slot = 0; slot < kSlots; ++slot)
        for (int y = kMarkTop; y < kMarkTop + kMarkHeight; ++y)
            for (int x = kMarkLeft; x < kMarkLeft + kMarkWidth; ++x)
                pixels.at(slot * w + x, y) = kMarkColour;
}

// Windows' numbering: the faces suit by suit (clubs, diamonds, hearts,
// spades, ace to king each) from 1, then the backs and extras 53..68. Slot
// i holds card value i (rank * 4 + suit) or, from 52, extra i - 52.
int WindowsBitmapId(int slot) {
    return slot < 52 ? (slot % 4) * 13 + slot / 4 + 1 : slot + 1;
}

// One slot as a packed 24-bit bottom-up DIB (header and bits), the form of
// an RT_BITMAP resource.
std::vector<BYTE> SlotResource(const Pixels& pixels, int slot, int w) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<BYTE> data(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(stride) * pixels.h);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = pixels.h;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    std::memcpy(data.data(), &header, sizeof header);
    for (int y = 0; y < pixels.h; ++y) {
        BYTE* row = data.data() + sizeof header + static_cast<size_t>(pixels.h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const DWORD c = pixels.rgb[static_cast<size_t>(y) * pixels.w + slot * w + x];
            row[x * 3] = static_cast<BYTE>(c);
            row[x * 3 + 1] = static_cast<BYTE>(c >> 8);
            row[x * 3 + 2] = static_cast<BYTE>(c >> 16);
        }
    }
    return data;
}

int WriteCardLibrary(const char* templateDll, const char* dll, const char* stripPath) {
    Pixels pixels;
    if (!ReadStrip(pixels))
        return 2;
    const int w = pixels.w / kSlots;
    AddMarks(pixels, w);
    if (!CopyFileA(templateDll, dll, FALSE))
        return 5;
    HANDLE update = BeginUpdateResourceA(dll, TRUE);
    if (!update)
        return 6;
    bool ok = true;
    for (int slot = 0; slot < kSlots && ok; ++slot) {
        std::vector<BYTE> data = SlotResource(pixels, slot, w);
        ok = UpdateResourceA(update, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(WindowsBitmapId(slot)),
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), data.data(),
                             static_cast<DWORD>(data.size()));
    }
    if (!EndUpdateResourceA(update, ok ? FALSE : TRUE) || !ok)
        return 7;
    if (!WritePpm(stripPath, pixels))
        return 4;
    std::printf("strip %d %d\n", w, pixels.h);
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
        return WriteStrip(argv[2], argc >= 4 ? argv[3] : nullptr);
    if (argc >= 3 && std::strcmp(argv[1], "load") == 0)
        return UniqueLibrary(LoadLibraryA(argv[2])) ? 0 : 5;
    if (argc >= 2 && std::strcmp(argv[1], "windows") == 0)
        return PrintWindows();
    if (argc >= 2 && std::strcmp(argv[1], "colors") == 0)
        return PrintColors();
    if (argc >= 5 && std::strcmp(argv[1], "cardlib") == 0)
        return WriteCardLibrary(argv[2], argv[3], argv[4]);
    std::fprintf(stderr, "usage: keltrim_e2e_helper strip FILE [LIBRARY] | load LIBRARY | "
                         "windows | colors | "
                         "cardlib TEMPLATE DLL STRIP\n");
    return 1;
}
