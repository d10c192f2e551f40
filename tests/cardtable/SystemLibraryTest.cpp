// System libraries come from the system folder (or the side-by-side store)
// alone, never from the program's folder.
#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/SystemLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string LowerPathOf(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    return Lower(path);
}

TEST(SystemLibrary, ALibraryBesideTheProgramIsNotLoaded) {
    // A test card library lies beside this program (and nowhere else).
    UniqueLibrary beside(LoadLibraryExA(ProgramFolderFile("keltrim_cards_suits.dll").c_str(),
                                        nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(beside);
    EXPECT_FALSE(UniqueLibrary(LoadSystemLibrary("keltrim_cards_suits.dll")));
    EXPECT_FALSE(UniqueLibrary(LoadSystemLibraryByPath("keltrim_cards_suits.dll")));
}

TEST(SystemLibrary, ComesFromTheSystemFolder) {
    for (auto load : {LoadSystemLibrary, LoadSystemLibraryByPath}) {
        UniqueLibrary winmm(load("winmm.dll"));
        ASSERT_TRUE(winmm);
        EXPECT_EQ(LowerPathOf(winmm.get()), Lower(SystemFolderFile("winmm.dll")));
    }
}

// The manifest asks for version 6 of the common controls, which lives in
// the side-by-side store, not in the system folder.
TEST(SystemLibrary, CommonControlsComeFromTheSideBySideStore) {
    for (auto load : {LoadSystemLibrary, LoadSystemLibraryByPath}) {
        UniqueLibrary controls(load("comctl32.dll"));
        ASSERT_TRUE(controls);
        EXPECT_NE(LowerPathOf(controls.get()).find("\\winsxs\\"), std::string::npos)
            << LowerPathOf(controls.get());
    }
}

} // namespace
