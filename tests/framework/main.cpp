// Test entry of the framework's own tests: a home of the tests' own, a QApplication on Qt's
// offscreen platform unless another is asked for, answers to dialogs no test expects, and
// a small resource table of the tests' own, so that the framework is tried without the
// program.
#include "tests/support/Isolation.h"
#include "tests/support/ModalAnswers.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

// The texts the framework shows itself: a title for its message boxes (and the name of the
// tests' switches: FRAME_TEST_NO_SIMD) and the messages of its document handling; the picture
// formats that its reader and the clipboard take.
const res::Tables& TestTables()
{
    static const res::Tables tables = [] {
        res::Tables t;
        t.strings = {{IDS_APP_TITLE, "Frame Test"},
                     {AFX_IDS_UNTITLED, "제목 없음"},
                     {AFX_IDP_FAILED_TO_OPEN_DOC, "열지 못함"},
                     {AFX_IDP_FAILED_TO_READ_DOC, "읽지 못함"},
                     {AFX_IDP_FAILED_TO_SAVE_DOC, "저장하지 못함"},
                     {AFX_IDP_ASK_TO_SAVE, "%1을(를) 저장할까요?"},
                     {AFX_IDS_ERROR_NOT_FOUND, "없음"},
                     {AFX_IDS_CANCEL, "취소"}};
        constexpr unsigned kRead = res::PictureFormat::Opened | res::PictureFormat::Decoded;
        t.pictureFormats = {
            {"PNG", {"png"}, {"image/png"}, "png", kRead},
            {"JPEG", {"jpg"}, {"image/jpeg"}, "jpeg", kRead},
            {"BMP", {"bmp"}, {"image/bmp", "CF_DIB"}, "bmp", res::PictureFormat::Opened},
            {"GIF", {"gif"}, {"image/gif"}, "gif", kRead},
            {"TIFF", {"tif"}, {"image/tiff"}, "tiff", kRead},
            {"WebP", {"webp"}, {"image/webp"}, "webp", kRead},
            {"ICO", {"ico"}, {"image/x-icon"}, "ico", kRead},
        };
        return t;
    }();
    return tables;
}

} // namespace

int main(int argc, char** argv)
{
    IsolateUserFolders();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const ModalAnswers guard({}); // fails a test that meets a dialog it does not expect
    AfxSetResources(&TestTables());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
