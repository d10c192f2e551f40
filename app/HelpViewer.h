// The program's own help viewer, for systems without an HTML dialog: a
// window of the size the page asks for that shows the help page's title
// band, section links and sections, scrolls, and jumps to a section when
// its link is clicked. Escape or the close button closes it.
#pragma once

#include "app/HelpLayout.h"
#include "cardtable/core/GdiHandle.h"

class HelpViewer {
public:
    static constexpr const char* kClassName = "KeltrimHelp";

    explicit HelpViewer(HelpPage page);
    HelpViewer(const HelpViewer&) = delete;
    HelpViewer& operator=(const HelpViewer&) = delete;
    ~HelpViewer();

    // Shows the viewer, owned by `owner` and centred on the screen, and
    // returns at once; false when the window cannot be made.
    bool Create(HWND owner);
    // Shows the viewer modally: the owner is disabled until the viewer is
    // closed. While no message waits, the owner is told so by WM_ENTERIDLE,
    // as a dialog tells it. False when the window cannot be made.
    bool Run(HWND owner);

    HWND Handle() const { return wnd_; }
    const HelpLayout& Layout() const { return layout_; }
    // The page line shown at the top of the window.
    int ScrollPos() const { return scroll_; }
    // The greatest scroll position: the page's end at the window's bottom.
    int MaxScroll() const;
    void ScrollTo(int y);
    // Jumps to an anchor of the page; false for an unknown one.
    bool JumpTo(const std::string& anchor);

private:
    static void RegisterClassOnce();
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void MakeFonts();
    void LayOut();
    void OnPaint();
    void PaintPage(HDC dc, int width, int height) const;
    void OnVScroll(int request);
    void OnKey(WPARAM key);
    void OnWheel(int delta);
    const PlacedWord* LinkAt(LPARAM lp) const;
    void Close();

    HelpPage page_;
    HelpLayout layout_;
    UniqueFont fonts_[kHelpFontCount];
    HWND wnd_ = nullptr;
    HWND owner_ = nullptr;
    bool ownerDisabled_ = false;
    int scroll_ = 0;
    int clientHeight_ = 0;
    int wheelRest_ = 0; // wheel turn not yet scrolled, below one line
    std::string pressedLink_;
};

// Shows an HTML resource of the program's own file in the viewer, modally
// over `owner`; false when the resource or the window cannot be had.
bool RunHelpViewer(HWND owner, int resourceId);
