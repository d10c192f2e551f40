// The glide that ends a drag, watched frame by frame: at every pause the
// window is read back to see where the picture is drawn.
#include "DragFixture.h"

#include <vector>

namespace {

struct Frame {
    int x, y;
    bool drawn; // the window shows the lifted picture there
    friend bool operator==(const Frame&, const Frame&) = default;
};

void PrintTo(const Frame& f, std::ostream* os) {
    *os << "(" << f.x << ", " << f.y << (f.drawn ? "" : " not drawn") << ")";
}

class DragGlideTest : public DragFixture {
protected:
    static constexpr Card kCard = 21;

    void SetUp() override {
        DragFixture::SetUp();
        watched = this;
        seams::Hooks hooks = seams::Platform();
        hooks.pause10ms = RecordFrame;
        seams::Install(hooks);
    }
    void TearDown() override {
        seams::Reset();
        watched = nullptr;
        DragFixture::TearDown();
    }

    static void RecordFrame() {
        CardStack& s = *watched->source;
        watched->frames.push_back(
            {s.ImageX(), s.ImageY(), watched->CardShownAt(kCard, s.ImageX(), s.ImageY())});
    }

    // Lifts the source's card, held 10 pixels into it, and releases it with
    // the picture's corner at (x, y).
    void DropPictureAt(int x, int y) {
        Show();
        Press(source->X() + 10, source->Y() + 10);
        ASSERT_TRUE(source->IsDragging());
        MoveTo(x + 10, y + 10);
        frames.clear();
        Release(x + 10, y + 10);
    }

    static inline DragGlideTest* watched = nullptr;
    CardStack* source = nullptr;
    std::vector<Frame> frames;
};

// From (100, 100) onto an empty stack at (130, 140): steps of (12, 16), the
// third one passes both axes and is set onto the target.
TEST_F(DragGlideTest, ThirtyByFortyAtSpeedTwentyIsThreeFrames) {
    source = table.CreateStack(1, true, 400, 300, 0, 0);
    source->SetCards(ListOf({kCard}));
    CardStack* target = table.CreateStack(2, true, 130, 140, 0, 0);
    DropPictureAt(100, 100);
    EXPECT_EQ(frames, (std::vector<Frame>{{112, 116, true}, {124, 132, true}}));
    EXPECT_EQ(target->Count(), 1);
    EXPECT_TRUE(CardShownAt(kCard, 130, 140));
}

// Released over no stack 100 pixels left of home: frames at 20-pixel steps,
// the fifth exactly at home.
TEST_F(DragGlideTest, HundredPixelsHomeIsFiveFrames) {
    source = table.CreateStack(1, true, 300, 100, 0, 0);
    source->SetCards(ListOf({kCard}));
    DropPictureAt(200, 100);
    EXPECT_EQ(frames, (std::vector<Frame>{
                          {220, 100, true}, {240, 100, true}, {260, 100, true}, {280, 100, true}}));
    EXPECT_EQ(source->Count(), 1);
    EXPECT_TRUE(CardShownAt(kCard, 300, 100));
}

// Straight down from (200, 100) to home at (200, 300): the still horizontal
// axis never counts as passed, so the glide ends on the frame at y = 300.
TEST_F(DragGlideTest, VerticalGlideEndsOnTheTargetRow) {
    source = table.CreateStack(1, true, 200, 300, 0, 0);
    source->SetCards(ListOf({kCard}));
    DropPictureAt(200, 100);
    std::vector<Frame> expected;
    for (int y = 120; y < 300; y += 20)
        expected.push_back({200, y, true});
    EXPECT_EQ(frames, expected);
    EXPECT_TRUE(CardShownAt(kCard, 200, 300));
}

TEST_F(DragGlideTest, DealingSpeedTakesAQuarterOfTheFrames) {
    source = table.CreateStack(1, true, 500, 100, 0, 0);
    source->SetCards(ListOf({kCard}));
    DropPictureAt(100, 100); // 400 pixels: 20 frames at 20
    EXPECT_EQ(frames.size(), 19u);
    SetMoveSpeed(80);
    DropPictureAt(100, 100); // 5 frames at 80
    EXPECT_EQ(frames.size(), 4u);
}

// Released where it was lifted, the card lands on its own emptied stack in
// one frame and without a pause, and the window is exactly as before.
TEST_F(DragGlideTest, GlideOntoItselfIsOneFrameWithoutPause) {
    source = table.CreateStack(1, true, 300, 100, 0, 0);
    source->SetCards(ListOf({kCard}));
    Show();
    const CardImagePixels before = Screen();
    Press(310, 110);
    frames.clear();
    Release(310, 110);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(source->Count(), 1);
    const PixelDiff d = Compare(Screen(), before);
    EXPECT_EQ(d.count, 0) << d.Describe();
}

} // namespace
