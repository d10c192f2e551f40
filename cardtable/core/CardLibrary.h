// The system card library, opened only for as long as the card strip takes
// to fill: which bitmap of it belongs in each strip slot, and the two ways a
// library can be loaded (32-bit, or 16-bit on the Windows 95 family).
#pragma once

#include "cardtable/core/GdiHandle.h"

// How a card library numbers its bitmaps.
enum class CardNumbering {
    // Bitmaps 1..52 are the faces suit by suit (clubs, diamonds, hearts,
    // spades, ace to king each), 53..68 the backs and extra images.
    SuitBySuit,
    // Bitmaps 0..51 are the faces in card-value order (rank * 4 + suit),
    // 52..68 the backs and extra images.
    ValueOrder,
};

// The library bitmap id that strip slot `slot` (0..67) shows.
int CardBitmapId(CardNumbering numbering, int slot);

// True on the Windows 95 family (top bit of GetVersion set).
bool IsWindows95Family();
// The message shown when no card images can be had.
const char* CardLibraryErrorText(bool windows95Family);

class CardLibrary {
public:
    // Opens `name` (nothing when null): through KERNEL32's 16-bit loader on
    // the Windows 95 family; otherwise mapped as resources only, its code
    // never run, from the program's folder or else the system folder (a name
    // with a folder from there alone).
    explicit CardLibrary(const char* name);
    CardLibrary(const CardLibrary&) = delete;
    CardLibrary& operator=(const CardLibrary&) = delete;
    ~CardLibrary();

    explicit operator bool() const { return module() != nullptr; }
    CardNumbering numbering() const { return numbering_; }
    // The bitmap for strip slot `slot`, null when the library lacks it.
    UniqueBitmap LoadSlot(int slot) const;

private:
    HINSTANCE module() const;

    UniqueLibrary module32_;
    // The 16-bit library handle and KERNEL32's matching free (ordinal 36).
    UINT_PTR module16_ = 0;
    void(WINAPI* free16_)(UINT_PTR) = nullptr;
    CardNumbering numbering_ = CardNumbering::SuitBySuit;
};
