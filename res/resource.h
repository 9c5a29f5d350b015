// Resource and command ids of the program's own.
#pragma once

constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDR_MAINFRAME = 128;
constexpr unsigned IDR_SKORELTYPE = 129;
constexpr unsigned IDB_CANVAS = 130;

constexpr unsigned ID_DRAW_LINE = 32771;
constexpr unsigned ID_LINE_COLOR = 32772;
constexpr unsigned ID_FILL_COLOR = 32773;
constexpr unsigned ID_DRAW_RECT = 32774;
constexpr unsigned ID_DRAW_ELLIPSE = 32775;
constexpr unsigned ID_SELECT = 32776;
constexpr unsigned ID_ERASER = 32777;
constexpr unsigned ID_WIDTH_1 = 32782;
constexpr unsigned ID_WIDTH_2 = 32783;
constexpr unsigned ID_WIDTH_3 = 32784;
constexpr unsigned ID_WIDTH_4 = 32785;
constexpr unsigned ID_WIDTH_7 = 32786;
constexpr unsigned ID_WIDTH_6 = 32787;
constexpr unsigned ID_WIDTH_5 = 32788;
constexpr unsigned ID_FILE_EXPORT = 32810;
constexpr unsigned ID_EDIT_COPY_PICTURE = 32811;

// Status-bar panes: the pointer's place on the canvas, and the size of what a drag makes.
constexpr unsigned ID_INDICATOR_POSITION = 201;
constexpr unsigned ID_INDICATOR_SIZE = 202;

// The program's own messages.
constexpr unsigned IDS_SAVE_FAILED = 200;
constexpr unsigned IDS_SAVE_SUCCEEDED = 205;
constexpr unsigned IDS_SAVE_FILTER = 206;
constexpr unsigned IDS_BAD_PICTURE = 207;
constexpr unsigned IDS_SAVE_AS_FILTER = 203;
constexpr unsigned IDS_SAVE_DRAWING_PROMPT = 204;
constexpr unsigned IDS_SAVE_DRAWING_FILTER = 208;
constexpr unsigned IDS_DRAWING_NOT_PICTURE = 209;
constexpr unsigned IDS_OPEN_FILTER = 220;
constexpr unsigned IDS_EXPORT_FILTER = 221;
constexpr unsigned IDS_EXPORT_TITLE = 222;
constexpr unsigned IDS_EXPORT_AREA = 223;
constexpr unsigned IDS_EXPORT_FAILED = 224;
