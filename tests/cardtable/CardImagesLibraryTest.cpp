// The card strip filled from card libraries of both numberings, from a
// damaged one, and with no library at all (the table's own faces).
#include "CardImagePixels.h"
#include "CardStripFixture.h"

#include "cardtable/core/CardLibrary.h"
#include "cardtable/core/Seams.h"
#include "cardtable/core/SystemLibrary.h"

#include <string>

namespace {

// The test libraries (tests/cardlibs) are 20 x 28 bitmaps of one colour:
// red = 3 * id, green = 255 - id, blue = the library's tag.
constexpr int kLibWidth = 20, kLibHeight = 28;
constexpr int kSuitsTag = 64, kValuesTag = 128, kDamagedTag = 192;

// The bitmap id a test-library pixel came from, or -1 for any other colour.
int BitmapIdOf(COLORREF c, int tag) {
    const int red = GetRValue(c), green = GetGValue(c);
    if (GetBValue(c) != tag || red % 3 != 0 || green != 255 - red / 3)
        return -1;
    return red / 3;
}

// The id shown by strip slot `slot`, read at its left and right edges and
// middle (-1 when those disagree or are no library colour).
int SlotBitmapId(const CardImagePixels& strip, int slot, int tag) {
    const int x = slot * kLibWidth, y = kLibHeight / 2;
    const int left = BitmapIdOf(strip.At(x + 1, y), tag);
    const int middle = BitmapIdOf(strip.At(x + kLibWidth / 2, y), tag);
    const int right = BitmapIdOf(strip.At(x + kLibWidth - 2, y), tag);
    return left == middle && middle == right ? left : -1;
}

CardImagePixels WholeStrip() {
    return CardImagePixels(CardStripDc(), 0, 0, 68 * cardWidth, cardHeight);
}

bool IsRed(COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) < 80 && GetBValue(c) < 80;
}

struct MessageBoxCall {
    int count = 0;
    HWND owner = reinterpret_cast<HWND>(1);
    std::string text, caption;
    UINT type = 0;
} lastBox;

int RecordMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    ++lastBox.count;
    lastBox.owner = owner;
    lastBox.text = text;
    lastBox.caption = caption;
    lastBox.type = type;
    return IDOK;
}

class CardImagesLibrary : public CardStripFixture {};

TEST_F(CardImagesLibrary, SuitBySuitLibraryGivesCardValueOrder) {
    ASSERT_TRUE(LoadCardImagesFrom("keltrim_cards_suits.dll"));
    EXPECT_EQ(cardWidth, kLibWidth);
    EXPECT_EQ(cardHeight, kLibHeight);
    const CardImagePixels strip = WholeStrip();
    ASSERT_TRUE(strip.Valid());
    EXPECT_EQ(SlotBitmapId(strip, 0, kSuitsTag), 1);   // ace of clubs
    EXPECT_EQ(SlotBitmapId(strip, 1, kSuitsTag), 14);  // ace of diamonds
    EXPECT_EQ(SlotBitmapId(strip, 4, kSuitsTag), 2);   // two of clubs
    EXPECT_EQ(SlotBitmapId(strip, 51, kSuitsTag), 52); // king of spades
    EXPECT_EQ(SlotBitmapId(strip, 52, kSuitsTag), 53);
    EXPECT_EQ(SlotBitmapId(strip, 53, kSuitsTag), 54); // the default back
    EXPECT_EQ(SlotBitmapId(strip, 67, kSuitsTag), 68);
    for (int slot = 0; slot < 68; ++slot) {
        const int expected = slot < 52 ? (slot % 4) * 13 + slot / 4 + 1 : slot + 1;
        EXPECT_EQ(SlotBitmapId(strip, slot, kSuitsTag), expected) << "slot " << slot;
    }
}

