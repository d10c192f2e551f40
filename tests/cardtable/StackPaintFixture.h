// A card window on a test window for stack painting tests: stacks are made
// through it, painted into memory surfaces of kWidth x kHeight and checked
// against expected pictures. Each test must give back every drawing handle.
#pragma once

#include "StackPaintPictures.h"

#include "cardtable/core/CardWindow.h"
#include "support/TableOnScreen.h"

#include <gtest/gtest.h>

#include <initializer_list>

class StackPaintFixture : public testing::Test {
protected:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;

    void SetUp() override {
        ASSERT_TRUE(ShowTable(table, parent.get(), kWidth, kHeight));
        ASSERT_NE(CardStripDc(), nullptr);
        ASSERT_NE(shared_resources::EmptyPlaceDc(), nullptr);
        ASSERT_EQ(cardWidth, kUsualCardWidth);
        ASSERT_EQ(cardHeight, kUsualCardHeight);
        gdiBefore_ = LiveGdiHandles();
    }
    void TearDown() override { EXPECT_EQ(LiveGdiHandles(), gdiBefore_); }

    CardStack& MakeStack(std::uint32_t id, int x, int y, int dx, int dy,
                         std::initializer_list<Card> bottomToTop) {
        CardStack* s = table.CreateStack(id, true, x, y, dx, dy);
        CardList l;
        for (Card c : bottomToTop)
            l.Push(CardEntry{c, 1});
        s->SetCards(l);
        return *s;
    }

    stack_paint::Painted PaintStacks(std::initializer_list<CardStack*> stacks) {
        return stack_paint::PaintTwice(kWidth, kHeight, [&](HDC dc) {
            for (CardStack* s : stacks)
                s->PaintStack(dc);
        });
    }
    stack_paint::Painted PaintTable() {
        return stack_paint::PaintTwice(kWidth, kHeight, [&](HDC dc) { table.Paint(dc); });
    }
    stack_paint::Sources Sources() const {
        return stack_paint::Sources(table.GetBackgroundColor());
    }
    stack_paint::Picture Untouched() const { return stack_paint::Picture(kWidth, kHeight); }
    stack_paint::Picture Background() const {
        stack_paint::Picture p(kWidth, kHeight);
        p.Fill(0, 0, kWidth, kHeight, stack_paint::From::Background);
        return p;
    }

    TestWindow parent;
    CardWindow table;

private:
    int gdiBefore_ = 0;
};
