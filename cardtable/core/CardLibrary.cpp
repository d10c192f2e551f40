#include "cardtable/core/CardLibrary.h"

#include "cardtable/core/SystemLibrary.h"

#include <cstring>

namespace {

// KERNEL32 exports the 16-bit LoadLibrary16 and FreeLibrary16 on the
// Windows 95 family by ordinal only.
constexpr WORD kLoadLibrary16Ordinal = 35;
constexpr WORD kFreeLibrary16Ordinal = 36;

using LoadLibrary16Fn = UINT_PTR(WINAPI*)(const char*);
using FreeLibrary16Fn = void(WINAPI*)(UINT_PTR);

template <typename Fn>
Fn Kernel32Ordinal(WORD ordinal) {
    return LibraryProc<Fn>(GetModuleHandleA("kernel32.dll"), MAKEINTRESOURCEA(ordinal));
}

// Maps a library file as an image of resources only: none of its code runs
// and none of its imports are loaded. Systems before Vista refuse the image
// flag as an invalid parameter and map the file as plain data instead.
HMODULE OpenResourceImage(const char* path) {
    HMODULE module =
        LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

// A name without a folder is looked for where players put a card library:
// beside the program first, then in the system folder. The places are named
// in full because a resource-only load by name searches differently from a
// normal load, and differently again once the process has restricted its
// search to the system folder.
HMODULE OpenCardLibrary(const char* name) {
    if (std::strpbrk(name, "\\/:"))
        return OpenResourceImage(name);
    for (const std::string& path : {ProgramFolderFile(name), SystemFolderFile(name)}) {
        if (path.empty())
            continue;
        if (HMODULE module = OpenResourceImage(path.c_str()))
            return module;
    }
    return nullptr;
}

} // namespace

int CardBitmapId(CardNumbering numbering, int slot) {
    if (slot < 52)
        return numbering == CardNumbering::ValueOrder ? slot : (slot % 4) * 13 + slot / 4 + 1;
    // Both numberings put the backs and extras at the same ids: Wine's
    // library, like the Windows one, has the two marker images (a cross and
    // a ring) at 67 and 68 and card backs below them, so slots 52..67 take
    // bitmaps 53..68 from either. Wine's bitmap 52, one further back, has no
    // slot and is left out.
    return slot + 1;
}

bool IsWindows95Family() {
    return (GetVersion() & 0x80000000u) != 0;
}

const char* CardLibraryErrorText(bool windows95Family) {
    return windows95Family ? "Error loading cards.dll (16bit)" : "Error loading cards.dll (32bit)";
}

CardLibrary::CardLibrary(const char* name) {
    if (!name)
        return;
    if (IsWindows95Family()) {
        auto load16 = Kernel32Ordinal<LoadLibrary16Fn>(kLoadLibrary16Ordinal);
        auto free16 = Kernel32Ordinal<FreeLibrary16Fn>(kFreeLibrary16Ordinal);
        if (!load16 || !free16)
            return;
        // A 16-bit handle below 32 is an error code, not a module.
        const UINT_PTR handle = load16(name) & 0xFFFF;
        if (handle < 32)
            return;
        module16_ = handle;
        free16_ = free16;
    } else {
        module32_.reset(OpenCardLibrary(name));
        if (!module32_)
            return;
    }
    // Windows' library has no bitmap 0; Wine's starts its faces there.
    UniqueBitmap zero(LoadBitmapA(module(), MAKEINTRESOURCEA(0)));
    if (zero)
        numbering_ = CardNumbering::ValueOrder;
}

CardLibrary::~CardLibrary() {
    if (module16_)
        free16_(module16_);
}

HINSTANCE CardLibrary::module() const {
    return module32_ ? module32_.get() : reinterpret_cast<HINSTANCE>(module16_);
}

UniqueBitmap CardLibrary::LoadSlot(int slot) const {
    if (!*this)
        return {};
    return UniqueBitmap(LoadBitmapA(module(), MAKEINTRESOURCEA(CardBitmapId(numbering_, slot))));
}
