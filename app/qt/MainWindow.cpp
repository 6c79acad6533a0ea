#include "app/qt/MainWindow.h"

#include "app/Edition.h"
#include "app/qt/AppIcon.h"
#include "app/qt/MessageBoxes.h"
#include "app/qt/QtTimer.h"
#include "app/qt/VirtualDisplayView.h"
#include "base/RgbImage.h"
#include "platform/qt/QtText.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QUrl>

namespace dotvane {
namespace {
// The status line below the virtual display.
constexpr int kStatusLineHeight = 19;
}

MainWindow::MainWindow(std::string programFolder, MessageBoxes& boxes) : boxes_(boxes)
{
    setWindowTitle(ProgramCaption());
    setWindowIcon(DotvaneIcon());
    move(268, 120);
    QPalette face = palette();
    face.setColor(QPalette::Window, QColor::fromRgb(PixelOf(clBtnFace)));
    setPalette(face);

    view_ = new VirtualDisplayView(this);
    setCentralWidget(view_);
    createActions();
    createMenus();
    createStatusBar();
    createTrayIcon();

    logic_ = std::make_unique<TDotvane>(*this, std::move(programFolder));
    logic_->Render().SetPresentHandler(
        [this](const RgbImage& picture, const Rect& changed) { view_->ShowPicture(picture, changed); });
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions()
{
    auto action = [this](const char* caption, const char* shortcut, void (TDotvane::*command)()) {
        QAction* a = new QAction(tr(caption), this);
        if (shortcut) a->setShortcut(QKeySequence(tr(shortcut)));
        connect(a, &QAction::triggered, this, [this, command] { (logic_.get()->*command)(); });
        return a;
    };
    reloadAction_ = action("Reload", "Ctrl+R", &TDotvane::Reload1Click);
    exitAction_ = action("Exit", nullptr, &TDotvane::Exit2Click);
    nextAction_ = action("Next", "Ctrl+X", &TDotvane::Next1Click);
    previousAction_ = action("Previous", "Ctrl+Z", &TDotvane::Previous1Click);
    pauseAction_ = action("Pause", "Ctrl+P", &TDotvane::Pause1Click);
    enabledOnlyAction_ = action("Enabled only", nullptr, &TDotvane::Enabledonly1Click);
    helpWebAction_ = action("Help (web)", nullptr, &TDotvane::Helpweb1Click);
    websiteAction_ = action("Dotvane Home Page", nullptr, &TDotvane::Website1Click);
    popupNextAction_ = action("Next", nullptr, &TDotvane::Next1Click);
    popupPreviousAction_ = action("Previous", nullptr, &TDotvane::Previous1Click);
    popupPauseAction_ = action("Pause", nullptr, &TDotvane::Pause1Click);
    showAction_ = action("Show", nullptr, &TDotvane::PopUpMenu1_ShowClick);
    minimizeAction_ = action("Minimize", nullptr, &TDotvane::PopUpMenu1_MinimizeClick);
    popupExitAction_ = action("Exit", nullptr, &TDotvane::PopUpMenu1_ExitClick);
    popupExitAction_->setToolTip(tr("Exit Dotvane"));
    popupExitAction_->setStatusTip(tr("Exit Dotvane"));
    for (QAction* tick : {pauseAction_, enabledOnlyAction_, popupPauseAction_}) tick->setCheckable(true);
}

void MainWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(tr("File"));
    file->addAction(reloadAction_);
    file->addAction(exitAction_);
    QMenu* screen = menuBar()->addMenu(tr("Screen"));
    screen->addAction(nextAction_);
    screen->addAction(previousAction_);
    screen->addAction(pauseAction_);
    screen->addAction(enabledOnlyAction_);
    QMenu* help = menuBar()->addMenu(tr("Help"));
    help->addAction(helpWebAction_);
    help->addAction(websiteAction_);

    popupMenu_ = new QMenu(this);
    popupMenu_->setToolTipsVisible(true);
    for (QAction* a : {popupNextAction_, popupPreviousAction_, popupPauseAction_, showAction_, minimizeAction_,
                       popupExitAction_})
        popupMenu_->addAction(a);
}

void MainWindow::createStatusBar()
{
    statusLine_ = new QLabel(this);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(statusLine_, 1);
    statusBar()->setFixedHeight(kStatusLineHeight);
}

void MainWindow::createTrayIcon()
{
    // Without a notification area nothing could bring a hidden window back,
    // so the program then runs without the icon and only minimises.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    trayIcon_ = new QSystemTrayIcon(DotvaneIcon(), this);
    trayIcon_->setToolTip(tr("Dotvane"));
    trayIcon_->setContextMenu(popupMenu_);
    connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) logic_->TrayIconDoubleClick();
    });
    trayIcon_->show();
}

void MainWindow::ShowBox(const std::string& text, bool error)
{
    // Once the window has closed, a network wait that its closing cancelled
    // may still report; there is no window left to report to.
    if (closed_) return;
    boxes_.Show(isVisible() ? this : nullptr, text, error);
}

void MainWindow::ShowMessage(const std::string& text) { ShowBox(text, false); }

void MainWindow::ShowError(const std::string& text) { ShowBox(text, true); }

void MainWindow::SetStatusText(const std::string& text)
{
    statusLine_->setText(ToQString(text));
}

std::string MainWindow::StatusText() const { return FromQString(statusLine_->text()); }

void MainWindow::OpenUrl(const std::string& address) { QDesktopServices::openUrl(QUrl(QString::fromStdString(address))); }

void MainWindow::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

std::unique_ptr<Timer> MainWindow::CreateTimer(int32_t interval) { return std::make_unique<QtTimer>(interval); }

void MainWindow::SetDisplaySize(int32_t width, int32_t height)
{
    // However small the display, the menu bar keeps room for all its menus.
    const QSize view = VirtualDisplayView::SizeFor(width, height);
    view_->setFixedSize(std::max(view.width(), menuBar()->sizeHint().width()), view.height());
    setFixedSize(sizeHint());
}

void MainWindow::ShowWindow()
{
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::HideWindow()
{
    if (trayIcon_ != nullptr)
        hide();
    else if (!isMinimized())
        showMinimized();
}

void MainWindow::CloseWindow() { close(); }

void MainWindow::SetPauseTick(bool ticked)
{
    pauseAction_->setChecked(ticked);
    popupPauseAction_->setChecked(ticked);
}

void MainWindow::SetEnabledOnlyTick(bool ticked) { enabledOnlyAction_->setChecked(ticked); }

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !logic_) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (isMinimized())
        logic_->HideWindow();
    else if (trayIcon_ == nullptr && (change->oldState() & Qt::WindowMinimized))
        logic_->PopUpMenu1_ShowClick();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!closed_) {
        closed_ = true;
        logic_->FormClose();
        if (trayIcon_) trayIcon_->hide();
    }
    event->accept();
    QCoreApplication::quit();
}

}  // namespace dotvane
