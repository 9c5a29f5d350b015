// The whole program in one process: its bars, menus and panes, the zoom, the colour bar and
// the thickness at hand, and the layout kept across a restart.
#include "AppFixture.h"

#include <QClipboard>

#include <chrono>

namespace {

using app_test::AppTest;

// The toolbar and the menus show the drawing state: the tool pressed, the thickness checked,
// the colours as swatches on their buttons.
TEST_F(AppTest, ToolsShowTheirState)
{
    ASSERT_TRUE(Start());
    const auto pressed = [this] {
        std::vector<UINT> ids;
        for (UINT id : {ID_DRAW_LINE, ID_DRAW_RECT, ID_DRAW_ELLIPSE, ID_SELECT})
            if (Button(id)->isChecked())
                ids.push_back(id);
        return ids;
    };
    EXPECT_EQ(pressed(), std::vector<UINT>{ID_DRAW_LINE});
    Button(ID_DRAW_ELLIPSE)->trigger();
    EXPECT_EQ(pressed(), std::vector<UINT>{ID_DRAW_ELLIPSE});
    Button(ID_SELECT)->trigger();
    EXPECT_EQ(pressed(), std::vector<UINT>{ID_SELECT});

    MenuItem(QStringLiteral("5"))->trigger();
    for (const char* width : {"1", "2", "3", "4", "5", "6", "7"})
        EXPECT_EQ(MenuItem(QString::fromUtf8(width))->isChecked(), std::string(width) == "5")
            << width;

    const auto swatch = [this](UINT id) {
        const QImage picture = Button(id)->icon().pixmap(QSize(16, 15), 1.0).toImage();
        return picture.pixelColor(8, 12);
    };
    EXPECT_EQ(swatch(ID_FILL_COLOR), QColor(255, 255, 255));
    View()->ChooseFillColor(RGB(200, 30, 40));
    Frame()->UpdateCommandStates();
    EXPECT_EQ(swatch(ID_FILL_COLOR), QColor(200, 30, 40));
    EXPECT_EQ(swatch(ID_LINE_COLOR), QColor(0, 0, 0));
}

// What the commands can do follows what changes it, with no look forced after an input: a
// click that selects a shape or leaves it, a command, another program's copy.
TEST_F(AppTest, CommandStatesFollowTheirChanges)
{
    ASSERT_TRUE(Start());
    QWidget* view = View()->Widget();
    const auto enabled = [this](UINT id) {
        QApplication::processEvents();
        return Button(id)->isEnabled();
    };
    testing_support::Drag(view, {20, 20}, {120, 80});
    EXPECT_TRUE(enabled(ID_EDIT_SELECT_ALL));
    Button(ID_SELECT)->trigger();
    EXPECT_FALSE(enabled(ID_EDIT_CUT));
    testing_support::Drag(view, {70, 50}, {70, 50}, 0);
    EXPECT_TRUE(enabled(ID_EDIT_CUT));
    Button(ID_EDIT_COPY)->trigger();
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));
    testing_support::Drag(view, {400, 300}, {400, 300}, 0);
    EXPECT_FALSE(enabled(ID_EDIT_CUT));

    QGuiApplication::clipboard()->setText(QStringLiteral("글"));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (enabled(ID_EDIT_PASTE) && std::chrono::steady_clock::now() < end)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(Button(ID_EDIT_PASTE)->isEnabled());
}

