#include "widgets/InfoLabel.h"

bool InfoLabel::Create(HWND parent, int x, int y, int w, int h) {
    return control_.CreateStatic(parent, WS_VISIBLE, x, y, w, h);
}
