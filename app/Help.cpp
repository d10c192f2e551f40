#include "app/Help.h"

#include "app/HelpViewer.h"
#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/SystemLibrary.h"

#include <mshtmhst.h>
#include <objidl.h>

#include <cstdio>

namespace {

// The HTML dialog is a COM object and needs OLE on the calling thread.
// OLE is started here, for the dialog only, and stopped again afterwards
// (balanced, so a caller that had started it keeps it). Like URLMON, its
// library is loaded only for the dialog.
class OleForDialog {
public:
    OleForDialog() : library_(LoadSystemLibrary("ole32.dll")) {
        if (!library_)
            return;
        auto* start = LibraryProc<HRESULT(WINAPI*)(LPVOID)>(library_.get(), "OleInitialize");
        stop_ = LibraryProc<void(WINAPI*)()>(library_.get(), "OleUninitialize");
        started_ = start && stop_ && SUCCEEDED(start(nullptr));
    }
    ~OleForDialog() {
        if (started_)
            stop_();
    }
    OleForDialog(const OleForDialog&) = delete;
    OleForDialog& operator=(const OleForDialog&) = delete;

private:
    UniqueLibrary library_;
    void(WINAPI* stop_)() = nullptr;
    bool started_ = false;
};

} // namespace

std::string FormatHelpAddress(const char* modulePath, int resourceId) {
    char address[MAX_PATH + 32];
    std::snprintf(address, sizeof address, "res://%s/%d", modulePath ? modulePath : "", resourceId);
    return address;
}

int ShowHelp(HWND owner, int resourceId) {
    // Declared before MSHTML's library, so that OLE stops only after MSHTML
    // has been unloaded.
    const OleForDialog ole;
    UniqueLibrary library(LoadSystemLibrary("MSHTML.DLL"));
    if (!library)
        return 0;
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    const std::string address = FormatHelpAddress(path, resourceId);
    auto* showDialog = LibraryProc<SHOWHTMLDIALOGFN*>(library.get(), "ShowHTMLDialog");
    WCHAR wide[MAX_PATH] = {};
    if (!showDialog || MultiByteToWideChar(CP_ACP, 0, address.c_str(), -1, wide, MAX_PATH) == 0)
        return 0;
    // URLMON is loaded only here, for the dialog: linked in, it and the
    // libraries it brings would stay in memory for the whole game.
    UniqueLibrary urlmon(LoadSystemLibrary("urlmon.dll"));
    using CreateMonikerFn = HRESULT(WINAPI*)(IMoniker*, LPCWSTR, IMoniker**);
    auto* createMoniker = LibraryProc<CreateMonikerFn>(urlmon.get(), "CreateURLMoniker");
    IMoniker* moniker = nullptr;
    if (!createMoniker || FAILED(createMoniker(nullptr, wide, &moniker)) || !moniker)
        return 0;
    const HRESULT shown = showDialog(owner, moniker, nullptr, nullptr, nullptr);
    moniker->Release();
    return SUCCEEDED(shown) ? 1 : 0;
}

void OpenHelp(HWND owner, int resourceId) {
    if (!ShowHelp(owner, resourceId))
        RunHelpViewer(owner, resourceId);
}