// The status bar shows where the pointer is on the canvas and how large a drag's shape is.
TEST_F(AppTest, StatusBarShowsThePointerAndTheDragSize)
{
    ASSERT_TRUE(Start());
    QWidget* view = View()->Widget();
    const auto panes = [this] {
        Frame()->UpdateCommandStates();
        const auto* bar = Window()->statusBar();
        return std::pair{bar->findChild<QLabel*>("pane1")->text(),
                         bar->findChild<QLabel*>("pane2")->text()};
    };
    using testing_support::SendMouse;
    SendMouse(view, QEvent::MouseMove, {120, 34}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(panes(), std::pair(QStringLiteral("120, 34"), QString()));
    Button(ID_DRAW_RECT)->trigger();
    testing_support::Press(view, {10, 10});
    testing_support::MoveHeld(view, {110, 60});
    EXPECT_EQ(panes(), std::pair(QStringLiteral("110, 60"), QStringLiteral("100 × 50")));
    testing_support::MoveHeld(view, {-5, 60});
    EXPECT_EQ(panes(), std::pair(QString(), QStringLiteral("15 × 50")));
    testing_support::Release(view, {-5, 60});
    EXPECT_EQ(panes().second, QString());
}

// A zoom or a scroll moves the canvas under a resting pointer: the place shown follows at once,
// as the canvas pixel now under it, not at the pointer's next move.
TEST_F(AppTest, PointerPlaceFollowsAZoomAndAScrollUnderTheRestingPointer)
{
    ASSERT_TRUE(Start());
    Window()->resize(900, 700);
    QWidget* port = Area()->viewport();
    const QPoint at(200, 120);
    QCursor::setPos(port->mapToGlobal(at));
    testing_support::SendMouse(View()->Widget(), QEvent::MouseMove,
                               View()->Widget()->mapFrom(port, at), Qt::NoButton, Qt::NoButton);
    const auto shows = [&](int zoom) {
        QApplication::processEvents();
        Frame()->UpdateCommandStates();
        const QPoint p = View()->Widget()->mapFrom(port, at);
        EXPECT_EQ(Window()->statusBar()->findChild<QLabel*>("pane1")->text(),
                  QStringLiteral("%1, %2").arg(p.x() * 100 / zoom).arg(p.y() * 100 / zoom))
            << zoom;
    };
    shows(100);
    QTest::keyClick(View()->Widget(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(View()->Widget(), Qt::Key_Plus, Qt::ControlModifier);
    shows(200);
    Area()->verticalScrollBar()->setValue(Area()->verticalScrollBar()->value() + 80);
    Area()->horizontalScrollBar()->setValue(Area()->horizontalScrollBar()->value() - 40);
    shows(200);
}

// The zoom commands keep the middle of what shows of the canvas in the middle of the window,
// also when the scroll bars come or go with the new size, and the bars then match the
// canvas's place (a zoom from a canvas that fitted the window used to land far off its middle,
// with bars that could not reach its top).
TEST_F(AppTest, ZoomKeepsTheMiddleAndTheScrollBarsMatchThePlace)
{
    ASSERT_TRUE(Start());
    Window()->resize(900, 700);
    QWidget* canvas = View()->Widget();
    const QWidget* port = Area()->viewport();
    // The canvas pixel in the middle of what shows of it, from the widgets' geometry.
    const auto middle = [&] {
        const QRect shown =
            QRect(canvas->mapFrom(port, QPoint(0, 0)), port->size()).intersected(canvas->rect());
        return (shown.topLeft() + shown.bottomRight()) / 2 * 100 / View()->GetZoom();
    };
    const auto settle = [] {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    };
    settle();
    for (const UINT command : {ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_OUT,
                               ID_VIEW_ZOOM_ACTUAL, ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT}) {
        const QPoint before = middle();
        Button(command)->trigger();
        settle();
        SCOPED_TRACE(View()->GetZoom());
        const QScrollBar* across = Area()->horizontalScrollBar();
        const QScrollBar* down = Area()->verticalScrollBar();
        EXPECT_EQ(QSize(across->maximum(), down->maximum()),
                  (canvas->size() - port->size()).expandedTo(QSize(0, 0)));
        EXPECT_EQ(QPoint(across->value(), down->value()), -canvas->pos());
        // Where the canvas no longer fits, its old middle is in the middle again.
        if (canvas->width() > port->width() && canvas->height() > port->height()) {
            EXPECT_LE((middle() - before).manhattanLength(), 2);
        }
    }
}

// A plain letter reaching the menu bar while it shows no highlighted item (after Escape
// closed a menu) opens no menu; with Alt it still does, and every title opens on a click.
TEST_F(AppTest, MenusOpenOnAClickAndOnLetterKeysOnlyWhenTheBarShowsItHasThem)
{
    ASSERT_TRUE(Start());
    QMenuBar* bar = Window()->menuBar();
    QTest::keyClick(bar, Qt::Key_E);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(bar, Qt::Key_E, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    popup->close();
    for (QAction* title : bar->actions()) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        popup = QApplication::activePopupWidget();
        ASSERT_EQ(popup, title->menu()) << title->text().toStdString();
        popup->close();
    }
}

// The window's size, its toolbar's dock and the status bar's visibility come back at the next
// start.
TEST_F(AppTest, LayoutIsRememberedAcrossARestart)
{
    ASSERT_TRUE(Start());
    Window()->resize(700, 500);
    Window()->addToolBar(Qt::LeftToolBarArea, ToolBar());
    Window()->addToolBar(Qt::RightToolBarArea, ColorBar());
    Window()->addToolBar(Qt::TopToolBarArea, ThicknessBar());
    MenuItem(QStringLiteral("상태 표시줄(&S)"))->trigger();
    Button(ID_VIEW_ZOOM_IN)->trigger();
    Button(ID_VIEW_ZOOM_IN)->trigger();
    ASSERT_TRUE(Window()->close());
    m_app->ExitInstance();
    m_app.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Window()->size(), QSize(700, 500));
    EXPECT_EQ(Window()->toolBarArea(ToolBar()), Qt::LeftToolBarArea);
    EXPECT_EQ(Window()->toolBarArea(ColorBar()), Qt::RightToolBarArea);
    EXPECT_EQ(Window()->toolBarArea(ThicknessBar()), Qt::TopToolBarArea);
    EXPECT_FALSE(Window()->statusBar()->isVisible());
    EXPECT_FALSE(MenuItem(QStringLiteral("상태 표시줄(&S)"))->isChecked());
    EXPECT_EQ(View()->GetZoom(), 200);
    // A zoom that is no step, as a damaged settings file holds, leaves the view at 100 %.
    ASSERT_TRUE(Window()->close());
    m_app->ExitInstance();
    m_app.reset();
    QSettings("Local AppWizard-Generated Applications", "Skorel").setValue("Layout/Zoom", 77);
    ASSERT_TRUE(Start());
    EXPECT_EQ(View()->GetZoom(), 100);
}

// The zoom steps from 25 to 800 %, shown in its pane; the items grey out at the ends.
TEST_F(AppTest, ZoomStepsBetweenItsEndsAndShowsInTheStatusBar)
{
    ASSERT_TRUE(Start());
    const auto pane = [this] {
        Frame()->UpdateCommandStates();
        return Window()->statusBar()->findChild<QLabel*>("pane4")->text();
    };
    QStringList shown{pane()};
    for (int i = 0; i < 5; ++i, shown << pane())
        Button(ID_VIEW_ZOOM_OUT)->trigger();
    EXPECT_FALSE(Button(ID_VIEW_ZOOM_OUT)->isEnabled());
    Button(ID_VIEW_ZOOM_ACTUAL)->trigger();
    for (int i = 0; i < 7; ++i, shown << pane())
        Button(ID_VIEW_ZOOM_IN)->trigger();
    EXPECT_FALSE(Button(ID_VIEW_ZOOM_IN)->isEnabled());
    EXPECT_EQ(shown.join(' '), "100% 67% 50% 33% 25% 25% 150% 200% 300% 400% 600% 800% 800%");
}

// A layout that would leave the window off the screen, or taller than it, comes back on it.
TEST_F(AppTest, RestoredLayoutStaysOnTheScreen)
{
    ASSERT_TRUE(Start());
    Window()->setGeometry(-4000, 100, 700, 30000);
    ASSERT_TRUE(Window()->close());
    m_app->ExitInstance();
    m_app.reset();
    ASSERT_TRUE(Start());
    const QRect screen = Window()->screen()->availableGeometry();
    const QRect window = Window()->geometry();
    EXPECT_TRUE(screen.contains(window.topLeft()));
    EXPECT_LE(window.width(), screen.width());
    EXPECT_LE(window.height(), screen.height());
}

// At 200 % the buttons and the window icon draw art made for that size, not enlargements.
TEST_F(AppTest, ToolbarButtonsAndWindowIconHoldDoubleSizeImages)
{
    ASSERT_TRUE(Start());
    for (UINT id : {ID_FILE_NEW, ID_ERASER})
        EXPECT_EQ(Button(id)->icon().pixmap(ToolBar()->iconSize(), 2.0).size(), QSize(32, 30));
    const QList<QSize> sizes = Window()->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(64, 64)));
}

