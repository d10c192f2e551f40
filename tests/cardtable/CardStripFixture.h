// A fixture for tests that load the card strip themselves: it puts back the
// strip and the card size that were there before, and checks that a test
// leaves no drawing handle and no loaded library behind.
#pragma once

#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/GdiHandle.h"

#include <gtest/gtest.h>

class CardStripFixture : public testing::Test {
protected:
    void SetUp() override {
        hadStrip_ = CardStripDc() != nullptr;
        savedWidth_ = cardWidth;
        savedHeight_ = cardHeight;
        FreeCardImages();
        gdiBefore_ = LiveGdiHandles();
        librariesBefore_ = LiveHandles(HandleKind::Library);
    }
    void TearDown() override {
        FreeCardImages();
        EXPECT_EQ(LiveGdiHandles(), gdiBefore_);
        EXPECT_EQ(LiveHandles(HandleKind::Library), librariesBefore_);
        cardWidth = savedWidth_;
        cardHeight = savedHeight_;
        if (hadStrip_)
            LoadCardImages();
    }

private:
    bool hadStrip_ = false;
    int savedWidth_ = 0, savedHeight_ = 0;
    int gdiBefore_ = 0, librariesBefore_ = 0;
};
