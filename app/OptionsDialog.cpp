#include "app/OptionsDialog.h"

#include "cardtable/core/GdiHandle.h"
#include "resources/resource.h"

void OptionsDialog::SelectByColor(COLORREF color) {
    for (int i = 0; i < kColorCount; ++i)
        if (colors_[i] == color)
            selected_ = static_cast<std::uint32_t>(i);
}

INT_PTR OptionsDialog::Run(HWND parent) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTIONS), parent,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK OptionsDialog::DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, lp);
        reinterpret_cast<OptionsDialog*>(lp)->OnInitDialog(dlg);
        return TRUE; // the platform sets the default focus
    }
    // The list measures its items while it is created, before the dialog
    // is initialised; measuring needs only the list's size.
    if (msg == WM_MEASUREITEM && wp == IDC_SWATCHES) {
        OnMeasureItem(dlg, *reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
        return TRUE;
    }
    auto* self = reinterpret_cast<OptionsDialog*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (!self)
        return FALSE;
    switch (msg) {
    case WM_DRAWITEM:
        if (wp != IDC_SWATCHES)
            return FALSE;
        self->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK:
            self->OnOk(dlg);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        case IDC_SWATCHES:
            // A double-click takes the swatch as OK does.
            if (HIWORD(wp) == LBN_DBLCLK)
                PostMessageA(dlg, WM_COMMAND, IDOK, 0);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_CLOSE:
        EndDialog(dlg, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void OptionsDialog::OnInitDialog(HWND dlg) {
    RECT r{};
    GetWindowRect(dlg, &r);
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - (r.right - r.left) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - (r.bottom - r.top) / 2;
    SetWindowPos(dlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    HWND list = GetDlgItem(dlg, IDC_SWATCHES);
    // One swatch a column, the four side by side.
    RECT lr{};
    GetWindowRect(list, &lr);
    SendMessageA(list, LB_SETCOLUMNWIDTH, (lr.right - lr.left - 6) / 4, 0);
    for (int i = 0; i < kColorCount; ++i) {
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
        if (at >= 0)
            SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), i);
    }
    SendMessageA(list, LB_SETCURSEL, selected_, 0);
}

void OptionsDialog::OnMeasureItem(HWND dlg, MEASUREITEMSTRUCT& item) {
    RECT r{};
    GetWindowRect(GetDlgItem(dlg, IDC_SWATCHES), &r);
    item.itemHeight = static_cast<UINT>(r.bottom - r.top - 8);
    item.itemWidth = static_cast<UINT>((r.right - r.left - 6) / 4);
}

void OptionsDialog::OnDrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        FillRect(item.hDC, &item.rcItem,
                 GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        if (item.itemData < static_cast<ULONG_PTR>(kColorCount)) {
            RECT swatch = item.rcItem;
            InflateRect(&swatch, -4, -4);
            UniqueBrush brush(CreateSolidBrush(colors_[item.itemData]));
            FillRect(item.hDC, &swatch, brush.get());
        }
    } else if ((item.itemAction & ODA_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        DrawFocusRect(item.hDC, &item.rcItem);
    }
}

void OptionsDialog::OnOk(HWND dlg) {
    const LRESULT current = SendDlgItemMessageA(dlg, IDC_SWATCHES, LB_GETCURSEL, 0, 0);
    if (current >= 0 && current < kColorCount)
        selected_ = static_cast<std::uint32_t>(current);
    EndDialog(dlg, IDOK);
}