TEST_F(CardImagesLibrary, ValueOrderLibraryKeepsItsFacesAndSharesTheExtras) {
    ASSERT_TRUE(LoadCardImagesFrom("keltrim_cards_values.dll"));
    EXPECT_EQ(cardWidth, kLibWidth);
    EXPECT_EQ(cardHeight, kLibHeight);
    const CardImagePixels strip = WholeStrip();
    ASSERT_TRUE(strip.Valid());
    EXPECT_EQ(SlotBitmapId(strip, 0, kValuesTag), 0);
    EXPECT_EQ(SlotBitmapId(strip, 1, kValuesTag), 1);
    EXPECT_EQ(SlotBitmapId(strip, 51, kValuesTag), 51);
    EXPECT_EQ(SlotBitmapId(strip, 52, kValuesTag), 53);
    EXPECT_EQ(SlotBitmapId(strip, 67, kValuesTag), 68);
    for (int slot = 0; slot < 68; ++slot)
        EXPECT_EQ(SlotBitmapId(strip, slot, kValuesTag), slot < 52 ? slot : slot + 1)
            << "slot " << slot;
}

TEST_F(CardImagesLibrary, LibraryIsFreedOnceTheStripIsFilled) {
    ASSERT_TRUE(LoadCardImagesFrom("keltrim_cards_suits.dll"));
    EXPECT_EQ(GetModuleHandleA("keltrim_cards_suits.dll"), nullptr);
    EXPECT_NE(CardStripDc(), nullptr);
    FreeCardImages();
    EXPECT_EQ(CardStripDc(), nullptr);
}