TEST_F(AppTest, ViewMenuTogglesTheBarsAndTheirCheckMarks)
{
    ASSERT_TRUE(Start());
    QAction* toolbar = MenuItem(QStringLiteral("도구 모음(&T)"));
    QAction* status = MenuItem(QStringLiteral("상태 표시줄(&S)"));
    ASSERT_TRUE(toolbar && status);
    EXPECT_TRUE(toolbar->isChecked());
    toolbar->trigger();
    EXPECT_FALSE(ToolBar()->isVisible());
    EXPECT_FALSE(toolbar->isChecked());
    status->trigger();
    EXPECT_FALSE(Window()->statusBar()->isVisible());
    EXPECT_FALSE(status->isChecked());
    toolbar->trigger();
    EXPECT_TRUE(ToolBar()->isVisible());
    EXPECT_TRUE(toolbar->isChecked());
}

// The colour and thickness bars share the bottom line, move like the toolbar and come and go
// from the View menu, each on its own.
TEST_F(AppTest, BottomBarsAreDockableAndToggledInTheViewMenu)
{
    ASSERT_TRUE(Start());
    const struct {
        QToolBar* bar;
        const char* title;
        const char* item;
    } bars[] = {{ColorBar(), "색 상자", "색 상자(&C)"},
                {ThicknessBar(), "굵기 상자", "굵기 상자(&W)"}};
    for (const auto& b : bars) {
        SCOPED_TRACE(b.title);
        ASSERT_NE(b.bar, nullptr);
        EXPECT_EQ(Window()->toolBarArea(b.bar), Qt::BottomToolBarArea);
        EXPECT_EQ(b.bar->windowTitle(), QString::fromUtf8(b.title));
        EXPECT_TRUE(b.bar->isMovable() && b.bar->isFloatable());
        QAction* item = MenuItem(QString::fromUtf8(b.item));
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isChecked());
        item->trigger();
        EXPECT_FALSE(b.bar->isVisible());
        EXPECT_FALSE(item->isChecked());
        for (const auto& other : bars)
            EXPECT_EQ(other.bar->isVisible(), other.bar != b.bar);
        EXPECT_TRUE(ToolBar()->isVisible());
        item->trigger();
        EXPECT_TRUE(b.bar->isVisible());
    }
    EXPECT_EQ(ColorBar()->y(), ThicknessBar()->y());
    EXPECT_LT(ColorBar()->x(), ThicknessBar()->x());
    // Docked at a side, the swatches stand in two columns.
    QWidget* swatches = ColorBar()->widgetForAction(ColorBar()->actions().value(0));
    ASSERT_NE(swatches, nullptr);
    EXPECT_GT(swatches->sizeHint().width(), 4 * swatches->sizeHint().height());
    Window()->addToolBar(Qt::LeftToolBarArea, ColorBar());
    EXPECT_GT(swatches->sizeHint().height(), 4 * swatches->sizeHint().width());
}

