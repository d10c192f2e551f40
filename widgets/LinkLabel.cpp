#include "widgets/LinkLabel.h"

bool LinkLabel::Create(HWND parent, int x, int y, int w, int h, const char*) {
    return control_.CreateStatic(parent, WS_VISIBLE, x, y, w, h);
}
