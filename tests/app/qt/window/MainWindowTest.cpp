#include "app/qt/MainWindow.h"

#include "app/qt/MessageBoxes.h"
#include "app/qt/StopRequestWatch.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QEventLoop>
#include <QPaintEvent>
#include <QTimer>

#include <csignal>
#include <vector>

namespace dotvane {
namespace {

// Records the parts of a widget that were painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) painted.push_back(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
    std::vector<QRegion> painted;
};

int OpenBoxes()
{
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) open += qobject_cast<QMessageBox*>(w) && w->isVisible();
    return open;
}

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<MainWindow> Open(std::string_view settings = "")
    {
        dir.Write("DOTVANE.INI", settings);
        dir.Write("screens/default.ini", "[Screen0]\nLine0=hello\n[Screen1]\nEnable=1\nLine0=one\n");
        auto window = std::make_unique<MainWindow>(dir.Folder(), boxes);
        window->show();
        QApplication::processEvents();
        return window;
    }
    QSize ClientArea(MainWindow& window)
    {
        return {window.centralWidget()->width(), window.centralWidget()->height() + window.statusBar()->height()};
    }

    test::TempDir dir;
    MessageBoxes boxes;
};

TEST_F(MainWindowTest, ClientAreaIsTheDoubledDisplayAboveTheStatusLine)
{
    auto window = Open();
    EXPECT_EQ(ClientArea(*window), QSize(257, 149));
    EXPECT_EQ(window->statusBar()->height(), 19);
    EXPECT_EQ(window->windowTitle(), "Dotvane v. 0.3.2 pre13 NT");
    EXPECT_EQ(window->pos(), QPoint(268, 120));
}

TEST_F(MainWindowTest, LargerDisplayGivesLargerClientArea)
{
    auto window = Open("[LCD]\nXPixels=240\nYPixels=128\n");
    EXPECT_EQ(ClientArea(*window), QSize(481, 277));
}

TEST_F(MainWindowTest, TinyDisplaySizesKeepTheMenuBarWhole)
{
    for (const char* size : {"XPixels=0\nYPixels=0", "XPixels=-5\nYPixels=-1073741834", "XPixels=1\nYPixels=1"}) {
        auto window = Open(std::string("[LCD]\n") + size + "\n");
        QMenuBar* bar = window->menuBar();
        EXPECT_GE(window->width(), bar->sizeHint().width()) << size;
        // Every menu has its place on the bar, none is folded away.
        for (QAction* menu : bar->actions()) {
            const QRect place = bar->actionGeometry(menu);
            EXPECT_TRUE(bar->rect().contains(place)) << size << " " << menu->text().toStdString();
        }
        EXPECT_EQ(ClientArea(*window).height(), 23) << size;
        window->Logic().Render().RefreshScreen();
        EXPECT_EQ(window->Logic().Render().PresentedPicture().Bounds(), (Rect{0, 0, 1, 1})) << size;
    }
}

TEST_F(MainWindowTest, HugeDisplaySizesAreHeldTo1024Pixels)
{
    auto window = Open("[LCD]\nXPixels=100000\nYPixels=2147483647\n");
    EXPECT_EQ(ClientArea(*window), QSize(2049, 2069));
    window->Logic().Render().RefreshScreen();
    EXPECT_EQ(window->Logic().Render().PresentedPicture().Bounds(), (Rect{0, 0, 1024, 1024}));
}

TEST_F(MainWindowTest, MenusHaveTheirCaptionsShortcutsAndTicks)
{
    auto window = Open();
    QStringList found;
    for (QAction* menu : window->menuBar()->actions()) {
        found << menu->text();
        for (QAction* item : menu->menu()->actions())
            found << item->text() + "|" + item->shortcut().toString() + (item->isChecked() ? "|ticked" : "");
    }
    EXPECT_EQ(found, (QStringList{"File", "Reload|Ctrl+R", "Exit|", "Screen", "Next|Ctrl+X", "Previous|Ctrl+Z",
                                  "Pause|Ctrl+P", "Enabled only||ticked", "Help", "Help (web)|",
                                  "Dotvane Home Page|"}));
}

