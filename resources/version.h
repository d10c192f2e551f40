// The program's version and names, read by the version resource and by
// cmake/MakeDist.cmake, which names the release package after them.
#pragma once

#define KELTRIM_VERSION_MAJOR 1
#define KELTRIM_VERSION_MINOR 0
#define KELTRIM_VERSION_PATCH 0
#define KELTRIM_VERSION_TEXT "1.0.0"

#define KELTRIM_PRODUCT_NAME "Keltrim Solitaire"
#define KELTRIM_COMPANY_NAME "Darnwick"
// The executable's name in the release package.
#define KELTRIM_EXE_NAME "Keltrim Solitaire.exe"
