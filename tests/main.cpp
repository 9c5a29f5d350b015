// Test entry: a home of the tests' own, a QApplication on Qt's offscreen platform unless
// another is asked for, answers to dialogs no test expects, and the program's resource
// tables handed to the framework, as the application does.
#include "res/Tables.h"
#include "tests/support/Isolation.h"
#include "tests/support/ModalAnswers.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    IsolateUserFolders();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const ModalAnswers guard({}); // fails a test that meets a dialog it does not expect
    AfxSetResources(&res::ProgramTables());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
