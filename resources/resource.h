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
// Options dialog and its list of colour swatches.
#define IDD_OPTIONS 122
#define IDC_SWATCHES 1000
// The link label's artwork: the maker's name plate and the web address.
#define IDB_NAME_PLATE 103
#define IDB_ADDRESS 132
// The help page (type HTML).
#define IDR_HELP_PAGE 133

#define IDC_NEW_GAME 40001
#define IDC_EXIT 40002
#define IDC_UNDO 40003
#define IDC_BACKGROUND 40004
#define IDC_EASY 40005
#define IDC_NORMAL 40006
#define IDC_CONTENTS 40007
