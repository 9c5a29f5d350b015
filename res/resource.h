// Resource and command ids of the program's own.
#pragma once

constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDR_MAINFRAME = 128;
constexpr unsigned IDR_SKORELTYPE = 129;
constexpr unsigned IDB_CANVAS = 130;
// The thickness bar's buttons and their pictures.
constexpr unsigned IDR_THICKNESS = 131;

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
// Adds a file's shapes and picture to the drawing.
constexpr unsigned ID_FILE_INSERT = 32812;
// A copy of the selected shapes in place; their place in the drawing order, in the order of
// the ids: above all, one up, one down, below all.
constexpr unsigned ID_EDIT_DUPLICATE = 32813;
constexpr unsigned ID_ARRANGE_FRONT = 32814;
constexpr unsigned ID_ARRANGE_FORWARD = 32815;
constexpr unsigned ID_ARRANGE_BACKWARD = 32816;
constexpr unsigned ID_ARRANGE_BACK = 32817;
constexpr unsigned ID_EDIT_COPY_PICTURE = 32811;
// The colour bar: shown or hidden from the View menu; a swatch clicked, told which swatch and
// which button.
constexpr unsigned ID_VIEW_COLOR_BAR = 32820;
constexpr unsigned ID_COLOR_SWATCH = 32821;
// One step thinner or thicker than the thickness now.
constexpr unsigned ID_WIDTH_THINNER = 32823;
constexpr unsigned ID_WIDTH_THICKER = 32824;
// The thickness bar: shown or hidden from the View menu.
constexpr unsigned ID_VIEW_THICKNESS_BAR = 32825;

constexpr unsigned ID_VIEW_ZOOM_IN = 32800;
constexpr unsigned ID_VIEW_ZOOM_OUT = 32801;
constexpr unsigned ID_VIEW_ZOOM_ACTUAL = 32802;
constexpr unsigned ID_VIEW_ZOOM_FIT = 32803;

// Status-bar panes: the pointer's place on the canvas, the size of what a drag makes, and the
// zoom. A pane's string is its widest text, so its id is a string id too.
constexpr unsigned ID_INDICATOR_POSITION = 201;
constexpr unsigned ID_INDICATOR_SIZE = 202;
// The thickness of new shapes.
constexpr unsigned ID_INDICATOR_THICKNESS = 204;
constexpr unsigned ID_INDICATOR_ZOOM = 210;

// The program's own messages.
constexpr unsigned IDS_SAVE_FAILED = 200;
constexpr unsigned IDS_SAVE_SUCCEEDED = 205;
constexpr unsigned IDS_SAVE_FILTER = 206;
constexpr unsigned IDS_BAD_PICTURE = 207;
constexpr unsigned IDS_SAVE_DRAWING_PROMPT = 239;
// The file dialogs' names of drawings, of pictures and drawings together, of every file.
constexpr unsigned IDS_DRAWING_FILES = 208;
constexpr unsigned IDS_ALL_PICTURES = 220;
constexpr unsigned IDS_ALL_FILES = 221;
constexpr unsigned IDS_DRAWING_NOT_PICTURE = 209;
// Save's picture refused under a drawing's name.
constexpr unsigned IDS_PICTURE_NOT_DRAWING = 235;
// The thickness pane's text, %1 the width; the colour bar's title; what its swatches and its
// outline/fill pair do (prompt, then tooltip).
constexpr unsigned IDS_THICKNESS_PANE = 230;
constexpr unsigned IDS_COLOR_BAR = 231;
constexpr unsigned IDS_COLOR_SWATCH = 232;
constexpr unsigned IDS_COLOR_PAIR = 233;
// The no-fill swatch's prompt and tooltip; the colour dialog's no-fill button.
constexpr unsigned IDS_NO_FILL_SWATCH = 236;
constexpr unsigned IDS_NO_FILL = 237;
// The thickness bar's title.
constexpr unsigned IDS_THICKNESS_BAR = 234;
constexpr unsigned IDS_RECOVER_PROMPT = 240;
// The title of Insert's file dialog.
constexpr unsigned IDS_INSERT_TITLE = 241;
// Several files dropped on the window: the first was taken, the others (%1 of them) were not.
constexpr unsigned IDS_DROP_OTHERS_LEFT = 260;
// Status-bar notices about the recovery copy: left copies that could not be read were set
// aside (%1 how many, %2 where); unsaved changes have no copy.
constexpr unsigned IDS_RECOVER_SET_ASIDE = 243;
constexpr unsigned IDS_RECOVER_UNPROTECTED = 244;
constexpr unsigned IDS_EXPORT_TITLE = 222;
constexpr unsigned IDS_EXPORT_AREA = 223;
constexpr unsigned IDS_EXPORT_FAILED = 224;
// Export's file named with an extension of a type it does not write.
constexpr unsigned IDS_EXPORT_TYPE = 225;
// What the progress dialog says while a picture is read or the clipboard fetched; the paste
// that the program holding the clipboard never answered.
constexpr unsigned IDS_READING_PICTURE = 250;
constexpr unsigned IDS_READING_CLIPBOARD = 251;
constexpr unsigned IDS_CLIPBOARD_NO_ANSWER = 252;
