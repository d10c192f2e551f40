// The help page, resource 133 of type HTML: shown in the system's HTML
// dialog, or in the program's own viewer where there is none.
#pragma once

#include <windows.h>

#include <string>

// "res://<path>/<id>": the address of a resource of a module file.
std::string FormatHelpAddress(const char* modulePath, int resourceId);

// Shows the page in the HTML dialog of "MSHTML.DLL", modal over `owner`:
// 1 when the dialog was shown and closed normally, 0 when there is no such
// dialog or it failed.
int ShowHelp(HWND owner, int resourceId);

// Shows the page, in the program's own viewer when ShowHelp cannot.
void OpenHelp(HWND owner, int resourceId);
