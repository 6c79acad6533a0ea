#pragma once

#include "app/TDotvane.h"
#include "app/WindowHost.h"

#include <QMainWindow>
#include <QSystemTrayIcon>

#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;

namespace dotvane {

class MessageBoxes;
class VirtualDisplayView;

// The Qt window: menu bar, tray icon and its pop-up menu, the virtual display
// and the status line. It hosts TDotvane, which holds the program's logic.
// Its message boxes are shown through `boxes`, which a stop request can
// close while the window is still being made.
class MainWindow : public QMainWindow, public WindowHost {
    Q_OBJECT
public:
    MainWindow(std::string programFolder, MessageBoxes& boxes);
    ~MainWindow() override;

    TDotvane& Logic() { return *logic_; }
    QLabel* StatusLine() const { return statusLine_; }
    QSystemTrayIcon* TrayIcon() const { return trayIcon_; }

    // WindowHost
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    std::string StatusText() const override;
    void OpenUrl(const std::string& address) override;
    void ProcessMessages() override;
    std::unique_ptr<Timer> CreateTimer(int32_t interval) override;
    bool HasWindow() const override { return true; }
    void SetDisplaySize(int32_t width, int32_t height) override;
    void ShowWindow() override;
    void HideWindow() override;
    void CloseWindow() override;
    void SetPauseTick(bool ticked) override;
    void SetEnabledOnlyTick(bool ticked) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createTrayIcon();
    void createStatusBar();
    void ShowBox(const std::string& text, bool error);

    VirtualDisplayView* view_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QSystemTrayIcon* trayIcon_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* reloadAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* nextAction_ = nullptr;
    QAction* previousAction_ = nullptr;
    QAction* pauseAction_ = nullptr;
    QAction* enabledOnlyAction_ = nullptr;
    QAction* helpWebAction_ = nullptr;
    QAction* websiteAction_ = nullptr;
    QAction* popupNextAction_ = nullptr;
    QAction* popupPreviousAction_ = nullptr;
    QAction* popupPauseAction_ = nullptr;
    QAction* showAction_ = nullptr;
    QAction* minimizeAction_ = nullptr;
    QAction* popupExitAction_ = nullptr;
    MessageBoxes& boxes_;
    bool closed_ = false;
    std::unique_ptr<TDotvane> logic_;
};

}  // namespace dotvane
