#include "widgets/LinkLabel.h"

#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/MemorySurface.h"
#include "cardtable/core/Seams.h"

#include <cstring>

namespace {

// The hand, 17 pixels wide and 19 high at the top left of the cursor:
// '.' transparent, '#' black, 'o' white.
constexpr const char* kHand[] = {
    ".................", ".....##..........", "....#oo#.........", "....#oo#.........",
    "....#oo#.........", "....#oo#.........", "....#oo###.##.##.", "....#oo#oo#oo#oo#",
    "..###oo#oo#oo#oo#", ".#oo#oo#oo#oo#oo#", ".#oo#oo#oo#oo#oo#", ".#oo#ooooooooooo#",
    ".#oooooooooooooo#", ".#oooooooooooooo#", "..#ooooooooooooo#", "...#oooooooooooo#",
    "....#oooooooooo#.", "....############.", "....############.",
};

// The hand cursor's 32 x 32 masks, 4 bytes a row, the leftmost pixel in the
// highest bit. Its hot spot is the fingertip.
struct CursorMasks {
    BYTE andMask[128];
    BYTE xorMask[128];
};
constexpr POINT kHandHotSpot{5, 2};

CursorMasks HandCursorMasks() {
    CursorMasks m;
    std::memset(m.andMask, 0xFF, sizeof m.andMask);
    std::memset(m.xorMask, 0x00, sizeof m.xorMask);
    int row = 0;
    for (const char* line : kHand) {
        for (int x = 0; line[x]; ++x) {
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            const int at = row * 4 + x / 8;
            if (line[x] != '.')
                m.andMask[at] &= static_cast<BYTE>(~bit);
            if (line[x] == 'o')
                m.xorMask[at] |= bit;
        }
        ++row;
    }
    return m;
}

HBITMAP LoadArtwork(int id) {
    if (id == 0)
        return nullptr;
    return LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

} // namespace

COLORREF ArtworkKeyColor(int artworkId) {
    return artworkId == LinkLabel::kNamePlate ? RGB(248, 191, 36) : RGB(198, 214, 231);
}

// The mask has 1 where the work copy shows the key. Blitting a one-bit
// bitmap onto a colour one turns its 1 bits into the target's background
// colour and its 0 bits into the text colour.
void ColorKeyedCopy(HDC surface, int x, int y, int w, int h, HBITMAP image, int sx, int sy,
                    COLORREF key) {
    if (!surface || !image || w <= 0 || h <= 0)
        return;
    UniqueDc imageDc(CreateCompatibleDC(surface));
    SelectGuard imageSelection(imageDc.get(), image);
    MemorySurface work(surface, w, h);
    UniqueDc maskDc(CreateCompatibleDC(surface));
    UniqueBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    SelectGuard maskSelection(maskDc.get(), mask.get());
    if (!imageDc || !work || !maskDc || !mask)
        return;

    BitBlt(work.dc(), 0, 0, w, h, imageDc.get(), sx, sy, SRCCOPY);
    SetBkColor(work.dc(), key);
    BitBlt(maskDc.get(), 0, 0, w, h, work.dc(), 0, 0, SRCCOPY);

    SetBkColor(work.dc(), RGB(0, 0, 0));
    SetTextColor(work.dc(), RGB(255, 255, 255));
    BitBlt(work.dc(), 0, 0, w, h, maskDc.get(), 0, 0, SRCAND);

    const COLORREF oldBk = SetBkColor(surface, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(surface, RGB(0, 0, 0));
    BitBlt(surface, x, y, w, h, maskDc.get(), 0, 0, SRCAND);
    BitBlt(surface, x, y, w, h, work.dc(), 0, 0, SRCPAINT);
    SetBkColor(surface, oldBk);
    SetTextColor(surface, oldText);
}

LinkLabel::~LinkLabel() {
    Destroy();
    if (cursor_)
        DestroyCursor(cursor_);
}

bool LinkLabel::Create(HWND parent, DWORD style, int x, int y, int w, int h, const char* address) {
    if (!control_.CreateStatic(parent, style | SS_NOTIFY, x, y, w, h))
        return false;
    address_[0] = '\0';
    if (address && std::strlen(address) < sizeof address_)
        std::strcpy(address_, address);
    HWND wnd = control_.Handle();
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    SetWindowLongA(wnd, GWL_STYLE, GetWindowLongA(wnd, GWL_STYLE) | SS_NOTIFY);
    return true;
}

void LinkLabel::Destroy() {
    control_.Destroy();
}

int LinkLabel::GetArtworkId() const {
    if (color_ == 0)
        return 0;
    if (color_ == RGB(0, 64, 100) || color_ == RGB(39, 136, 255))
        return kNamePlate;
    return kAddress;
}

SIZE LinkLabel::GetArtworkSize() const {
    UniqueBitmap art(LoadArtwork(GetArtworkId()));
    BITMAP info{};
    if (!art || !GetObjectA(art.get(), sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void LinkLabel::SetColor(COLORREF color) {
    HWND wnd = control_.Handle();
    if (color == color_) {
        if (wnd) {
            InvalidateRect(wnd, nullptr, FALSE);
            UpdateWindow(wnd);
        }
        return;
    }
    color_ = color;
}

LRESULT CALLBACK LinkLabel::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<LinkLabel*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(wnd, msg, wp, lp);
    return self->HandleMessage(wnd, msg, wp, lp);
}

LRESULT LinkLabel::HandleMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        OnPaint(wnd);
        return 0;
    case WM_SETCURSOR:
        OnSetCursor();
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // a quick second click (the class has CS_DBLCLKS)
        OnPress(wnd);
        return 0;
    case WM_NCDESTROY: {
        // The window goes: give it back its own procedure.
        const WNDPROC previous = previous_;
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
        previous_ = nullptr;
        return CallWindowProcA(previous, wnd, msg, wp, lp);
    }
    default:
        return CallWindowProcA(previous_, wnd, msg, wp, lp);
    }
}

void LinkLabel::OnPaint(HWND wnd) {
    const int id = GetArtworkId();
    UniqueBitmap art(LoadArtwork(id));
    RECT client{};
    GetClientRect(wnd, &client);
    PaintDc paint(wnd);
    SetBkMode(paint.get(), TRANSPARENT);
    if (art)
        ColorKeyedCopy(paint.get(), 0, 0, client.right, client.bottom, art.get(), 0, 0,
                       ArtworkKeyColor(id));
}

void LinkLabel::OnSetCursor() {
    if (!cursor_) {
        const CursorMasks m = HandCursorMasks();
        cursor_ = CreateCursor(GetModuleHandleA(nullptr), kHandHotSpot.x, kHandHotSpot.y, 32, 32,
                               m.andMask, m.xorMask);
    }
    SetCursor(cursor_);
}

void LinkLabel::OnPress(HWND wnd) {
    InvalidateRect(wnd, nullptr, FALSE);
    UpdateWindow(wnd);
    // Whether the shell could open it or not, the game goes on.
    if (address_[0])
        seams::ShellOpen(nullptr, address_);
}
