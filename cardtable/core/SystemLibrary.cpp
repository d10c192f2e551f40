#include "cardtable/core/SystemLibrary.h"

#include "cardtable/core/GdiHandle.h"

namespace {

std::string InFolder(std::string folder, const char* name) {
    if (folder.empty())
        return {};
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    folder += name;
    return folder.size() < MAX_PATH ? folder : std::string();
}

// The LOAD_LIBRARY_SEARCH_* flags and SetDefaultDllDirectories came with
// AddDllDirectory; its presence is the documented test for all of them.
HMODULE Kernel32() {
    return GetModuleHandleA("kernel32.dll");
}

bool HasSearchFlags() {
    return GetProcAddress(Kernel32(), "AddDllDirectory") != nullptr;
}

// True when the process's activation context (the manifest's dependencies)
// maps `name` to a side-by-side assembly; the loader then takes the library
// from the system's assembly store, never from a folder it searches. Looked
// up at run time: systems before XP have no assemblies and no such call.
bool SideBySide(const char* name) {
    using FindFn = BOOL(WINAPI*)(DWORD, const GUID*, ULONG, LPCSTR, PACTCTX_SECTION_KEYED_DATA);
    auto find = LibraryProc<FindFn>(Kernel32(), "FindActCtxSectionStringA");
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return find && find(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &data);
}

} // namespace

std::string ProgramFolderFile(const char* name) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string folder(path, length);
    const size_t cut = folder.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : InFolder(folder.substr(0, cut), name);
}

std::string SystemFolderFile(const char* name) {
    char path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return InFolder(std::string(path, length), name);
}

bool RestrictLibrarySearchToSystemFolder() {
    using SetDefaultFn = BOOL(WINAPI*)(DWORD);
    auto setDefault = LibraryProc<SetDefaultFn>(Kernel32(), "SetDefaultDllDirectories");
    return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const char* name) {
    if (HasSearchFlags())
        return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return LoadSystemLibraryByPath(name);
}

HMODULE LoadSystemLibraryByPath(const char* name) {
    // A full path would pass by the manifest's redirection (version 6 of the
    // common controls would become the system folder's version 5).
    if (SideBySide(name))
        return LoadLibraryA(name);
    const std::string path = SystemFolderFile(name);
    // With the altered search path the library's own imports are looked for
    // in its folder first, not in the program's.
    return path.empty() ? nullptr
                        : LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
