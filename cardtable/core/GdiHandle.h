// Owners for window-system handles: one move-only template, one typedef per
// handle kind, and guards that restore a selection or release a window DC.
//
// Every owner counts the handles it holds alive, per kind, so that tests can
// prove that a piece of drawing code releases everything it made.
#pragma once

#include <windows.h>

#include <optional>
#include <utility>

enum class HandleKind { Dc, Bitmap, Brush, Pen, Font, Region, Palette, Mutex, Library, Count };

// Number of handles of a kind currently held by owners.
int LiveHandles(HandleKind kind);
// Sum over the GDI kinds (DC, bitmap, brush, pen, font, region, palette).
int LiveGdiHandles();

namespace handle_detail {
void Count(HandleKind kind, int delta);
} // namespace handle_detail

template <typename H, HandleKind K, typename Closer>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {
        if (h_)
            handle_detail::Count(K, +1);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, H{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(std::exchange(other.h_, H{}), /*counted=*/true);
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != H{}; }

    // Releases the held handle and takes ownership of h.
    void reset(H h = H{}) { reset(h, false); }

    // Gives up ownership without releasing.
    H release() {
        if (h_)
            handle_detail::Count(K, -1);
        return std::exchange(h_, H{});
    }

private:
    void reset(H h, bool counted) {
        if (h_) {
            Closer{}(h_);
            handle_detail::Count(K, -1);
        }
        h_ = h;
        if (h_ && !counted)
            handle_detail::Count(K, +1);
    }

    H h_{};
};

struct DeleteDcCloser {
    void operator()(HDC h) const { DeleteDC(h); }
};
template <typename T>
struct DeleteObjectCloser {
    void operator()(T h) const { DeleteObject(h); }
};
struct CloseHandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct FreeLibraryCloser {
    void operator()(HMODULE h) const { FreeLibrary(h); }
};

using UniqueDc = UniqueHandle<HDC, HandleKind::Dc, DeleteDcCloser>;
using UniqueBitmap = UniqueHandle<HBITMAP, HandleKind::Bitmap, DeleteObjectCloser<HBITMAP>>;
using UniqueBrush = UniqueHandle<HBRUSH, HandleKind::Brush, DeleteObjectCloser<HBRUSH>>;
using UniquePen = UniqueHandle<HPEN, HandleKind::Pen, DeleteObjectCloser<HPEN>>;
using UniqueFont = UniqueHandle<HFONT, HandleKind::Font, DeleteObjectCloser<HFONT>>;
using UniqueRegion = UniqueHandle<HRGN, HandleKind::Region, DeleteObjectCloser<HRGN>>;
using UniquePalette = UniqueHandle<HPALETTE, HandleKind::Palette, DeleteObjectCloser<HPALETTE>>;
using UniqueMutex = UniqueHandle<HANDLE, HandleKind::Mutex, CloseHandleCloser>;
using UniqueLibrary = UniqueHandle<HMODULE, HandleKind::Library, FreeLibraryCloser>;

// A library's export (by name, or by ordinal through MAKEINTRESOURCEA) as a
// function pointer of type Fn; null when the library or the export is missing.
template <typename Fn>
Fn LibraryProc(HMODULE library, LPCSTR name) {
    FARPROC proc = library ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

// Selects a GDI object into a DC and selects the previous one back when it
// goes. Declare it after the owners of the DC and of the object, so that it
// is destroyed first.
class SelectGuard {
public:
    SelectGuard() = default;
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(dc && obj ? SelectObject(dc, obj) : nullptr) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    SelectGuard(SelectGuard&& o) noexcept
        : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
    SelectGuard& operator=(SelectGuard&& o) noexcept {
        if (this != &o) {
            restore();
            dc_ = std::exchange(o.dc_, nullptr);
            old_ = std::exchange(o.old_, nullptr);
        }
        return *this;
    }
    ~SelectGuard() { restore(); }

    void restore() {
        if (dc_ && old_)
            SelectObject(dc_, old_);
        dc_ = nullptr;
        old_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Selects (and realises) a palette into a DC; selects the previous palette
// back when it goes.
class PaletteGuard {
public:
    PaletteGuard() = default;
    PaletteGuard(HDC dc, HPALETTE pal, bool realize = true);
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;
    PaletteGuard(PaletteGuard&& o) noexcept
        : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
    PaletteGuard& operator=(PaletteGuard&& o) noexcept {
        if (this != &o) {
            restore();
            dc_ = std::exchange(o.dc_, nullptr);
            old_ = std::exchange(o.old_, nullptr);
        }
        return *this;
    }
    ~PaletteGuard() { restore(); }
    void restore();

private:
    HDC dc_ = nullptr;
    HPALETTE old_ = nullptr;
};

// A window's DC from GetDC, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND wnd);
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc();
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND wnd_;
    HDC dc_;
};

// A DC to make compatible objects with: the one given, or the screen's
// (taken here and released when this goes) when none is given.
class ReferenceDc {
public:
    explicit ReferenceDc(HDC given) : given_(given) {
        if (!given_)
            screen_.emplace(nullptr);
    }
    HDC get() const { return given_ ? given_ : screen_->get(); }

private:
    HDC given_;
    std::optional<WindowDc> screen_;
};

// Probes a lock without waiting: true when no other thread holds it (it is
// released again at once). A missing lock is free.
bool ProbeLock(HANDLE mutex);

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND wnd);
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc();
    HDC get() const { return ps_.hdc; }
    const RECT& area() const { return ps_.rcPaint; }

private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
};
