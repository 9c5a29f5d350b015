// The frame's main menu and accelerator table, both resource 128.
#include "res/Tables.h"
#include "res/resource.h"

#include "framework/core/Commands.h"

#include <utility>

namespace res {
namespace {

MenuNode Item(const char* text, UINT id) { return {MenuKind::Item, text, id, false, {}}; }

MenuNode GrayedItem(const char* text, UINT id) { return {MenuKind::Item, text, id, true, {}}; }

MenuNode Separator() { return {MenuKind::Separator, "", ID_SEPARATOR, false, {}}; }

MenuNode Popup(const char* text, std::vector<MenuNode> items)
{
    return {MenuKind::Popup, text, 0, false, std::move(items)};
}

} // namespace

std::vector<Menu> ProgramMenus()
{
    Menu main{IDR_MAINFRAME,
              {
                  Popup("파일(&F)",
                        {
                            Item("새 파일(&N)\tCtrl+N", ID_FILE_NEW),
                            Item("열기(&O)...\tCtrl+O", ID_FILE_OPEN),
                            Item("삽입(&I)...\tCtrl+I", ID_FILE_INSERT),
                            Item("저장(&S)\tCtrl+S", ID_FILE_SAVE),
                            Item("다른 이름으로 저장(&A)...", ID_FILE_SAVE_AS),
                            Item("내보내기(&E)...\tCtrl+Shift+E", ID_FILE_EXPORT),
                            Separator(),
                            Item("인쇄(&P)...\tCtrl+P", ID_FILE_PRINT),
                            Item("인쇄 미리 보기(&V)", ID_FILE_PRINT_PREVIEW),
                            Item("인쇄 설정(&R)...", ID_FILE_PRINT_SETUP),
                            Separator(),
                            // The recent files are listed in place of this item.
                            GrayedItem("최근 파일", ID_FILE_MRU_FILE1),
                            Separator(),
                            Item("종료(&X)", ID_APP_EXIT),
                        }),
                  Popup("편집(&E)",
                        {
                            Item("취소(&U)\tCtrl+Z", ID_EDIT_UNDO),
                            Item("다시 실행(&R)\tCtrl+Y", ID_EDIT_REDO),
                            Separator(),
                            Item("잘라내기(&T)\tCtrl+X", ID_EDIT_CUT),
                            Item("복사(&C)\tCtrl+C", ID_EDIT_COPY),
                            Item("그림 복사(&I)\tCtrl+Shift+C", ID_EDIT_COPY_PICTURE),
                            Item("붙여넣기(&P)\tCtrl+V", ID_EDIT_PASTE),
                            Item("삭제(&D)\tDel", ID_EDIT_CLEAR),
                            Item("복제(&L)\tCtrl+D", ID_EDIT_DUPLICATE),
                            Item("모두 선택(&A)\tCtrl+A", ID_EDIT_SELECT_ALL),
                            Separator(),
                            Item("맨 앞으로(&F)\tCtrl+Shift+]", ID_ARRANGE_FRONT),
                            Item("앞으로(&W)\tCtrl+]", ID_ARRANGE_FORWARD),
                            Item("뒤로(&B)\tCtrl+[", ID_ARRANGE_BACKWARD),
                            Item("맨 뒤로(&K)\tCtrl+Shift+[", ID_ARRANGE_BACK),
                        }),
                  Popup("보기(&V)",
                        {
                            Item("도구 모음(&T)", ID_VIEW_TOOLBAR),
                            Item("상태 표시줄(&S)", ID_VIEW_STATUS_BAR),
                            Item("색 상자(&C)", ID_VIEW_COLOR_BAR),
                            Item("굵기 상자(&W)", ID_VIEW_THICKNESS_BAR),
                            Separator(),
                            Item("확대(&I)\tCtrl++", ID_VIEW_ZOOM_IN),
                            Item("축소(&O)\tCtrl+-", ID_VIEW_ZOOM_OUT),
                            Item("실제 크기(&A)\tCtrl+0", ID_VIEW_ZOOM_ACTUAL),
                            Item("창에 맞추기(&F)\tCtrl+9", ID_VIEW_ZOOM_FIT),
                        }),
                  Popup("도움말(&H)",
                        {
                            Item("Skorel 정보(&A)...", ID_APP_ABOUT),
                        }),
                  // The ids of items 5 to 7 run backwards; each id still sets the
                  // thickness its name says.
                  Popup("굵기",
                        {
                            Item("1", ID_WIDTH_1),
                            Item("2", ID_WIDTH_2),
                            Item("3", ID_WIDTH_3),
                            Item("4", ID_WIDTH_4),
                            Item("5", ID_WIDTH_5),
                            Item("6", ID_WIDTH_6),
                            Item("7", ID_WIDTH_7),
                            Separator(),
                            Item("가늘게\t[", ID_WIDTH_THINNER),
                            Item("굵게\t]", ID_WIDTH_THICKER),
                        }),
              }};
    return {std::move(main)};
}

std::vector<AccelTable> ProgramAccelerators()
{
    constexpr BYTE CTRL = FVIRTKEY | FCONTROL;
    constexpr BYTE SHIFT = FVIRTKEY | FSHIFT;
    constexpr BYTE ALT = FVIRTKEY | FALT;
    return {{IDR_MAINFRAME,
             {
                 {CTRL, 'N', ID_FILE_NEW},
                 {CTRL, 'O', ID_FILE_OPEN},
                 {CTRL, 'I', ID_FILE_INSERT},
                 {CTRL, 'S', ID_FILE_SAVE},
                 {CTRL, 'P', ID_FILE_PRINT},
                 {CTRL, 'Z', ID_EDIT_UNDO},
                 {CTRL, 'Y', ID_EDIT_REDO},
                 {CTRL | FSHIFT, 'Z', ID_EDIT_REDO},
                 {CTRL, 'X', ID_EDIT_CUT},
                 {CTRL, 'C', ID_EDIT_COPY},
                 {CTRL | FSHIFT, 'C', ID_EDIT_COPY_PICTURE},
                 {CTRL | FSHIFT, 'E', ID_FILE_EXPORT},
                 {CTRL, 'V', ID_EDIT_PASTE},
                 {CTRL, 'D', ID_EDIT_DUPLICATE},
                 {CTRL, 'A', ID_EDIT_SELECT_ALL},
                 {CTRL | FSHIFT, VK_OEM_6, ID_ARRANGE_FRONT},
                 {CTRL, VK_OEM_6, ID_ARRANGE_FORWARD},
                 {CTRL, VK_OEM_4, ID_ARRANGE_BACKWARD},
                 {CTRL | FSHIFT, VK_OEM_4, ID_ARRANGE_BACK},
                 {ALT, VK_BACK, ID_EDIT_UNDO},
                 {SHIFT, VK_DELETE, ID_EDIT_CUT},
                 {FVIRTKEY, VK_DELETE, ID_EDIT_CLEAR},
                 {CTRL, VK_INSERT, ID_EDIT_COPY},
                 {SHIFT, VK_INSERT, ID_EDIT_PASTE},
                 {FVIRTKEY, VK_OEM_4, ID_WIDTH_THINNER},
                 {FVIRTKEY, VK_OEM_6, ID_WIDTH_THICKER},
                 {CTRL, VK_ADD, ID_VIEW_ZOOM_IN},
                 {CTRL, VK_OEM_PLUS, ID_VIEW_ZOOM_IN},
                 {CTRL, VK_OEM_MINUS, ID_VIEW_ZOOM_OUT},
                 {CTRL, '0', ID_VIEW_ZOOM_ACTUAL},
                 {CTRL, '9', ID_VIEW_ZOOM_FIT},
                 {FVIRTKEY, VK_F6, ID_NEXT_PANE},
                 {SHIFT, VK_F6, ID_PREV_PANE},
             }}};
}

} // namespace res
