#include "app/HelpViewer.h"

#include "cardtable/core/MemorySurface.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace {

constexpr int kLineStep = 16;  // one arrow key or scroll bar arrow
constexpr int kWheelLines = 3; // per notch of the wheel
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kFrameColor = RGB(0, 0, 0);

class GdiMeasure : public HelpMeasure {
public:
    GdiMeasure(HDC dc, const UniqueFont (&fonts)[kHelpFontCount]) : dc_(dc), fonts_(fonts) {}
    SIZE Measure(int font, const std::string& text) const override {
        SelectGuard select(dc_, fonts_[font].get());
        SIZE size{};
        GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        size.cy = metrics.tmHeight;
        return size;
    }

private:
    HDC dc_;
    const UniqueFont (&fonts_)[kHelpFontCount];
};

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.get());
}

void FrameSolid(HDC dc, const RECT& r, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    FrameRect(dc, &r, brush.get());
}

} // namespace

HelpViewer::HelpViewer(HelpPage page) : page_(std::move(page)) {}

HelpViewer::~HelpViewer() {
    Close();
}

void HelpViewer::RegisterClassOnce() {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    registered = RegisterClassExA(&wc) != 0;
}

bool HelpViewer::Create(HWND owner) {
    if (wnd_)
        return false;
    RegisterClassOnce();
    MakeFonts();
    owner_ = owner;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VSCROLL;
    RECT r{0, 0, page_.width, page_.height};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - w / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - h / 2;
    const std::string title = page_.title.empty() ? "Help" : page_.title;
    if (!CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, title.c_str(), style, x, y, w, h, owner,
                         nullptr, GetModuleHandleA(nullptr), this))
        wnd_ = nullptr;
    if (!wnd_)
        return false;
    LayOut();
    ShowWindow(wnd_, SW_SHOWNORMAL);
    UpdateWindow(wnd_);
    return true;
}

bool HelpViewer::Run(HWND owner) {
    if (!Create(owner))
        return false;
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        ownerDisabled_ = true;
    }
    MSG msg;
    while (wnd_) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && owner)
            SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(wnd_));
        if (!wnd_)
            break;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: let the main loop see the quit too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Close();
    return true;
}

void HelpViewer::Close() {
    // The owner is enabled first, so that it is activated again.
    if (ownerDisabled_ && owner_)
        EnableWindow(owner_, TRUE);
    ownerDisabled_ = false;
    if (HWND wnd = std::exchange(wnd_, nullptr)) {
        SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
        DestroyWindow(wnd);
    }
}

void HelpViewer::MakeFonts() {
    for (int i = 0; i < kHelpFontCount; ++i) {
        const bool bold = (i & 1) != 0, large = (i & 2) != 0;
        fonts_[i].reset(CreateFontA(large ? -19 : -13, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                                    FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                    "Verdana"));
    }
}

void HelpViewer::LayOut() {
    RECT client{};
    GetClientRect(wnd_, &client);
    clientHeight_ = client.bottom;
    {
        WindowDc dc(wnd_);
        layout_ = LayOutHelpPage(page_, client.right, GdiMeasure(dc.get(), fonts_));
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = layout_.height - 1;
    info.nPage = static_cast<UINT>(clientHeight_);
    SetScrollInfo(wnd_, SB_VERT, &info, TRUE);
    ScrollTo(scroll_);
}

int HelpViewer::MaxScroll() const {
    return std::max(0, layout_.height - clientHeight_);
}

void HelpViewer::ScrollTo(int y) {
    scroll_ = std::clamp(y, 0, MaxScroll());
    if (!wnd_)
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = scroll_;
    SetScrollInfo(wnd_, SB_VERT, &info, TRUE);
    InvalidateRect(wnd_, nullptr, FALSE);
    UpdateWindow(wnd_);
}

bool HelpViewer::JumpTo(const std::string& anchor) {
    const auto found = layout_.anchors.find(anchor);
    if (found == layout_.anchors.end())
        return false;
    ScrollTo(found->second);
    return true;
}

LRESULT CALLBACK HelpViewer::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* created =
            static_cast<HelpViewer*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        created->wnd_ = wnd;
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<HelpViewer*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(wnd, msg, wp, lp);
    return self->HandleMessage(msg, wp, lp);
}

LRESULT HelpViewer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_SIZE:
        LayOut();
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wp));
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wp));
        return 0;
    case WM_KEYDOWN:
        OnKey(wp);
        return 0;
    case WM_LBUTTONDOWN:
        if (const PlacedWord* word = LinkAt(lp)) {
            pressedLink_ = word->link;
            SetCapture(wnd_);
        }
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() == wnd_)
            ReleaseCapture();
        const PlacedWord* word = LinkAt(lp);
        // A click is a press and a release on the same link.
        if (word && !pressedLink_.empty() && word->link == pressedLink_)
            JumpTo(word->link);
        pressedLink_.clear();
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            POINT p{};
            GetCursorPos(&p);
            ScreenToClient(wnd_, &p);
            SetCursor(LoadCursor(nullptr, LinkAt(MAKELPARAM(p.x, p.y)) ? IDC_HAND : IDC_ARROW));
            return TRUE;
        }
        return DefWindowProcA(wnd_, msg, wp, lp);
    case WM_CLOSE:
        Close();
        return 0;
    case WM_NCDESTROY: {
        // Destroyed with its owner: the modal loop ends.
        HWND wnd = std::exchange(wnd_, nullptr);
        SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    default:
        return DefWindowProcA(wnd_, msg, wp, lp);
    }
}

