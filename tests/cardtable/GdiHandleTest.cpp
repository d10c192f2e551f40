// The handle owners and guards themselves: what they count, release and
// restore, checked against what GDI says about the objects.
#include "cardtable/core/GdiHandle.h"

#include <gtest/gtest.h>

namespace {

bool IsGdiObject(HGDIOBJ h) {
    return h && GetObjectType(h) != 0;
}

UniqueBitmap SmallBitmap() {
    WindowDc screen(nullptr);
    return UniqueBitmap(CreateCompatibleBitmap(screen.get(), 4, 4));
}

} // namespace

TEST(HandleOwners, CountReleaseAndMoveWithoutDoubleCounting) {
    const int bitmaps = LiveHandles(HandleKind::Bitmap);
    HBITMAP first, second;
    {
        UniqueBitmap a = SmallBitmap();
        first = a.get();
        ASSERT_TRUE(IsGdiObject(first));
        EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps + 1);

        UniqueBitmap b(std::move(a)); // moved, still one live handle
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), first);
        EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps + 1);

        UniqueBitmap c = SmallBitmap();
        second = c.get();
        EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps + 2);
        b = std::move(c); // b's first bitmap is deleted, the second moves in
        EXPECT_FALSE(IsGdiObject(first));
        EXPECT_EQ(b.get(), second);
        EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps + 1);

        HBITMAP kept = b.release(); // no longer owned, still alive
        EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps);
        EXPECT_TRUE(IsGdiObject(kept));
        b.reset(kept);
        EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps + 1);
    }
    EXPECT_FALSE(IsGdiObject(second));
    EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps);
}

// Owners declared DC first, object second, guard last: the guard puts the
// DC's own bitmap back before the bitmap and then the DC are deleted.
TEST(HandleOwners, GuardsRestoreTheSelectionBeforeTheOwnersDelete) {
    const int gdi = LiveGdiHandles();
    HBITMAP bitmap;
    HDC dc;
    {
        UniqueDc memory(CreateCompatibleDC(nullptr));
        dc = memory.get();
        const HGDIOBJ original = GetCurrentObject(dc, OBJ_BITMAP);
        UniqueBitmap owned = SmallBitmap();
        bitmap = owned.get();
        {
            SelectGuard select(dc, bitmap);
            EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
            SelectGuard moved(std::move(select)); // only the new guard restores
            select.restore();
            EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
        }
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), original);

        LOGPALETTE pal{0x300, 1, {{1, 2, 3, 0}}};
        UniquePalette palette(CreatePalette(&pal));
        const HGDIOBJ stockPalette = GetCurrentObject(dc, OBJ_PAL);
        {
            PaletteGuard select(dc, palette.get());
            EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), palette.get());
        }
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), stockPalette);

        SelectGuard last(dc, bitmap); // goes first at the end of the scope
    }
    EXPECT_FALSE(IsGdiObject(bitmap));
    EXPECT_FALSE(IsGdiObject(dc));
    EXPECT_EQ(LiveGdiHandles(), gdi);
}

TEST(HandleOwners, WindowDcIsCountedAndReleased) {
    const int dcs = LiveHandles(HandleKind::Dc);
    {
        WindowDc screen(nullptr);
        ASSERT_TRUE(screen);
        EXPECT_EQ(LiveHandles(HandleKind::Dc), dcs + 1);
        ReferenceDc given(screen.get()); // borrows, takes nothing
        EXPECT_EQ(given.get(), screen.get());
        EXPECT_EQ(LiveHandles(HandleKind::Dc), dcs + 1);
        ReferenceDc own(nullptr);
        EXPECT_EQ(LiveHandles(HandleKind::Dc), dcs + 2);
    }
    EXPECT_EQ(LiveHandles(HandleKind::Dc), dcs);
}

TEST(HandleOwners, LibraryProcIsNullForAMissingLibraryOrExport) {
    using TickFn = DWORD(WINAPI*)();
    EXPECT_EQ(LibraryProc<TickFn>(nullptr, "GetTickCount"), nullptr);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(LibraryProc<TickFn>(kernel, "NoSuchExportAnywhere"), nullptr);
    TickFn tick = LibraryProc<TickFn>(kernel, "GetTickCount");
    ASSERT_NE(tick, nullptr);
    EXPECT_NE(tick(), 0u);

    const int libraries = LiveHandles(HandleKind::Library);
    {
        UniqueLibrary missing(LoadLibraryA("no-such-library-here.dll"));
        EXPECT_FALSE(missing);
        EXPECT_EQ(LiveHandles(HandleKind::Library), libraries);
    }
}