// A click on a swatch sets the outline colour, a right click the fill colour, and the pair
// shows both; a double click on either part of the pair opens the dialog on that colour.
TEST_F(AppTest, ColorBarClicksSetTheColorsAndThePairOpensTheDialog)
{
    ASSERT_TRUE(Start());
    QWidget* swatches = ColorBar()->widgetForAction(ColorBar()->actions().value(0));
    ASSERT_NE(swatches, nullptr);
    // Where a colour shows on the bar: the leftmost pixel of it (the pair lies left of the
    // swatches), or the rightmost (a swatch).
    const auto find = [swatches](const QColor& color, bool leftmost) {
        const QImage shown = swatches->grab().toImage();
        std::optional<QPoint> at;
        for (int x = 0; x < shown.width(); ++x)
            for (int y = 0; y < shown.height(); ++y)
                if (shown.pixelColor(x, y) == color && (!at || !leftmost))
                    at = QPoint(x, y);
        return at.value_or(QPoint(-1, -1));
    };
    const QColor red(255, 0, 0), blue(0, 0, 255);
    QTest::mouseClick(swatches, Qt::LeftButton, {}, find(red, false));
    QTest::mouseClick(swatches, Qt::RightButton, {}, find(blue, false));
    EXPECT_EQ(View()->LineColor(), RGB(255, 0, 0));
    EXPECT_EQ(View()->FillColor(), RGB(0, 0, 255));
    const QPoint line = find(red, true), fill = find(blue, true);
    EXPECT_LT(line.x(), find(red, false).x() - 20);
    EXPECT_LT(fill.x(), find(blue, false).x() - 20);

    QColor opened;
    ModalAnswers answers({[&opened](QWidget* w) {
                              opened = qobject_cast<QColorDialog*>(w)->currentColor();
                              qobject_cast<QColorDialog*>(w)->setCurrentColor(QColor(1, 2, 3));
                              static_cast<QDialog*>(w)->accept();
                          },
                          [&opened](QWidget* w) {
                              opened = qobject_cast<QColorDialog*>(w)->currentColor();
                              static_cast<QDialog*>(w)->reject();
                          }});
    QTest::mouseDClick(swatches, Qt::LeftButton, {}, line);
    EXPECT_EQ(opened, red);
    EXPECT_EQ(View()->LineColor(), RGB(1, 2, 3));
    QTest::mouseDClick(swatches, Qt::LeftButton, {}, fill);
    EXPECT_EQ(opened, blue);
    EXPECT_EQ(View()->FillColor(), RGB(0, 0, 255));
    EXPECT_EQ(answers.Answered(), 2);
}

