// The help: its address, the page of resource 133 as the viewer reads it,
// and the viewer on screen jumping to a section when its link is clicked.
#include "app/AppFixture.h"
#include "app/Help.h"
#include "app/HelpViewer.h"
#include "cardtable/CardImagePixels.h"
#include "support/TableOnScreen.h"

#include <objbase.h>

#include <string>
#include <vector>

namespace {

constexpr COLORREF kTitleBlue = RGB(0x27, 0x88, 0xFF), kWhite = RGB(255, 255, 255);

std::string TextOf(const HelpBlock& b) {
    std::string s;
    for (const HelpRun& r : b.runs)
        s += r.lineBreak ? "|" : r.text;
    return s;
}

TEST(Help, AddressNamesTheModuleAndTheResource) {
    EXPECT_EQ(FormatHelpAddress("C:\\Games\\Keltrim\\keltrim.exe", 133),
              "res://C:\\Games\\Keltrim\\keltrim.exe/133");
    const std::string longPath(MAX_PATH - 1, 'x');
    EXPECT_EQ(FormatHelpAddress(longPath.c_str(), 133), "res://" + longPath + "/133");
    // There is no HTML dialog here: the command falls back to the viewer.
    TestWindow owner;
    EXPECT_EQ(ShowHelp(owner.get(), IDR_HELP_PAGE), 0);
}

TEST(Help, LeavesTheThreadsOleAsItFoundIt) {
    TestWindow owner;
    // Not started before: not started after (a first start answers S_OK).
    ShowHelp(owner.get(), IDR_HELP_PAGE);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    // Started by the caller: still started after (a second start answers S_FALSE).
    ShowHelp(owner.get(), IDR_HELP_PAGE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
}

TEST(Help, ThePageHasItsBandLinksAndSections) {
    const HelpPage page = ParseHelpPage(LoadHtmlResource(IDR_HELP_PAGE));
    EXPECT_EQ(page.title, "Keltrim Solitaire");
    EXPECT_EQ(page.width, 600);
    EXPECT_EQ(page.height, 600);
    ASSERT_EQ(page.rows.size(), 3u);
    EXPECT_TRUE(page.rows[0].filled);
    EXPECT_EQ(page.rows[0].background, kTitleBlue);
    EXPECT_FALSE(page.rows[1].filled);

    // Links and section titles in order; each link's anchor heads a section.
    std::vector<std::string> links, sections;
    for (const HelpBlock& b : page.blocks) {
        for (const HelpRun& r : b.runs)
            if (b.row == 1 && !r.link.empty())
                links.push_back(r.link + "=" + r.text);
        if (b.row == 2 && !b.anchors.empty()) {
            sections.push_back(b.anchors[0] + "=" + TextOf(b));
            EXPECT_TRUE(b.runs[0].bold && b.runs[0].color == kTitleBlue) << TextOf(b);
        }
    }
    const HelpRun& band = page.blocks[0].runs[0];
    EXPECT_TRUE(band.bold && band.large && band.color == kWhite);
    EXPECT_EQ(TextOf(page.blocks[0]), "Keltrim Solitaire|a patience game by Darnwick");
    const std::vector<std::string> expected = {"object=Object",
                                               "play=How to play",
                                               "keys=Playing with the keyboard",
                                               "difficulty=Difficulty modes",
                                               "bgcolor=Change background color",
                                               "copyright=Copyright",
                                               "warranty=No warranty"};
    EXPECT_EQ(links, expected);
    EXPECT_EQ(sections, expected);

    // White space, entities and breaks as a browser reads them.
    const HelpPage small = ParseHelpPage("<p> a &amp;\n  <b>b</b>&#33;<br>  c&copy; </p>");
    ASSERT_EQ(small.blocks.size(), 1u);
    EXPECT_EQ(TextOf(small.blocks[0]), "a & b!|c\xA9 ");
}

class HelpViewerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(viewer.Create(owner.get())); }
    // The first word of the link to `anchor`, in client coordinates.
    POINT LinkPoint(const std::string& anchor) {
        for (const PlacedWord& w : viewer.Layout().words)
            if (w.link == anchor)
                return POINT{(w.box.left + w.box.right) / 2,
                             (w.box.top + w.box.bottom) / 2 - viewer.ScrollPos()};
        ADD_FAILURE() << "no link to " << anchor;
        return POINT{};
    }
    void Click(POINT down, POINT up) {
        SendMessageA(viewer.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
        SendMessageA(viewer.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    }
    // Whether the top client rows show the section titles' colour.
    bool TopShowsTitleBlue(int rows) {
        WindowDc dc(viewer.Handle());
        const CardImagePixels top(dc.get(), 0, 0, 300, rows);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < 300; ++x)
                if (top.At(x, y) == kTitleBlue)
                    return true;
        return false;
    }
    int Anchor(const std::string& name) { return viewer.Layout().anchors.at(name); }

    TestWindow owner;
    HelpViewer viewer{ParseHelpPage(LoadHtmlResource(IDR_HELP_PAGE))};
};

TEST_F(HelpViewerTest, ALinkClickJumpsToItsSection) {
    RECT client{};
    GetClientRect(viewer.Handle(), &client);
    EXPECT_EQ(client.bottom, 600);
    EXPECT_EQ(ScreenPixel(viewer.Handle(), kHelpMargin + 2, kHelpMargin + 2), kTitleBlue);

    // A press on a link released elsewhere is no click.
    Click(LinkPoint("play"), POINT{300, 590});
    EXPECT_EQ(viewer.ScrollPos(), 0);

    Click(LinkPoint("play"), LinkPoint("play"));
    EXPECT_GT(Anchor("play"), 0);
    EXPECT_EQ(viewer.ScrollPos(), Anchor("play"));
    PaintNow(viewer.Handle());
    EXPECT_NE(ScreenPixel(viewer.Handle(), kHelpMargin + 2, kHelpMargin + 2), kTitleBlue);
    EXPECT_TRUE(TopShowsTitleBlue(16));

    // The last section cannot reach the top: the page's end stops it.
    SendMessageA(viewer.Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(viewer.ScrollPos(), 0);
    Click(LinkPoint("warranty"), LinkPoint("warranty"));
    EXPECT_EQ(viewer.ScrollPos(), viewer.MaxScroll());
    EXPECT_GT(Anchor("warranty"), viewer.ScrollPos());
    EXPECT_EQ(viewer.MaxScroll(), viewer.Layout().height - 600);

    SendMessageA(viewer.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(viewer.Handle(), nullptr);
}

// A fine wheel's parts of a notch add up: four of 30 scroll as one notch,
// three lines of 16 pixels.
TEST_F(HelpViewerTest, WheelPartsOfANotchAddUp) {
    for (int i = 0; i < 4; ++i)
        SendMessageA(viewer.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -30), 0);
    EXPECT_EQ(viewer.ScrollPos(), 48);
    SendMessageA(viewer.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(viewer.ScrollPos(), 0);
}

} // namespace
