// The string table. A command's string has the command's id: the status-bar prompt, then
// after "\n" the tooltip. A status-bar pane's string is the widest text it shows.
#include "res/Tables.h"
#include "res/resource.h"

#include "framework/core/Commands.h"

namespace res {
namespace {

// Every entry of the recent-file list shares this prompt.
constexpr const char* kOpenRecent = "이 문서를 엽니다";

} // namespace

std::vector<String> ProgramStrings()
{
    return {
        // Window title, untitled base name (empty: the framework's), type name, file filter
        // (empty: all files), default extension (none), registry type id and name.
        {IDR_MAINFRAME, "Skorel\n\nSkorel\n\n\nSkorel.Document\nSkorel Document"},

        {IDS_APP_TITLE, "Skorel"},
        {IDS_IDLE_MESSAGE, "준비"},

        {ID_FILE_NEW, "새 문서를 작성합니다\n새 파일"},
        {ID_FILE_OPEN, "기존 문서를 엽니다\n열기"},
        {ID_FILE_INSERT,
         "그림 파일이나 Skorel 그림 파일의 그림과 도형을 지금 그림에 더합니다\n삽입"},
        {ID_FILE_CLOSE, "현재 열린 문서를 닫습니다\n닫기"},
        {ID_FILE_SAVE, "현재 열린 문서를 저장합니다\n저장"},
        {ID_FILE_SAVE_AS, "현재 열린 문서를 다른 이름으로 저장합니다\n다른 이름으로 저장"},
        {ID_FILE_EXPORT,
         "그림과 도형을 보이는 그대로 PNG, JPEG, BMP 또는 SVG 파일로 내보냅니다\n내보내기"},
        {ID_FILE_PAGE_SETUP, "인쇄 옵션을 변경합니다\n쪽 설정"},
        {ID_FILE_PRINT_SETUP, "프린터와 인쇄 옵션을 변경합니다\n인쇄 설정"},
        {ID_FILE_PRINT, "현재 열린 문서를 인쇄합니다\n인쇄"},
        {ID_FILE_PRINT_PREVIEW, "쪽 전체를 표시합니다\n인쇄 미리 보기"},

        {ID_FILE_MRU_FILE1, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 1, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 2, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 3, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 4, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 5, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 6, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 7, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 8, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 9, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 10, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 11, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 12, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 13, kOpenRecent},
        {ID_FILE_MRU_FILE1 + 14, kOpenRecent},
        {ID_FILE_MRU_FILE16, kOpenRecent},

        {ID_EDIT_CLEAR, "선택 부분을 지웁니다\n지우기"},
        {ID_EDIT_CLEAR_ALL, "모든 것을 지웁니다\n모두 지우기"},
        {ID_EDIT_COPY, "선택 부분을 복사하여 클립보드에 넣습니다\n복사"},
        {ID_EDIT_COPY_PICTURE, "보이는 그대로 그림 영역을, 그림이 없으면 도형이 있는 영역을 "
                               "클립보드에 그림으로 복사합니다\n그림 복사"},
        {ID_EDIT_CUT, "선택 부분을 잘라내어 클립보드에 넣습니다\n잘라내기"},
        {ID_EDIT_FIND, "지정한 문자열을 찾습니다\n찾기"},
        {ID_EDIT_PASTE, "클립보드의 내용을 붙여 넣습니다\n붙여넣기"},
        {ID_EDIT_REPEAT, "마지막으로 실행한 동작을 반복합니다\n반복"},
        {ID_EDIT_REPLACE, "지정한 문자열을 다른 문자열로 바꿉니다\n바꾸기"},
        {ID_EDIT_SELECT_ALL, "그림의 도형을 모두 선택합니다\n모두 선택"},
        {ID_EDIT_DUPLICATE, "선택한 도형을 오른쪽 아래로 10픽셀 옮긴 사본을 만듭니다\n복제"},
        {ID_ARRANGE_FRONT, "선택한 도형을 다른 모든 도형 앞으로 가져옵니다\n맨 앞으로"},
        {ID_ARRANGE_FORWARD, "선택한 도형을 한 단계 앞으로 가져옵니다\n앞으로"},
        {ID_ARRANGE_BACKWARD, "선택한 도형을 한 단계 뒤로 보냅니다\n뒤로"},
        {ID_ARRANGE_BACK, "선택한 도형을 다른 모든 도형 뒤로 보냅니다\n맨 뒤로"},
        {ID_EDIT_UNDO, "마지막으로 한 동작을 취소합니다\n실행 취소"},
        {ID_EDIT_REDO, "이전에 취소한 동작을 다시 수행합니다\n다시 실행"},
        {ID_WINDOW_SPLIT, "현재 열린 창을 나눕니다\n나누기"},

        {ID_APP_ABOUT, "프로그램 정보와 버전 정보, 저작권 정보를 표시합니다\n정보"},
        {ID_APP_EXIT, "응용 프로그램을 종료하기 위해 문서를 저장할 것인지 묻습니다\n종료"},
        {ID_NEXT_PANE, "다음 창으로 전환합니다\n다음 창"},
        {ID_PREV_PANE, "이전 창으로 전환합니다\n이전 창"},

        {ID_INDICATOR_EXT, "EXT"},
        {ID_INDICATOR_CAPS, "CAP"},
        {ID_INDICATOR_NUM, "NUM"},
        {ID_INDICATOR_SCRL, "SCRL"},
        {ID_INDICATOR_OVR, "OVR"},
        {ID_INDICATOR_REC, "REC"},

        {ID_VIEW_TOOLBAR, "도구 모음을 보이거나 감춥니다\n도구 모음 전환"},
        {ID_VIEW_STATUS_BAR, "상태 표시줄을 표시하거나 감춥니다\n상태 표시줄 전환"},

        // Prompts of the system menu: system command SC_x has string
        // IDS_SCSIZE + (SC_x - 0xF000) / 16.
        {IDS_SCSIZE, "창의 크기를 변경합니다"},
        {IDS_SCMOVE, "창의 위치를 변경합니다"},
        {IDS_SCMINIMIZE, "창을 아이콘으로 줄여서 표시합니다"},
        {IDS_SCMAXIMIZE, "창을 최대 크기로 확장합니다"},
        {IDS_SCNEXTWINDOW, "다음 문서 창으로 전환합니다"},
        {IDS_SCPREVWINDOW, "이전 문서 창으로 전환합니다"},
        {IDS_SCCLOSE, "현재 열린 창을 닫고 문서를 저장할 것인지를 묻습니다"},
        {IDS_SCRESTORE, "창을 원래 크기로 복원합니다"},
        {IDS_SCTASKLIST, "작업 목록을 활성화합니다"},

        {IDS_PREVIEW_CLOSE, "인쇄 미리 보기 모드를 닫습니다\n미리 보기 취소"},

        // The framework's own texts.
        {AFX_IDS_UNTITLED, "제목 없음"},
        {AFX_IDS_PRINT_SETUP, "인쇄 설정"},
        {AFX_IDS_OK, "확인"},
        {AFX_IDS_TOOLBAR, "도구 모음"},
        {AFX_IDP_FAILED_TO_OPEN_DOC,
         "파일을 열 수 없습니다. 파일이 있는지, 읽을 수 있는지 확인하십시오."},
        {AFX_IDP_FAILED_TO_SAVE_DOC, "파일을 저장하지 못했습니다. 저장할 내용이 없거나, 디스크에 "
                                     "공간이 없거나, 쓸 수 없는 위치입니다."},
        {AFX_IDP_ASK_TO_SAVE, "변경 내용을 %1에 저장하시겠습니까?"},
        {AFX_IDS_CANCEL, "취소"},
        {AFX_IDP_FAILED_TO_READ_DOC, "파일을 읽을 수 없습니다. 파일이 손상되었거나 이 프로그램에서 "
                                     "열 수 없는 형식입니다."},
        {AFX_IDS_ERROR_NOT_REGULAR_FILE, "일반 파일이 아닙니다(폴더, 파이프 또는 장치)."},
        {AFX_IDS_ERROR_NO_MEMORY, "메모리가 부족합니다."},
        {AFX_IDS_ERROR_ACCESS, "권한이 없습니다. 읽기 전용 파일이거나 쓸 수 없는 폴더입니다."},
        {AFX_IDS_ERROR_DISK_FULL, "디스크 공간이 부족합니다."},
        {AFX_IDS_ERROR_NAME_TOO_LONG, "파일 이름이나 경로가 너무 깁니다."},
        {AFX_IDS_ERROR_NOT_FOUND, "파일이나 폴더가 없습니다."},
        {AFX_IDS_ERROR_READ_ONLY_FS, "읽기 전용 파일 시스템입니다."},
        {AFX_IDS_ERROR_IS_FOLDER, "폴더입니다."},
        {AFX_IDS_ERROR_LINK_LOOP, "심볼릭 링크가 너무 많이 이어집니다."},
        {AFX_IDS_ERROR_IO, "입출력 오류가 발생했습니다."},
        {AFX_IDS_ERROR_IN_USE, "다른 프로그램이 파일을 사용하고 있습니다."},
        {AFX_IDS_ERROR_SYSTEM, "시스템 오류: "},

        {ID_DRAW_LINE, "직선을 그립니다\n직선"},
        {ID_DRAW_RECT, "사각형을 그립니다\n사각형"},
        {ID_DRAW_ELLIPSE, "타원을 그립니다\n타원"},
        {ID_LINE_COLOR, "새 도형과 선택한 도형의 선 색을 고릅니다\n선 색"},
        {ID_FILL_COLOR, "새 도형과 선택한 도형의 채우기 색을 고릅니다\n채우기 색"},
        {ID_SELECT, "도형을 잡아 옮기거나 크기를 바꿉니다\n선택"},
        {ID_ERASER, "그린 도형을 모두 지웁니다. 그림은 남습니다\n지우개"},
        {ID_WIDTH_1, "새 도형과 선택한 도형의 선 굵기를 1 픽셀로 합니다\n굵기 1"},
        {ID_WIDTH_2, "새 도형과 선택한 도형의 선 굵기를 2 픽셀로 합니다\n굵기 2"},
        {ID_WIDTH_3, "새 도형과 선택한 도형의 선 굵기를 3 픽셀로 합니다\n굵기 3"},
        {ID_WIDTH_4, "새 도형과 선택한 도형의 선 굵기를 4 픽셀로 합니다\n굵기 4"},
        {ID_WIDTH_5, "새 도형과 선택한 도형의 선 굵기를 5 픽셀로 합니다\n굵기 5"},
        {ID_WIDTH_6, "새 도형과 선택한 도형의 선 굵기를 6 픽셀로 합니다\n굵기 6"},
        {ID_WIDTH_7, "새 도형과 선택한 도형의 선 굵기를 7 픽셀로 합니다\n굵기 7"},

        {ID_VIEW_COLOR_BAR, "색 상자를 보이거나 감춥니다\n색 상자 전환"},
        {ID_VIEW_THICKNESS_BAR, "굵기 상자를 보이거나 감춥니다\n굵기 상자 전환"},
        {ID_WIDTH_THINNER, "선 굵기를 한 픽셀 줄입니다\n가늘게"},
        {ID_WIDTH_THICKER, "선 굵기를 한 픽셀 늘립니다\n굵게"},

        {ID_VIEW_ZOOM_IN, "캔버스를 한 단계 크게 봅니다\n확대"},
        {ID_VIEW_ZOOM_OUT, "캔버스를 한 단계 작게 봅니다\n축소"},
        {ID_VIEW_ZOOM_ACTUAL, "캔버스를 실제 크기(100%)로 봅니다\n실제 크기"},
        {ID_VIEW_ZOOM_FIT, "캔버스 전체가 창에 들어오는 가장 큰 배율로 봅니다\n창에 맞추기"},

        {ID_INDICATOR_POSITION, "0000, 0000"},
        {ID_INDICATOR_SIZE, "0000 × 0000"},
        {ID_INDICATOR_THICKNESS, "굵기 7"},
        {IDS_THICKNESS_PANE, "굵기 %1"},
        {IDS_COLOR_BAR, "색 상자"},
        {IDS_THICKNESS_BAR, "굵기 상자"},
        {IDS_COLOR_SWATCH, "클릭하면 선 색, 오른쪽 단추로 클릭하면 채우기 색이 됩니다\n"
                           "선 색: 클릭, 채우기 색: 오른쪽 클릭"},
        {IDS_COLOR_PAIR, "두 번 클릭하면 그 색을 고르는 대화 상자가 열립니다\n"
                         "선 색과 채우기 색 (두 번 클릭: 바꾸기)"},
        {ID_INDICATOR_ZOOM, "800%"},
        {IDS_NO_FILL_SWATCH, "사각형과 타원을 채우지 않고 테두리만 그립니다\n채우기 없음"},
        {IDS_NO_FILL, "채우기 없음(&N)"},

        {IDS_DRAWING_FILES, "Skorel 그림"},
        {IDS_DRAWING_NOT_PICTURE, "도형은 BMP 파일에 저장할 수 없습니다. 확장자가 .skr인 "
                                  "Skorel 그림 파일로 저장하십시오."},
        {IDS_PICTURE_NOT_DRAWING,
         "저장은 화면 왼쪽 위의 800 × 600 부분을 BMP 그림으로 씁니다. 도형을 "
         "Skorel 그림(.skr)으로 저장하려면 파일 메뉴의 '다른 이름으로 "
         "저장'을 사용하십시오."},
        {IDS_SAVE_DRAWING_PROMPT,
         "그림이 아직 저장되지 않았습니다. 지금 그림을 Skorel 그림으로 저장하시겠습니까?"},
        {IDS_SAVE_SUCCEEDED, "저장 성공"},
        {IDS_SAVE_FILTER, "(*.BMP)|*.BMP|모든파일(*.*)|*.*|"},
        {IDS_BAD_PICTURE,
         "그림 파일을 열 수 없습니다. 그림 파일이 손상되었거나 지원하지 않는 형식입니다."},
        {IDS_ALL_PICTURES, "그림과 Skorel 그림"},
        {IDS_ALL_FILES, "모든 파일"},
        {IDS_EXPORT_TITLE, "내보내기"},
        {IDS_INSERT_TITLE, "삽입"},
        {IDS_EXPORT_AREA, "그림 영역만(&A)"},
        {IDS_EXPORT_FAILED, "내보내지 못했습니다. 이미 있던 파일은 그대로 남아 있습니다."},
        {IDS_EXPORT_TYPE, "내보내기는 %1 파일만 씁니다. 고른 형식의 확장자를 "
                          "붙인 이름으로 내보내려면 다시 저장을 누르십시오."},
        {IDS_READING_PICTURE, "그림을 읽고 있습니다…"},
        {IDS_READING_CLIPBOARD, "클립보드의 내용을 가져오고 있습니다…"},
        {IDS_CLIPBOARD_NO_ANSWER, "클립보드를 가진 프로그램이 응답하지 않아 붙여 넣지 "
                                  "못했습니다. 그 프로그램에서 다시 복사해 보십시오."},
        {IDS_SAVE_FAILED, "그림을 저장하지 못했습니다. 이미 있던 파일은 그대로 남아 있습니다."},
        {IDS_DROP_OTHERS_LEFT, "끌어 놓은 파일 중 첫 번째만 사용하고 나머지 %1개는 무시했습니다."},
        {IDS_RECOVER_PROMPT, "Skorel이 끝나면서 저장되지 않은 그림을 남겼습니다. 그림: %1, "
                             "마지막으로 바꾼 때: %2. 이 그림을 복구하시겠습니까? 아니요를 누르면 "
                             "복구 사본을 지웁니다."},
        {IDS_RECOVER_SET_ASIDE, "읽을 수 없는 복구 사본 %1개를 지우지 않고 따로 두었습니다: %2"},
        {IDS_RECOVER_UNPROTECTED, "복구 사본을 쓸 수 없습니다. 저장하지 않은 변경은 Skorel이 "
                                  "갑자기 끝나면 사라집니다."},
    };
}

} // namespace res
