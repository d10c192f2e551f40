# 64-bit Windows: how the tests run where Wine can only run 64-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELTRIM_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
