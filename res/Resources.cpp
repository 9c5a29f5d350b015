// The program's resource set: the toolbar, the About box template, the version record and
// the embedded pictures, with the menus and strings of Menus.cpp and Strings.cpp.
#include "res/Tables.h"
#include "res/resource.h"

#include "framework/core/Commands.h"

#include <cstddef>

// Generated at build time from the files in res/ (embed.cmake).
namespace res::embedded {
extern const unsigned char toolbar_bmp[];
extern const std::size_t toolbar_bmp_size;
extern const unsigned char toolbar_2x_bmp[];
extern const std::size_t toolbar_2x_bmp_size;
extern const unsigned char thickness_bmp[];
extern const std::size_t thickness_bmp_size;
extern const unsigned char thickness_2x_bmp[];
extern const std::size_t thickness_2x_bmp_size;
extern const unsigned char canvas_bmp[];
extern const std::size_t canvas_bmp_size;
extern const unsigned char skorel_ico[];
extern const std::size_t skorel_ico_size;
extern const unsigned char document_ico[];
extern const std::size_t document_ico_size;
} // namespace res::embedded

namespace res {
namespace {

// Window and control styles of the dialog template.
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD SS_ICON = 0x03;
constexpr DWORD SS_NOPREFIX = 0x80;
constexpr DWORD BS_DEFPUSHBUTTON = 0x01;
constexpr int IDC_STATIC = -1;

constexpr DWORD VFT_APP = 1;
constexpr WORD LANG_KOREAN = 0x0412;
constexpr WORD CP_UNICODE = 1200;

Toolbar MainToolbar()
{
    return {IDR_MAINFRAME,
            16,
            15,
            {
                ID_FILE_NEW,   ID_FILE_OPEN,  ID_FILE_SAVE,    ID_SEPARATOR, // files
                ID_EDIT_CUT,   ID_EDIT_COPY,  ID_EDIT_PASTE,   ID_SEPARATOR, // the clipboard
                ID_EDIT_UNDO,  ID_EDIT_REDO,  ID_SEPARATOR,                  // the steps
                ID_FILE_PRINT, ID_SEPARATOR,  ID_APP_ABOUT,                  // print, about
                ID_DRAW_LINE,  ID_DRAW_RECT,  ID_DRAW_ELLIPSE,               // the tools
                ID_LINE_COLOR, ID_FILL_COLOR, ID_SELECT,       ID_ERASER,
            }};
}

// Docked beside the colour bar: the main toolbar would hide these buttons behind its
// overflow on a narrow or doubled screen.
Toolbar ThicknessToolbar()
{
    return {IDR_THICKNESS,
            16,
            15,
            {ID_WIDTH_1, ID_WIDTH_2, ID_WIDTH_3, ID_WIDTH_4, ID_WIDTH_5, ID_WIDTH_6, ID_WIDTH_7}};
}

Dialog AboutBox()
{
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    return {IDD_ABOUTBOX,
            0,
            0,
            235,
            55,
            WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
            "Skorel 정보",
            "굴림",
            9,
            {
                {DialogItem::Icon, 11, 17, 20, 20, IDC_STATIC, child | SS_ICON, "", IDR_MAINFRAME},
                {DialogItem::Static, 40, 10, 119, 8, IDC_STATIC, child | WS_GROUP | SS_NOPREFIX,
                 "Skorel 버전 1.0", 0},
                {DialogItem::Button, 178, 7, 50, 14, IDOK,
                 child | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, "확인", 0},
            }};
}

Tables MakeTables()
{
    using namespace embedded;
    return {
        ProgramMenus(),
        ProgramAccelerators(),
        {MainToolbar(), ThicknessToolbar()},
        ProgramStrings(),
        {AboutBox()},
        {
            {IDR_MAINFRAME, toolbar_bmp, toolbar_bmp_size},
            {IDR_MAINFRAME, toolbar_2x_bmp, toolbar_2x_bmp_size, 2},
            {IDR_THICKNESS, thickness_bmp, thickness_bmp_size},
            {IDR_THICKNESS, thickness_2x_bmp, thickness_2x_bmp_size, 2},
            {IDB_CANVAS, canvas_bmp, canvas_bmp_size},
        },
        {
            {IDR_MAINFRAME, skorel_ico, skorel_ico_size},
            {IDR_SKORELTYPE, document_ico, document_ico_size},
        },
        {{1, 0, 0, 1}, {1, 0, 0, 1}, LANG_KOREAN, CP_UNICODE, VFT_APP},
        ProgramPictureFormats(),
    };
}

} // namespace

const Tables& ProgramTables()
{
    static const Tables tables = MakeTables();
    return tables;
}

} // namespace res
