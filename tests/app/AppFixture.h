// The whole program in one process, started as the process entry would: the fixture of the
// application's tests.
#pragma once

#include "tests/support/ModalAnswers.h"
#include "tests/support/Mouse.h"

#include "app/Skorel.h"
#include "document/SkorelDoc.h"
#include "res/resource.h"
#include "view/SkorelView.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/docview/Frame.h"
#include "framework/docview/Printing.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>

#include <sys/stat.h>

namespace app_test {

class AppTest : public ::testing::Test {
protected:
    // Every test starts with the layout a first start has.
    void SetUp() override
    {
        QSettings("Local AppWizard-Generated Applications", "Skorel").remove("Layout");
    }
    // Starts the application with a command line, as the process entry would.
    bool Start(std::vector<std::string> args = {})
    {
        m_app = std::make_unique<CSkorelApp>();
        m_app->m_arguments = std::move(args);
        if (!m_app->Initialize())
            return false;
        m_app->OnShown(); // as the message loop does once the window shows
        return true;
    }
    void TearDown() override
    {
        if (m_app)
            m_app->ExitInstance();
    }
    CFrameWnd* Frame() const { return static_cast<CFrameWnd*>(m_app->m_pMainWnd); }
    QMainWindow* Window() const { return static_cast<QMainWindow*>(Frame()->Widget()); }
    CSkorelView* View() const { return static_cast<CSkorelView*>(Frame()->GetActiveView()); }
    CSkorelDoc* Doc() const { return View()->GetDocument(); }
    QToolBar* ToolBar() const { return Bar(ID_VIEW_TOOLBAR); }
    QToolBar* ColorBar() const { return Bar(ID_VIEW_COLOR_BAR); }
    QToolBar* ThicknessBar() const { return Bar(ID_VIEW_THICKNESS_BAR); }
    // The scrolling area around the view's canvas.
    QAbstractScrollArea* Area() const
    {
        return qobject_cast<QAbstractScrollArea*>(View()->Widget()->parentWidget()->parentWidget());
    }
    QToolBar* Bar(UINT id) const
    {
        return Window()->findChild<QToolBar*>(QStringLiteral("toolbar%1").arg(id));
    }
    QAction* MenuItem(const QString& text) const
    {
        for (QAction* top : Window()->menuBar()->actions())
            for (QAction* a : top->menu()->actions())
                if (a->text() == text)
                    return a;
        return nullptr;
    }
    QAction* Button(UINT id) const { return Frame()->Action(id); }

    std::unique_ptr<CSkorelApp> m_app;
    QTemporaryDir m_dir;
};

inline void WriteBytes(const QString& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace app_test
