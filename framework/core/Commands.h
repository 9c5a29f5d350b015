// The framework's standard command, control and string ids.
#pragma once

constexpr unsigned ID_SEPARATOR = 0;
constexpr unsigned IDOK = 1;
constexpr unsigned IDCANCEL = 2;
constexpr unsigned IDYES = 6;
constexpr unsigned IDNO = 7;

constexpr unsigned ID_FILE_NEW = 57600;
constexpr unsigned ID_FILE_OPEN = 57601;
constexpr unsigned ID_FILE_CLOSE = 57602;
constexpr unsigned ID_FILE_SAVE = 57603;
constexpr unsigned ID_FILE_SAVE_AS = 57604;
constexpr unsigned ID_FILE_PAGE_SETUP = 57605;
constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
constexpr unsigned ID_FILE_PRINT = 57607;
constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
constexpr unsigned ID_FILE_MRU_FILE16 = 57631;

constexpr unsigned ID_EDIT_CLEAR = 57632;
constexpr unsigned ID_EDIT_CLEAR_ALL = 57633;
constexpr unsigned ID_EDIT_COPY = 57634;
constexpr unsigned ID_EDIT_CUT = 57635;
constexpr unsigned ID_EDIT_FIND = 57636;
constexpr unsigned ID_EDIT_PASTE = 57637;
constexpr unsigned ID_EDIT_REPEAT = 57640;
constexpr unsigned ID_EDIT_REPLACE = 57641;
constexpr unsigned ID_EDIT_SELECT_ALL = 57642;
constexpr unsigned ID_EDIT_UNDO = 57643;
constexpr unsigned ID_EDIT_REDO = 57644;
constexpr unsigned ID_WINDOW_SPLIT = 57653;

constexpr unsigned ID_APP_ABOUT = 57664;
constexpr unsigned ID_APP_EXIT = 57665;
constexpr unsigned ID_NEXT_PANE = 57680;
constexpr unsigned ID_PREV_PANE = 57681;

constexpr unsigned ID_INDICATOR_EXT = 59136;
constexpr unsigned ID_INDICATOR_CAPS = 59137;
constexpr unsigned ID_INDICATOR_NUM = 59138;
constexpr unsigned ID_INDICATOR_SCRL = 59139;
constexpr unsigned ID_INDICATOR_OVR = 59140;
constexpr unsigned ID_INDICATOR_REC = 59141;

constexpr unsigned ID_VIEW_TOOLBAR = 59392;
constexpr unsigned ID_VIEW_STATUS_BAR = 59393;

constexpr unsigned IDS_APP_TITLE = 57344;
constexpr unsigned IDS_IDLE_MESSAGE = 57345;
constexpr unsigned IDS_PREVIEW_CLOSE = 61445;
// Prompts of the system-menu commands.
constexpr unsigned IDS_SCSIZE = 61184;
constexpr unsigned IDS_SCMOVE = 61185;
constexpr unsigned IDS_SCMINIMIZE = 61186;
constexpr unsigned IDS_SCMAXIMIZE = 61187;
constexpr unsigned IDS_SCNEXTWINDOW = 61188;
constexpr unsigned IDS_SCPREVWINDOW = 61189;
constexpr unsigned IDS_SCCLOSE = 61190;
constexpr unsigned IDS_SCRESTORE = 61202;
constexpr unsigned IDS_SCTASKLIST = 61203;

// The framework's own texts, in the program's string table like every other.
constexpr unsigned AFX_IDS_UNTITLED = 0xF100;
constexpr unsigned AFX_IDS_PRINT_SETUP = 0xF101;
constexpr unsigned AFX_IDS_OK = 0xF102;
constexpr unsigned AFX_IDS_TOOLBAR = 0xF103;
constexpr unsigned AFX_IDP_FAILED_TO_OPEN_DOC = 0xF104;
constexpr unsigned AFX_IDP_FAILED_TO_SAVE_DOC = 0xF105;
constexpr unsigned AFX_IDP_ASK_TO_SAVE = 0xF106; // %1: the document's title
constexpr unsigned AFX_IDP_FAILED_TO_READ_DOC = 0xF107;
// The button that stops work in progress.
constexpr unsigned AFX_IDS_CANCEL = 0xF108;
// What a failed file operation's error means (AfxErrorText).
constexpr unsigned AFX_IDS_ERROR_NOT_REGULAR_FILE = 0xF110;
constexpr unsigned AFX_IDS_ERROR_NO_MEMORY = 0xF111;
constexpr unsigned AFX_IDS_ERROR_ACCESS = 0xF112;
constexpr unsigned AFX_IDS_ERROR_DISK_FULL = 0xF113;
constexpr unsigned AFX_IDS_ERROR_NAME_TOO_LONG = 0xF114;
constexpr unsigned AFX_IDS_ERROR_NOT_FOUND = 0xF115;
constexpr unsigned AFX_IDS_ERROR_READ_ONLY_FS = 0xF116;
constexpr unsigned AFX_IDS_ERROR_IS_FOLDER = 0xF117;
constexpr unsigned AFX_IDS_ERROR_LINK_LOOP = 0xF118;
constexpr unsigned AFX_IDS_ERROR_IO = 0xF119;
constexpr unsigned AFX_IDS_ERROR_IN_USE = 0xF11A;
constexpr unsigned AFX_IDS_ERROR_SYSTEM = 0xF11B; // the system's own words follow

constexpr unsigned AFX_IDW_PANE_FIRST = 59648;