// Fine wheels and touchpads send parts of a notch: they add up to whole
// lines, and a turn the other way starts afresh.
void HelpViewer::OnWheel(int delta) {
    if ((delta < 0) != (wheelRest_ < 0))
        wheelRest_ = 0;
    wheelRest_ += delta;
    constexpr int kPerLine = WHEEL_DELTA / kWheelLines;
    const int lines = wheelRest_ / kPerLine;
    wheelRest_ -= lines * kPerLine;
    if (lines != 0)
        ScrollTo(scroll_ - lines * kLineStep);
}

const PlacedWord* HelpViewer::LinkAt(LPARAM lp) const {
    const PlacedWord* word = HelpWordAt(layout_, GET_X_LPARAM(lp), GET_Y_LPARAM(lp) + scroll_);
    return word && !word->link.empty() ? word : nullptr;
}

void HelpViewer::OnVScroll(int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(wnd_, SB_VERT, &info);
    switch (request) {
    case SB_LINEUP:
        return ScrollTo(scroll_ - kLineStep);
    case SB_LINEDOWN:
        return ScrollTo(scroll_ + kLineStep);
    case SB_PAGEUP:
        return ScrollTo(scroll_ - clientHeight_);
    case SB_PAGEDOWN:
        return ScrollTo(scroll_ + clientHeight_);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return ScrollTo(info.nTrackPos);
    case SB_TOP:
        return ScrollTo(0);
    case SB_BOTTOM:
        return ScrollTo(MaxScroll());
    default:
        return;
    }
}

void HelpViewer::OnKey(WPARAM key) {
    switch (key) {
    case VK_UP:
        return OnVScroll(SB_LINEUP);
    case VK_DOWN:
        return OnVScroll(SB_LINEDOWN);
    case VK_PRIOR:
        return OnVScroll(SB_PAGEUP);
    case VK_NEXT:
    case VK_SPACE:
        return OnVScroll(SB_PAGEDOWN);
    case VK_HOME:
        return OnVScroll(SB_TOP);
    case VK_END:
        return OnVScroll(SB_BOTTOM);
    case VK_ESCAPE:
        return Close();
    default:
        return;
    }
}

void HelpViewer::OnPaint() {
    RECT client{};
    GetClientRect(wnd_, &client);
    PaintDc paint(wnd_);
    MemorySurface surface(paint.get(), client.right, client.bottom);
    if (!surface)
        return;
    PaintPage(surface.dc(), client.right, client.bottom);
    BitBlt(paint.get(), 0, 0, client.right, client.bottom, surface.dc(), 0, 0, SRCCOPY);
}

// Paints the part of the page from the scroll position on.
void HelpViewer::PaintPage(HDC dc, int width, int height) const {
    FillSolid(dc, RECT{0, 0, width, height}, kPaper);
    const int top = scroll_, bottom = scroll_ + height;
    for (const PlacedRow& row : layout_.rows) {
        if (row.box.bottom <= top || row.box.top >= bottom)
            continue;
        RECT r = row.box;
        OffsetRect(&r, 0, -scroll_);
        if (row.filled)
            FillSolid(dc, r, row.background);
        FrameSolid(dc, r, kFrameColor);
    }
    SetBkMode(dc, TRANSPARENT);
    const PlacedWord* previous = nullptr;
    for (const PlacedWord& word : layout_.words) {
        const PlacedWord* before = std::exchange(previous, &word);
        if (word.box.bottom <= top || word.box.top >= bottom)
            continue;
        SelectGuard font(dc, fonts_[word.font].get());
        SetTextColor(dc, word.color);
        TextOutA(dc, word.box.left, word.box.top - scroll_, word.text.c_str(),
                 static_cast<int>(word.text.size()));
        if (word.link.empty())
            continue;
        // A link's underline runs on under the spaces between its words.
        const bool continues =
            before && before->link == word.link && before->box.bottom == word.box.bottom;
        const int underline = word.box.bottom - scroll_ - 2;
        FillSolid(dc,
                  RECT{continues ? before->box.right : word.box.left, underline, word.box.right,
                       underline + 1},
                  word.color);
    }
}

bool RunHelpViewer(HWND owner, int resourceId) {
    const std::string html = LoadHtmlResource(resourceId);
    if (html.empty())
        return false;
    HelpViewer viewer(ParseHelpPage(html));
    return viewer.Run(owner);
}