// A library beside the program gives its faces, but its code never runs:
// this one would leave a mark file beside itself if it did.
TEST_F(CardImagesLibrary, LibraryCodeNeverRuns) {
    const std::string mark = ProgramFolderFile("keltrim_cards_with_code.dll.ran");
    DeleteFileA(mark.c_str());
    ASSERT_TRUE(LoadCardImagesFrom("keltrim_cards_with_code.dll"));
    EXPECT_EQ(SlotBitmapId(WholeStrip(), 4, kSuitsTag), 2);
    EXPECT_EQ(GetFileAttributesA(mark.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CardImagesLibrary, EverySlotHasTheCardShapeOutline) {
    ASSERT_TRUE(LoadCardImagesFrom("keltrim_cards_suits.dll"));
    const int w = cardWidth, h = cardHeight;
    const CardImagePixels strip = WholeStrip();
    for (int slot : {0, 5, 51, 67}) {
        const int x0 = slot * w;
        const int id = slot < 52 ? (slot % 4) * 13 + slot / 4 + 1 : slot + 1;
        auto black = [&](int x, int y) { return strip.At(x0 + x, y) == RGB(0, 0, 0); };
        auto untouched = [&](int x, int y) {
            return BitmapIdOf(strip.At(x0 + x, y), kSuitsTag) == id;
        };
        for (int x = 2; x <= w - 3; ++x) {
            EXPECT_TRUE(black(x, 0)) << slot << ": top " << x;
            EXPECT_TRUE(black(x, h - 1)) << slot << ": bottom " << x;
        }
        for (int y = 2; y <= h - 3; ++y) {
            EXPECT_TRUE(black(0, y)) << slot << ": left " << y;
            EXPECT_TRUE(black(w - 1, y)) << slot << ": right " << y;
        }
        EXPECT_TRUE(black(1, 1) && black(w - 2, 1) && black(1, h - 2) && black(w - 2, h - 2));
        // The three cut pixels at each corner keep the library's picture.
        for (int corner = 0; corner < 4; ++corner) {
            const int cx = corner % 2 ? w - 1 : 0, dx = corner % 2 ? -1 : 1;
            const int cy = corner / 2 ? h - 1 : 0, dy = corner / 2 ? -1 : 1;
            EXPECT_TRUE(untouched(cx, cy)) << slot << ": corner " << corner;
            EXPECT_TRUE(untouched(cx + dx, cy)) << slot << ": corner " << corner;
            EXPECT_TRUE(untouched(cx, cy + dy)) << slot << ": corner " << corner;
        }
        // Inside the outline the picture is untouched too.
        EXPECT_TRUE(untouched(1, 2) && untouched(2, 1) && untouched(w - 2, h - 3));
    }
}

TEST_F(CardImagesLibrary, DamagedLibraryStillGivesACompleteStrip) {
    ASSERT_TRUE(LoadCardImagesFrom("keltrim_cards_damaged.dll"));
    EXPECT_EQ(cardWidth, kLibWidth);
    const CardImagePixels strip = WholeStrip();
    // Bitmap 20 (seven of diamonds, slot 25) is half size: stretched to the
    // whole slot.
    EXPECT_EQ(SlotBitmapId(strip, 25, kDamagedTag), 20);
    EXPECT_EQ(BitmapIdOf(strip.At(25 * kLibWidth + 3, kLibHeight - 3), kDamagedTag), 20);
    // Bitmap 5 (five of clubs, slot 16) is missing: the table's own face is
    // drawn there, white card with black pips.
    int white = 0, black = 0, library = 0;
    for (int y = 2; y < kLibHeight - 2; ++y) {
        for (int x = 2; x < kLibWidth - 2; ++x) {
            const COLORREF c = strip.At(16 * kLibWidth + x, y);
            white += c == RGB(255, 255, 255);
            black += c == RGB(0, 0, 0);
            library += BitmapIdOf(c, kDamagedTag) >= 0;
        }
    }
    EXPECT_GT(white, 100);
    EXPECT_GT(black, 5);
    EXPECT_EQ(library, 0);
    // Its neighbours are the library's.
    EXPECT_EQ(SlotBitmapId(strip, 12, kDamagedTag), 4);
    EXPECT_EQ(SlotBitmapId(strip, 20, kDamagedTag), 6);
}

TEST_F(CardImagesLibrary, MissingLibraryGivesTheDrawnFaces) {
    ASSERT_TRUE(LoadCardImagesFrom("keltrim_no_such_cards.dll"));
    EXPECT_EQ(cardWidth, kUsualCardWidth);
    EXPECT_EQ(cardHeight, kUsualCardHeight);
    const CardImagePixels strip = WholeStrip();
    ASSERT_TRUE(strip.Valid());
    const int w = cardWidth, h = cardHeight;
    // Outline of the 71 x 96 shape over a white face.
    EXPECT_EQ(strip.At(2, 0), RGB(0, 0, 0));
    EXPECT_EQ(strip.At(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(strip.At(0, 2), RGB(0, 0, 0));
    EXPECT_EQ(strip.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(strip.At(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(strip.At(0, 1), RGB(255, 255, 255));
    EXPECT_EQ(strip.At(51 * w + w - 3, h - 1), RGB(0, 0, 0));
    EXPECT_EQ(strip.At(51 * w + w - 1, h - 1), RGB(255, 255, 255));
}

TEST_F(CardImagesLibrary, DrawnFacesAreAllDifferentAndColouredBySuit) {
    ASSERT_TRUE(LoadCardImagesFrom(nullptr));
    const CardImagePixels strip = WholeStrip();
    ASSERT_TRUE(strip.Valid());
    const int w = cardWidth, h = cardHeight;
    auto differing = [&](int a, int b) {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                n += strip.At(a * w + x, y) != strip.At(b * w + x, y);
        return n;
    };
    for (int a = 0; a < 68; ++a)
        for (int b = a + 1; b < 68; ++b)
            EXPECT_GT(differing(a, b), 20) << "slots " << a << " and " << b;
    for (int card = 0; card < 52; ++card) {
        int red = 0, white = 0, dark = 0;
        for (int y = 2; y < h - 2; ++y) {
            for (int x = 2; x < w - 2; ++x) {
                const COLORREF c = strip.At(card * w + x, y);
                red += IsRed(c);
                white += c == RGB(255, 255, 255);
                dark += c == RGB(0, 0, 0);
            }
        }
        const bool redSuit = card % 4 == 1 || card % 4 == 2;
        EXPECT_GT(white, w * h / 3) << "card " << card;
        if (redSuit) {
            EXPECT_GT(red, 60) << "card " << card;
        } else {
            EXPECT_EQ(red, 0) << "card " << card;
            EXPECT_GT(dark, 60) << "card " << card;
        }
    }
}

TEST_F(CardImagesLibrary, DrawnNumberCardsShowMorePipsForHigherRanks) {
    ASSERT_TRUE(LoadCardImagesFrom(nullptr));
    const CardImagePixels strip = WholeStrip();
    const int w = cardWidth, h = cardHeight;
    // The middle of the card, clear of the corner indices.
    auto inked = [&](int card) {
        int n = 0;
        for (int y = h / 8; y < h - h / 8; ++y)
            for (int x = w / 4; x < w - w / 4; ++x)
                n += strip.At(card * w + x, y) != RGB(255, 255, 255);
        return n;
    };
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 2; rank < 10; ++rank)
            EXPECT_GT(inked(rank * 4 + suit), inked((rank - 1) * 4 + suit))
                << "rank " << rank << " suit " << suit;
}

TEST_F(CardImagesLibrary, DrawnBackIsPatterned) {
    ASSERT_TRUE(LoadCardImagesFrom(nullptr));
    const CardImagePixels strip = WholeStrip();
    const int w = cardWidth, h = cardHeight;
    int white = 0, ink = 0;
    for (int y = h / 4; y < h * 3 / 4; ++y) {
        for (int x = w / 4; x < w * 3 / 4; ++x) {
            const COLORREF c = strip.At(53 * w + x, y);
            white += c == RGB(255, 255, 255);
            ink += c != RGB(255, 255, 255);
        }
    }
    EXPECT_GT(white, 50);
    EXPECT_GT(ink, 50);
}

// Whatever provides them here (the system's library or the drawn faces), the
// aces to tens come in card-value order: red exactly for diamonds and hearts.
TEST_F(CardImagesLibrary, SystemCardsComeInCardValueOrder) {
    ASSERT_TRUE(LoadCardImages());
    EXPECT_EQ(cardWidth, kUsualCardWidth);
    EXPECT_EQ(cardHeight, kUsualCardHeight);
    const CardImagePixels strip = WholeStrip();
    ASSERT_TRUE(strip.Valid());
    for (int card = 0; card < 40; ++card) {
        int red = 0;
        for (int y = 0; y < cardHeight; ++y)
            for (int x = 0; x < cardWidth; ++x)
                red += IsRed(strip.At(card * cardWidth + x, y));
        if (card % 4 == 1 || card % 4 == 2)
            EXPECT_GT(red, 50) << "card " << card;
        else
            EXPECT_EQ(red, 0) << "card " << card;
    }
}

TEST_F(CardImagesLibrary, NoImagesAtAllShowsTheErrorAndAsksToQuit) {
    seams::Hooks hooks = seams::Platform();
    hooks.messageBox = RecordMessageBox;
    seams::Install(hooks);
    lastBox = {};
    const int widthBefore = cardWidth;
    // A DC handle that names nothing: no strip can be made compatible with it.
    const bool loaded =
        LoadCardImagesCompatibleWith("keltrim_no_such_cards.dll", reinterpret_cast<HDC>(0x5A5A0));
    seams::Reset();
    MSG msg{};
    const bool quitPosted = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;

    EXPECT_FALSE(loaded);
    EXPECT_EQ(CardStripDc(), nullptr);
    EXPECT_EQ(cardWidth, widthBefore);
    EXPECT_EQ(lastBox.count, 1);
    EXPECT_EQ(lastBox.owner, nullptr);
    EXPECT_EQ(lastBox.text, "Error loading cards.dll (32bit)");
    EXPECT_EQ(lastBox.caption, "Drel");
    EXPECT_EQ(lastBox.type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_TRUE(quitPosted);
    EXPECT_EQ(msg.wParam, 0u);
}

TEST(CardImagesErrorText, NamesTheLoaderOfTheSystemFamily) {
    EXPECT_STREQ(CardLibraryErrorText(true), "Error loading cards.dll (16bit)");
    EXPECT_STREQ(CardLibraryErrorText(false), "Error loading cards.dll (32bit)");
}

} // namespace