TEST_F(MainWindowTest, MenuCommandsReachTheLogic)
{
    auto window = Open();
    QAction* next = window->menuBar()->actions()[1]->menu()->actions()[0];
    next->trigger();
    EXPECT_EQ(window->StatusLine()->text(), "Next - Screen: 1");
    EXPECT_EQ(window->Logic().State().CurrentScreen, 1);
    QAction* pause = window->menuBar()->actions()[1]->menu()->actions()[2];
    pause->trigger();
    EXPECT_TRUE(pause->isChecked());
    EXPECT_TRUE(window->Logic().PauseTicked());
    pause->trigger();
    EXPECT_FALSE(pause->isChecked());
}

TEST_F(MainWindowTest, WithoutATrayMinimisingOnlyMinimises)
{
    auto window = Open();
    ASSERT_EQ(window->TrayIcon(), nullptr);  // the offscreen platform has no tray
    window->Logic().PopUpMenu1_MinimizeClick();
    QApplication::processEvents();
    EXPECT_FALSE(window->Logic().State().WindowShown);
    EXPECT_TRUE(window->isMinimized());
    window->Logic().PopUpMenu1_ShowClick();
    QApplication::processEvents();
    EXPECT_TRUE(window->Logic().State().WindowShown);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, TheSameMessageIsNeverStacked)
{
    auto window = Open();
    int boxesSeen = 0;
    int maxOpen = 0;
    // While the first box is open, the same message is asked for again and a
    // different one once; then every open box is closed.
    QTimer::singleShot(50, [&] {
        window->ShowMessage("same text");
        maxOpen = std::max(maxOpen, OpenBoxes());
        QTimer::singleShot(50, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    ++boxesSeen;
                    box->accept();
                }
        });
        window->ShowMessage("other text");
    });
    window->ShowMessage("same text");
    EXPECT_EQ(maxOpen, 1);
    EXPECT_EQ(boxesSeen, 2);
    // Once closed, the text may be shown again.
    QTimer::singleShot(20, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->accept();
    });
    window->ShowMessage("same text");
}

TEST_F(MainWindowTest, StatusLineAndMessagesShowLatin1Text)
{
    auto window = Open();
    window->SetStatusText("Caf\xE9 25\xB0");
    const QList<QLabel*> labels = window->statusBar()->findChildren<QLabel*>();
    ASSERT_FALSE(labels.empty());
    bool shown = false;
    for (const QLabel* label : labels) shown = shown || label->text() == QString::fromUtf8("Caf\xC3\xA9 25\xC2\xB0");
    EXPECT_TRUE(shown);
    EXPECT_EQ(window->StatusText(), "Caf\xE9 25\xB0");

    QString boxText;
    QTimer::singleShot(20, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                boxText = box->text();
                box->accept();
            }
    });
    window->ShowMessage("Could not load or display icon images\\gr\xF6\xDF" "e.bmp");
    EXPECT_EQ(boxText, QString::fromUtf8("Could not load or display icon images\\gr\xC3\xB6\xC3\x9F" "e.bmp"));
}

TEST_F(MainWindowTest, ClosingRunsTheShutdownAndSilencesLateMessages)
{
    auto window = Open();
    window->Logic().Exit2Click();
    EXPECT_FALSE(window->Logic().UpdateTimer1().Enabled());
    EXPECT_FALSE(window->Logic().changescreen_Timer1().Enabled());
    // After closing no box opens (one that did is counted and closed).
    int seen = 0;
    QTimer::singleShot(50, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                ++seen;
                box->accept();
            }
    });
    window->ShowMessage("Connection Canceled");
    QEventLoop wait;
    QTimer::singleShot(100, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_EQ(seen, 0);
}

