// Resource and command ids of the program's own file.
#pragma once

#define IDM_MAIN 101
#define IDA_MAIN 108
#define IDI_KELTRIM 129

#define IDW_REFUSAL 115
#define IDW_PAIR 116
#define IDW_LEVEL 119
#define IDW_TICK 130

#define IDB_BUBBLE 120
#define IDB_TITLE 125

#define IDC_NEW_GAME 40001
#define IDC_EXIT 40002
#define IDC_UNDO 40003
#define IDC_BACKGROUND 40004
#define IDC_EASY 40005
#define IDC_NORMAL 40006
#define IDC_CONTENTS 40007
