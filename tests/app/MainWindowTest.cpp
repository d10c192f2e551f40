#include "app/MainWindow.h"
#include "app/Settings.h"
#include "game/Game.h"
#include "resources/resource.h"
#include "support/FakeSeams.h"
#include "support/OverlayPilot.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey); // a first start
        ASSERT_TRUE(MainWindow::InitInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL, game));
        wnd = MainWindow::Handle();
        PumpMessages(); // the posted New game deals the first level
    }
    void TearDown() override {
        if (IsWindow(wnd))
            DestroyWindow(wnd);
        PumpMessages(); // a paint that waits would never let a dropping loop end
    }

    FakeSeams fake;
    Game game;
    OverlayPilot pilot{game.GetGameWindow()};
    HWND wnd = nullptr;
};

std::string MenuText(HMENU menu, int pos) {
    char text[64] = {};
    GetMenuStringA(menu, pos, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(MainWindowTest, CentredCaptionlessWindowOfFixedSize) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    RECT r{};
    GetWindowRect(wnd, &r);
    EXPECT_EQ(r.left, 156);
    EXPECT_EQ(r.top, 110);
    EXPECT_EQ(r.right - r.left, 712);
    EXPECT_EQ(r.bottom - r.top, 553);

    char name[32] = {};
    GetClassNameA(wnd, name, sizeof name);
    EXPECT_STREQ(name, "Vemo");
    GetWindowTextA(wnd, name, sizeof name);
    EXPECT_STREQ(name, "Vemo");
    const LONG style = GetWindowLongA(wnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_DLGFRAME); // no caption bar
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    MINMAXINFO info{};
    SendMessageA(wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 712);
    EXPECT_EQ(info.ptMinTrackSize.y, 592);
    EXPECT_EQ(info.ptMaxTrackSize.x, 712);
    EXPECT_EQ(info.ptMaxTrackSize.y, 592);
}

TEST_F(MainWindowTest, TheTableFillsTheClientAreaAndIsDealt) {
    RECT client{}, table{};
    GetClientRect(wnd, &client);
    HWND tableWnd = game.GetGameWindow().GetHandle();
    ASSERT_NE(tableWnd, nullptr);
    GetWindowRect(tableWnd, &table);
    MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&table), 2);
    EXPECT_EQ(table.left, 0);
    EXPECT_EQ(table.top, 0);
    EXPECT_EQ(table.right, client.right);
    EXPECT_EQ(table.bottom, client.bottom);

    EXPECT_EQ(game.GetGameWindow().GetLevel(), 1);
    EXPECT_EQ(game.GetGameWindow().FindStack(1)->Count(), 1);
    EXPECT_EQ(game.GetGameWindow().FindStack(29)->Count(), 4);
    EXPECT_TRUE(fake.boxTexts.empty()); // the first game asks nothing
    EXPECT_EQ(game.GetGameWindow().GetBackgroundColor(), 0x009BBFFFu);
}

TEST_F(MainWindowTest, MenuAndAcceleratorsHaveTheirTexts) {
    HMENU bar = GetMenu(wnd);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 0), "Game");
    EXPECT_EQ(MenuText(bar, 1), "Help");
    HMENU gameMenu = GetSubMenu(bar, 0);
    const std::vector<std::pair<UINT, std::string>> items = {
        {IDC_NEW_GAME, "&New game\tF2"},
        {IDC_UNDO, "&Undo last move\tCtrl+Z"},
        {0, ""},
        {IDC_EASY, "Ea&sy"},
        {IDC_NORMAL, "No&rmal"},
        {0, ""},
        {IDC_BACKGROUND, "&Change background color"},
        {0, ""},
        {IDC_EXIT, "&Exit"}};
    ASSERT_EQ(GetMenuItemCount(gameMenu), static_cast<int>(items.size()));
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        EXPECT_EQ(GetMenuItemID(gameMenu, i), items[i].first) << i;
        EXPECT_EQ(MenuText(gameMenu, i), items[i].second) << i;
    }
    HMENU help = GetSubMenu(bar, 1);
    EXPECT_EQ(GetMenuItemID(help, 0), static_cast<UINT>(IDC_CONTENTS));
    EXPECT_EQ(MenuText(help, 0), "&Contents");

    HACCEL accel = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    ACCEL entries[8] = {};
    const int n = CopyAcceleratorTableA(accel, entries, 8);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(entries[0].key, VK_F2);
    EXPECT_EQ(entries[0].cmd, IDC_NEW_GAME);
    EXPECT_EQ(entries[1].key, 'Z');
    EXPECT_EQ(entries[1].cmd, IDC_UNDO);
    EXPECT_TRUE(entries[1].fVirt & FCONTROL);
}

TEST_F(MainWindowTest, EmptyMenuBarMovesTheWindow) {
    HMENU bar = GetMenu(wnd);
    RECT help{};
    ASSERT_TRUE(GetMenuItemRect(wnd, bar, 1, &help));
    RECT all{};
    EXPECT_EQ(GetMenuBarRect(wnd, bar, &all), 1);
    EXPECT_EQ(all.right, help.right);
    const int y = (help.top + help.bottom) / 2;
    EXPECT_EQ(SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(help.right + 40, y)), HTCAPTION);
    EXPECT_EQ(SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(help.left + 3, y)), HTMENU);
}

TEST_F(MainWindowTest, ExitClosesAndQuitsWithCodeZero) {
    SendMessageA(wnd, WM_COMMAND, IDC_EXIT, 0);
    MSG msg{};
    bool quit = false;
    for (int i = 0; i < 100 && !quit; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                break;
            }
            DispatchMessageA(&msg);
        }
    }
    EXPECT_TRUE(quit);
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(MainWindow::Handle(), nullptr);
}

struct ProgramWindow {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<ProgramWindow*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == s->pid && std::string(cls) == "Vemo") {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// The shipped program: started as a process of its own, it shows its window
// and, closed, ends with exit code 0.
TEST(Program, ClosingTheWindowEndsTheProcessWithCodeZero) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path);
    exe = exe.substr(0, exe.find_last_of("\\/")); // tests/
    exe = exe.substr(0, exe.find_last_of("\\/")) + "\\keltrim.exe";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi))
        << exe;
    ProgramWindow search{pi.dwProcessId, nullptr};
    for (int i = 0; i < 200 && !search.found; ++i) {
        Sleep(100);
        EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
    }
    ASSERT_NE(search.found, nullptr);
    RECT r{};
    GetWindowRect(search.found, &r);
    EXPECT_EQ(r.left, 156);
    EXPECT_EQ(r.top, 110);
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    if (code == STILL_ACTIVE)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

} // namespace
