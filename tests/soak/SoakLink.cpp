// The soak driver's hand inside Wine: a console program that reads one
// command a line on standard input and answers on standard output.
//   ask MS [R] sends the game's main window the probe message with a time-out
//              of MS milliseconds and the request R (the probe's lParam, 0 by
//              default); prints the report and "end", or "timeout",
//              "nowindow", "noreply"
//   close MS   posts WM_CLOSE and waits up to MS ms for the process to end;
//              prints "exited CODE" or "running"
//   forget     deletes the game's settings key (the soak leaves none behind)
//   quit
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string reply;
bool replied = false;

LRESULT CALLBACK ReceiverProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        reply.assign(static_cast<const char*>(data->lpData), data->cbData);
        replied = true;
        return TRUE;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

HWND MakeReceiver() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ReceiverProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KeltrimSoakReceiver";
    RegisterClassA(&wc);
    return CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                         nullptr);
}

void Ask(HWND receiver, UINT timeoutMs, LPARAM request) {
    static const UINT probeMessage = RegisterWindowMessageA("KeltrimSoakProbe");
    HWND game = FindWindowA("Vemo", nullptr);
    if (!game) {
        std::puts("nowindow");
        return;
    }
    replied = false;
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutA(game, probeMessage, reinterpret_cast<WPARAM>(receiver),
                                             request, SMTO_NORMAL, timeoutMs, &result);
    if (!sent) {
        std::puts(GetLastError() == ERROR_TIMEOUT ? "timeout" : "nowindow");
        return;
    }
    if (!replied || result != 1) {
        std::puts("noreply");
        return;
    }
    std::fputs(reply.c_str(), stdout);
}

void Close(UINT timeoutMs) {
    HWND game = FindWindowA("Vemo", nullptr);
    DWORD pid = 0;
    if (!game || !GetWindowThreadProcessId(game, &pid)) {
        std::puts("nowindow");
        return;
    }
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    PostMessageA(game, WM_CLOSE, 0, 0);
    DWORD code = STILL_ACTIVE;
    if (process && WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process, &code))
        std::printf("exited %lu\n", code);
    else
        std::puts("running");
    if (process)
        CloseHandle(process);
}

} // namespace

int main() {
    HWND receiver = MakeReceiver();
    char line[256];
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    std::puts(receiver ? "ready" : "noreceiver");
    std::fflush(stdout);
    while (std::fgets(line, sizeof line, stdin)) {
        char command[32]{};
        unsigned ms = 5000, request = 0;
        std::sscanf(line, "%31s %u %u", command, &ms, &request);
        if (!std::strcmp(command, "ask"))
            Ask(receiver, ms, request);
        else if (!std::strcmp(command, "close"))
            Close(ms);
        else if (!std::strcmp(command, "forget"))
            std::puts(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Darnwick\\Vemo") == ERROR_SUCCESS
                          ? "forgotten"
                          : "none");
        else if (!std::strcmp(command, "quit"))
            break;
        else
            std::puts("unknown");
        std::puts("done");
        std::fflush(stdout);
    }
    return 0;
}
