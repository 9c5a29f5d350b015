// Test entry: a QApplication on Qt's offscreen platform unless another is asked for, and the
// program's resource tables handed to the framework, as the application does.
#include "res/Tables.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Recovery copies of the documents the tests make stay out of the user's data folder; the
    // folder outlasts the locks on them, which go with the process.
    static QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    AfxSetResources(&res::ProgramTables());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
