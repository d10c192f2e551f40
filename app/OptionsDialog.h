// The "Options" dialog: the table colour chosen from four swatches.
#pragma once

#include <windows.h>

#include <cstdint>

class OptionsDialog {
public:
    static constexpr int kColorCount = 4;

    OptionsDialog() = default;
    OptionsDialog(const OptionsDialog&) = delete;
    OptionsDialog& operator=(const OptionsDialog&) = delete;

    // Selects the swatch of the colour; any other colour keeps the selection.
    void SelectByColor(COLORREF color);
    COLORREF GetSelectedColor() const { return colors_[selected_]; }
    std::uint32_t GetSelected() const { return selected_; }
    COLORREF ColorAt(int index) const { return colors_[index]; }

    // Shows the dialog modally over `parent`: 1 when the player confirmed
    // (OK or a double-click on a swatch), 2 for Cancel, 0 when the dialog
    // was closed from its title bar or system menu.
    INT_PTR Run(HWND parent);

private:
    static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
    static void OnMeasureItem(HWND dlg, MEASUREITEMSTRUCT& item);
    void OnInitDialog(HWND dlg);
    void OnDrawItem(const DRAWITEMSTRUCT& item) const;
    void OnOk(HWND dlg);

    std::uint32_t selected_ = 0;
    COLORREF colors_[kColorCount] = {RGB(255, 191, 155), RGB(0, 64, 100), RGB(198, 212, 230),
                                     RGB(39, 136, 255)};
};