// The thickness buttons, the Thickness menu, the [ and ] keys and the status pane move
// together; the keys stop at 1 and 7.
TEST_F(AppTest, ThicknessButtonsKeysMenuAndPaneAgree)
{
    ASSERT_TRUE(Start());
    Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window()));
    const UINT ids[] = {ID_WIDTH_1, ID_WIDTH_2, ID_WIDTH_3, ID_WIDTH_4,
                        ID_WIDTH_5, ID_WIDTH_6, ID_WIDTH_7};
    const auto expectShown = [&](int width) {
        Frame()->UpdateCommandStates();
        EXPECT_EQ(View()->Thickness(), width);
        for (int w = 1; w <= 7; ++w) {
            const auto* button =
                qobject_cast<QToolButton*>(ThicknessBar()->widgetForAction(Button(ids[w - 1])));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->isChecked(), w == width) << w;
            EXPECT_EQ(MenuItem(QString::number(w))->isChecked(), w == width) << w;
        }
        EXPECT_EQ(Window()->statusBar()->findChild<QLabel*>("pane3")->text(),
                  QStringLiteral("굵기 %1").arg(width));
    };
    expectShown(1);
    QTest::keyClick(Window(), Qt::Key_BracketLeft);
    expectShown(1);
    qobject_cast<QToolButton*>(ThicknessBar()->widgetForAction(Button(ID_WIDTH_5)))->click();
    expectShown(5);
    for (int width : {6, 7, 7}) {
        QTest::keyClick(Window(), Qt::Key_BracketRight);
        expectShown(width);
    }
    MenuItem(QStringLiteral("2"))->trigger();
    expectShown(2);
    QTest::keyClick(Window(), Qt::Key_BracketLeft);
    expectShown(1);
}

} // namespace
