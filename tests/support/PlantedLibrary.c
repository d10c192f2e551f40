/* A library planted beside a program under the name of one that the program
   loads. If its code ever runs, it leaves a mark: a file beside it named
   after it with ".ran" added, holding the path of the program that ran it. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    char mark[MAX_PATH + 8], program[MAX_PATH];
    DWORD length, written;
    HANDLE file;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    length = GetModuleFileNameA(self, mark, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    lstrcatA(mark, ".ran");
    file = CreateFileA(mark, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return TRUE;
    length = GetModuleFileNameA(NULL, program, MAX_PATH);
    WriteFile(file, program, length, &written, NULL);
    CloseHandle(file);
    return TRUE;
}
