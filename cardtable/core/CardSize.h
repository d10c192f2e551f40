// The card image size, set once by the card-image loader. Every table
// position is a formula of it. Until the images are loaded it holds the size
// of the usual card faces, so geometry never divides by a zero area.
#pragma once

extern int cardWidth;
extern int cardHeight;

constexpr int kUsualCardWidth = 71;
constexpr int kUsualCardHeight = 96;
