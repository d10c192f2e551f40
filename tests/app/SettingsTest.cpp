// The settings under Software\Darnwick\Vemo: defaults on a first start, the
// round trip through Exit and the system menu's Close, values of the wrong
// kind or size, and a key that cannot be opened.
#include "app/AppFixture.h"
#include "app/Commands.h"

namespace {

using Settings = AppFixture;

constexpr COLORREF kDarkBlue = RGB(0, 64, 100);

bool ReadStored(const char* name, DWORD* value) {
    DWORD type = 0, size = sizeof *value;
    return RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_ANY, &type, value, &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && size == 4;
}

// Lets the main window close and the posted messages run.
void RunUntilGone(HWND wnd) {
    for (int i = 0; i < 50 && IsWindow(wnd); ++i)
        PumpMessages();
}

TEST_F(Settings, FirstStartIsNormalOnPeachAndChoicesSurviveExitAndClose) {
    Start();
    EXPECT_TRUE(Checked(IDC_NORMAL));
    EXPECT_FALSE(Checked(IDC_EASY));
    EXPECT_EQ(table().GetBackgroundColor(), RGB(255, 191, 155));
    SendMessageA(wnd, WM_COMMAND, IDC_EASY, 0);
    table().SetBackgroundColor(kDarkBlue);
    SendMessageA(wnd, WM_COMMAND, IDC_EXIT, 0);
    RunUntilGone(wnd);
    ASSERT_FALSE(IsWindow(wnd));
    DWORD color = 0, mode = 0;
    ASSERT_TRUE(ReadStored("bgcolor", &color));
    ASSERT_TRUE(ReadStored("difficulty", &mode));
    EXPECT_EQ(color, kDarkBlue);
    EXPECT_EQ(mode, static_cast<DWORD>(IDC_EASY));

    Start(); // a new run of the program
    EXPECT_TRUE(fake.boxTexts.empty());
    EXPECT_TRUE(Checked(IDC_EASY));
    EXPECT_FALSE(Checked(IDC_NORMAL));
    EXPECT_EQ(table().GetBackgroundColor(), kDarkBlue);
    EXPECT_EQ(table().GetLinkLabel().GetArtworkId(), 103);

    // Closing from the system menu stores them as well.
    SendMessageA(wnd, WM_COMMAND, IDC_NORMAL, 0);
    table().SetBackgroundColor(RGB(198, 212, 230));
    SendMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    RunUntilGone(wnd);
    ASSERT_TRUE(ReadStored("bgcolor", &color));
    ASSERT_TRUE(ReadStored("difficulty", &mode));
    EXPECT_EQ(color, RGB(198, 212, 230));
    EXPECT_EQ(mode, static_cast<DWORD>(IDC_NORMAL));
}

// Reads the settings from a key of the test's own into a table of its own.
class StoredValues : public GameTable {
protected:
    static constexpr const char* kPath = "Software\\Darnwick\\VemoTest";
    void SetUp() override {
        GameTable::SetUp();
        RegDeleteKeyA(HKEY_CURRENT_USER, kPath);
        RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MAIN));
    }
    void TearDown() override {
        DestroyMenu(menu);
        RegCloseKey(key);
        RegDeleteKeyA(HKEY_CURRENT_USER, kPath);
    }
    void Store(const char* name, DWORD type, const void* data, DWORD size) {
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    }
    // Reads the key afresh after the table had another colour and mode.
    void Read() {
        window().SetBackgroundColor(RGB(1, 1, 1));
        game.SetDifficulty(IDC_EASY);
        ReadSettings(game, SettingsPlace{HKEY_CURRENT_USER, kPath});
        PrepareMenuPopup(GetSubMenu(menu, 0), 0, game);
    }
    bool Checked(UINT id) const {
        return (GetMenuState(GetSubMenu(menu, 0), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    HKEY key = nullptr;
    HMENU menu = nullptr;
};

TEST_F(StoredValues, OnlyFourByteDwordsCount) {
    const DWORD dark = kDarkBlue, odd = 0x00123456, easy = IDC_EASY, other = 12345;
    const unsigned long long wide = kDarkBlue;
    const WORD shortColor = 0x4000;
    struct Case {
        DWORD type;
        const void* data;
        DWORD size;
        COLORREF expected;
    };
    const Case colors[] = {
        {REG_DWORD, &dark, 4, kDarkBlue},
        {REG_DWORD, &odd, 4, odd}, // not one of the dialog's, applied as it stands
        {REG_DWORD, &shortColor, 2, kDefaultBackground},
        {REG_QWORD, &wide, 8, kDefaultBackground},
        {REG_BINARY, &dark, 4, kDefaultBackground},
        {REG_SZ, "6553600", 8, kDefaultBackground},
    };
    for (const Case& c : colors) {
        Store("bgcolor", c.type, c.data, c.size);
        Read();
        EXPECT_EQ(window().GetBackgroundColor(), c.expected) << c.type << " " << c.size;
        EXPECT_EQ(game.GetDifficulty(), IDC_EASY); // no stored mode: unchanged
    }

    Store("difficulty", REG_DWORD, &easy, 4);
    Read();
    EXPECT_TRUE(Checked(IDC_EASY));
    EXPECT_FALSE(Checked(IDC_NORMAL));
    game.SetDifficulty(IDC_NORMAL);
    Store("difficulty", REG_SZ, "40005", 6);
    ReadSettings(game, SettingsPlace{HKEY_CURRENT_USER, kPath});
    EXPECT_EQ(game.GetDifficulty(), IDC_NORMAL);
    // Neither mode: plays as Normal, with no check mark.
    Store("difficulty", REG_DWORD, &other, 4);
    Read();
    EXPECT_EQ(game.GetDifficulty(), 12345);
    EXPECT_FALSE(Checked(IDC_EASY));
    EXPECT_FALSE(Checked(IDC_NORMAL));
    Put(29, {CardOf(4)});
    Put(22, {CardOf(9)});
    Drag(29, 22);
    EXPECT_EQ(stack(29).Count(), 0);
    EXPECT_FALSE(stack(29).IsVisible()); // no Easy placeholder
}

TEST_F(StoredValues, AKeyThatCannotBeOpenedChangesNothingSilently) {
    const SettingsPlace nowhere{reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7654321)),
                                kSettingsKey};
    Read();
    game.SetDifficulty(IDC_EASY);
    ReadSettings(game, nowhere);
    EXPECT_EQ(window().GetBackgroundColor(), kDefaultBackground);
    EXPECT_EQ(game.GetDifficulty(), IDC_EASY);
    EXPECT_FALSE(WriteSettings(game, nowhere));
    EXPECT_TRUE(fake.boxTexts.empty());

    // A key that opens takes both values.
    ASSERT_TRUE(WriteSettings(game, SettingsPlace{HKEY_CURRENT_USER, kPath}));
    DWORD mode = 0, size = 4;
    RegGetValueA(HKEY_CURRENT_USER, kPath, "difficulty", RRF_RT_REG_DWORD, nullptr, &mode, &size);
    EXPECT_EQ(mode, static_cast<DWORD>(IDC_EASY));
}

} // namespace