TEST_F(MainWindowTest, AStopSignalClosesTheWindowAsFileExitDoes)
{
    platform::StopRequests requests;
    auto window = Open();
    const StopRequestWatch watch(requests, [&] { window->Logic().Exit2Click(); });
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer giveUp;
    QObject::connect(&giveUp, &QTimer::timeout, [] { QApplication::exit(99); });
    giveUp.start(30000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Logic().UpdateTimer1().Enabled());
    EXPECT_FALSE(window->Logic().changescreen_Timer1().Enabled());
}

TEST_F(MainWindowTest, PopupMenuHasItsItemsInOrder)
{
    auto window = Open();
    QMenu* popup = nullptr;
    for (QMenu* menu : window->findChildren<QMenu*>())
        if (menu->actions().size() == 6) popup = menu;
    ASSERT_NE(popup, nullptr);
    QStringList items;
    for (QAction* a : popup->actions()) items << a->text();
    EXPECT_EQ(items, (QStringList{"Next", "Previous", "Pause", "Show", "Minimize", "Exit"}));
    EXPECT_EQ(popup->actions().last()->toolTip(), "Exit Dotvane");
}

TEST_F(MainWindowTest, EachPresentedPictureIsShownAtTwiceItsSize)
{
    auto window = Open();
    QWidget* view = window->centralWidget();
    const QRgb yellow = qRgb(255, 255, 0);
    EXPECT_NE(view->grab().toImage().pixel(254, 126), yellow);
    window->Logic().UpdateTimer1Timer();
    QApplication::processEvents();
    const QImage shown = view->grab().toImage();
    EXPECT_EQ(shown.pixel(254, 126), yellow);
    // The left column of the "h" of "hello" fills two by two pixels.
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(1, 13)}) EXPECT_EQ(shown.pixel(p), qRgb(0, 0, 0)) << p.y();
    EXPECT_EQ(shown.pixel(1, 14), yellow);
}

TEST_F(MainWindowTest, OnlyAChangedPictureIsRepaintedAndOnlyWhereItChanged)
{
    auto window = Open();
    QWidget* view = window->centralWidget();
    TDotvane& logic = window->Logic();
    logic.UpdateTimer1Timer();
    QApplication::processEvents();
    PaintWatch watch(view);
    // "hello" again: the window is not asked to repaint.
    logic.UpdateTimer1Timer();
    logic.UpdateTimer1Timer();
    QApplication::processEvents();
    EXPECT_TRUE(watch.painted.empty());
    // One pixel of the picture changed: its 2 × 2 block is repainted.
    logic.Render().VlcdBitmap.image.SetPixel(100, 40, 0x0000FF);
    logic.Render().PresentVirtualDisplay();
    QApplication::processEvents();
    ASSERT_EQ(watch.painted.size(), 1u);
    EXPECT_EQ(watch.painted[0], QRegion(200, 80, 2, 2));
    EXPECT_EQ(view->grab().toImage().pixel(201, 81), qRgb(0, 0, 255));
}

TEST_F(MainWindowTest, ARepaintAskedForByTheSystemShowsTheKeptPicture)
{
    auto window = Open();
    QWidget* view = window->centralWidget();
    window->Logic().UpdateTimer1Timer();
    QApplication::processEvents();
    const QImage before = view->grab().toImage();
    // Covered and uncovered: the whole view is painted from the picture the
    // window keeps, without a refresh.
    PaintWatch watch(view);
    view->repaint();
    ASSERT_EQ(watch.painted.size(), 1u);
    EXPECT_EQ(watch.painted[0], QRegion(view->rect()));
    const QImage after = view->grab().toImage();
    EXPECT_EQ(after, before);
    EXPECT_EQ(after.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(after.pixel(254, 126), qRgb(255, 255, 0));
    // A part of it alone: that part shows the picture, the rest is left.
    view->repaint(QRect(0, 0, 3, 3));
    EXPECT_EQ(view->grab(QRect(0, 0, 3, 3)).toImage(), before.copy(0, 0, 3, 3));
}

}  // namespace
}  // namespace dotvane
