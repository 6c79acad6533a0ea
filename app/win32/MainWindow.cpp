#include "app/win32/MainWindow.h"

#include "app/Edition.h"
#include "app/win32/Resources.h"
#include "app/win32/Win32Timer.h"
#include "base/Colors.h"

#include <shellapi.h>

#include <algorithm>
#include <array>
#include <exception>
#include <stdexcept>
#include <string_view>

namespace dotvane {
namespace {

constexpr const char* kClassName = "DotvaneWindow";
// A caption, a system menu and a minimise box; the size follows the display.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kLeft = 268;
constexpr int kTop = 120;

struct Binding {
    UINT Command;
    void (TDotvane::*Run)();
};

// What each menu item and shortcut does; the pop-up items Next, Previous
// and Pause act as their namesakes in the Screen menu.
constexpr std::array<Binding, 14> kBindings{{
    {kReload, &TDotvane::Reload1Click},
    {kExit, &TDotvane::Exit2Click},
    {kNext, &TDotvane::Next1Click},
    {kPrevious, &TDotvane::Previous1Click},
    {kPause, &TDotvane::Pause1Click},
    {kEnabledOnly, &TDotvane::Enabledonly1Click},
    {kHelpWeb, &TDotvane::Helpweb1Click},
    {kWebsite, &TDotvane::Website1Click},
    {kPopupNext, &TDotvane::Next1Click},
    {kPopupPrevious, &TDotvane::Previous1Click},
    {kPopupPause, &TDotvane::Pause1Click},
    {kPopupShow, &TDotvane::PopUpMenu1_ShowClick},
    {kPopupMinimize, &TDotvane::PopUpMenu1_MinimizeClick},
    {kPopupExit, &TDotvane::PopUpMenu1_ExitClick},
}};

HICON ProgramIcon(HINSTANCE instance, int sizeMetric)
{
    const int size = ::GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        ::LoadImageA(instance, MAKEINTRESOURCEA(DOTVANE_ICON), IMAGE_ICON, size, size, LR_SHARED));
}

// Registers the window class once per module, then makes a hidden window
// of it at the window's place.
HWND CreateMainWindow(HINSTANCE instance, WNDPROC procedure, HMENU menuBar)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!::GetClassInfoExA(instance, kClassName, &windowClass)) {
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hIcon = ProgramIcon(instance, SM_CXICON);
        windowClass.hIconSm = ProgramIcon(instance, SM_CXSMICON);
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        ::RegisterClassExA(&windowClass);
    }
    const HWND window = ::CreateWindowExA(0, kClassName, ProgramCaption(), kStyle, kLeft, kTop, CW_USEDEFAULT,
                                          CW_USEDEFAULT, nullptr, menuBar, instance, nullptr);
    if (window == nullptr)
        throw std::runtime_error("Cannot create the main window: Error #" + std::to_string(::GetLastError()));
    return window;
}

RECT ToRECT(const Rect& r) { return {r.Left, r.Top, r.Right(), r.Bottom()}; }

bool Overlap(const RECT& a, const Rect& b)
{
    RECT common{};
    const RECT other = ToRECT(b);
    return ::IntersectRect(&common, &a, &other) != FALSE;
}

// The window's face in the program's own colour for it, not the desktop's.
COLORREF Face() { return ColorToRGB(clBtnFace); }

BOOL CALLBACK CloseStartBox(HWND window, LPARAM)
{
    char name[8] = "";
    ::GetClassNameA(window, name, sizeof name);
    // A message box is a dialog of the class #32770; OK answers it.
    if (std::string_view(name) == "#32770") ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, std::string programFolder, NotificationArea& tray)
    : MainWindow(instance, std::move(programFolder), tray, nullptr)
{
}

MainWindow::MainWindow(HINSTANCE instance, std::string programFolder, NotificationArea& tray, Display& display)
    : MainWindow(instance, std::move(programFolder), tray, &display)
{
}

MainWindow::MainWindow(HINSTANCE instance, std::string programFolder, NotificationArea& tray, Display* display)
    : instance_(instance),
      tray_(tray),
      taskbarCreated_(::RegisterWindowMessageA("TaskbarCreated")),
      window_(CreateMainWindow(instance, &MainWindow::WindowProc, menus_.Bar()))
{
    // Messages reach the handlers from here on; those of the window's
    // creation went to the default procedure.
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Explorer, which announces its restart, may run with fewer rights than
    // the program (run as administrator to install the port driver).
    if (taskbarCreated_ != 0) ::ChangeWindowMessageFilterEx(window_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    // Where no icon can be made, the program runs without one and
    // minimising only minimises.
    trayShown_ = tray_.Add(window_, kTrayMessage, ProgramIcon(instance_, SM_CXSMICON), "Dotvane");
    try {
        logic_ = display != nullptr ? std::make_unique<TDotvane>(*this, std::move(programFolder), *display)
                                    : std::make_unique<TDotvane>(*this, std::move(programFolder));
    } catch (...) {
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        if (trayShown_) tray_.Remove(window_);
        ::DestroyWindow(window_);
        throw;
    }
    logic_->Render().SetPresentHandler([this](const RgbImage& picture, const Rect& changed) {
        const RECT part = ToRECT(view_.Presented(picture, changed));
        if (!::IsRectEmpty(&part)) ::InvalidateRect(window_, &part, FALSE);
    });
    if (closeDuringStart_) ::PostMessageA(window_, WM_CLOSE, 0, 0);
}

MainWindow::~MainWindow()
{
    // A window still there was not closed through its message loop (tests
    // destroy it directly): it goes without asking a loop to end.
    if (::IsWindow(window_)) {
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        if (trayShown_) tray_.Remove(window_);
        ::DestroyWindow(window_);
    }
    // Destroying the logic unloads the port library and removes a driver
    // service that the program installed.
    logic_.reset();
}

void MainWindow::Show()
{
    if (closeDuringStart_) return;
    // As the program was started: one started minimised goes to the tray.
    ::ShowWindow(window_, SW_SHOWDEFAULT);
    ::UpdateWindow(window_);
}

int MainWindow::Run()
{
    MSG message{};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) Dispatch(message);
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

void MainWindow::Dispatch(MSG& message)
{
    // The shortcuts are the window's own: keys meant for a message box stay
    // the box's.
    if (message.hwnd == window_ && ::TranslateAcceleratorA(window_, menus_.Accelerators(), &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
}

void MainWindow::ProcessMessages()
{
    MSG message{};
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

void MainWindow::SetStatusText(const std::string& text)
{
    if (text == status_.Text()) return;
    status_.SetText(text);
    const RECT strip = ToRECT(layout_.StatusLine);
    ::InvalidateRect(window_, &strip, FALSE);
}

void MainWindow::OpenUrl(const std::string& address)
{
    ::ShellExecuteA(window_, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::unique_ptr<Timer> MainWindow::CreateTimer(int32_t interval)
{
    return std::make_unique<Win32Timer>(timers_, interval);
}

void MainWindow::SetDisplaySize(int32_t width, int32_t height)
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    layout_ = LayOutWindow(width, height, StatusLineHeight(dpi, status_.TextHeight()), MenuBarWidth());
    view_.SetArea(layout_.PictureArea);
    FitClient();
    ::InvalidateRect(window_, nullptr, FALSE);
}

int32_t MainWindow::MenuBarWidth() const
{
    int32_t width = 0;
    const int count = ::GetMenuItemCount(menus_.Bar());
    for (int item = 0; item < count; ++item) {
        RECT place{};
        if (::GetMenuItemRect(window_, menus_.Bar(), static_cast<UINT>(item), &place)) width += place.right - place.left;
    }
    return width;
}

void MainWindow::FitClient()
{
    if (::IsIconic(window_)) return;
    RECT frame{0, 0, layout_.ClientWidth, layout_.ClientHeight};
    ::AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The menu bar may take more rows than the frame counts (at a higher
    // resolution, or above a narrow display): measure, and correct.
    for (int attempt = 0; attempt < 4; ++attempt) {
        RECT client{};
        RECT outer{};
        ::GetClientRect(window_, &client);
        ::GetWindowRect(window_, &outer);
        const LONG wider = layout_.ClientWidth - client.right;
        const LONG higher = layout_.ClientHeight - client.bottom;
        if (wider == 0 && higher == 0) return;
        ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left + wider, outer.bottom - outer.top + higher,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::ShowWindow()
{
    ::ShowWindow(window_, ::IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(window_);
}

void MainWindow::HideWindow()
{
    if (trayShown_)
        ::ShowWindow(window_, SW_HIDE);
    else if (!minimized_)
        ::ShowWindow(window_, SW_MINIMIZE);
}

void MainWindow::CloseWindow() { ::SendMessageA(window_, WM_CLOSE, 0, 0); }

void MainWindow::ShowBox(const std::string& text, bool error)
{
    // Once the window has closed, a network wait that its closing cancelled
    // may still report; there is no window left to report to.
    if (closed_ || closeDuringStart_ || !openMessages_.insert(text).second) return;
    const HWND owner = ::IsWindowVisible(window_) ? window_ : nullptr;
    ::MessageBoxA(owner, text.c_str(), error ? "Error" : "Dotvane", MB_OK | (error ? MB_ICONERROR : 0));
    openMessages_.erase(text);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        OnTaskbarCreated();
        return 0;
    }
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        // The paint handler covers every pixel it is asked for.
        return 1;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case kTrayMessage:
        OnTray(LOWORD(lParam));
        return 0;
    case WM_SIZE:
        OnSize(wParam);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(window_, message, wParam, lParam);
    }
}

void MainWindow::OnPaint()
{
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(window_, &paint);
    const RECT& asked = paint.rcPaint;
    // Windows may give the client area more room than the layout asks for
    // (a window narrower than it allows): that room shows the face.
    const RECT right{std::max(asked.left, LONG{layout_.ClientWidth}), asked.top, asked.right, asked.bottom};
    const RECT below{asked.left, std::max(asked.top, LONG{layout_.ClientHeight}), asked.right, asked.bottom};
    for (const RECT& room : {right, below}) {
        if (::IsRectEmpty(&room)) continue;
        const HBRUSH face = ::CreateSolidBrush(Face());
        ::FillRect(dc, &room, face);
        ::DeleteObject(face);
    }
    const RgbImage* picture = logic_ ? &logic_->Render().PresentedPicture() : nullptr;
    view_.Paint(dc, picture, {asked.left, asked.top, asked.right - asked.left, asked.bottom - asked.top}, Face());
    if (Overlap(asked, layout_.StatusLine)) status_.Paint(dc, layout_.StatusLine, Face());
    ::EndPaint(window_, &paint);
}

void MainWindow::OnCommand(UINT command)
{
    if (!logic_ || closed_) return;
    for (const Binding& binding : kBindings) {
        if (binding.Command == command) {
            (logic_.get()->*binding.Run)();
            return;
        }
    }
}

void MainWindow::OnTimer(UINT_PTR id) { timers_.Fire(id); }

void MainWindow::OnTray(UINT mouseMessage)
{
    if (mouseMessage == WM_RBUTTONUP)
        ShowTrayMenu();
    else if (mouseMessage == WM_LBUTTONDBLCLK && logic_ && !closed_)
        logic_->TrayIconDoubleClick();
}

void MainWindow::ShowTrayMenu()
{
    POINT at{};
    ::GetCursorPos(&at);
    // Only a menu of the foreground window closes when the user clicks
    // elsewhere; the message after it lets the menu go for good.
    ::SetForegroundWindow(window_);
    const UINT command = static_cast<UINT>(::TrackPopupMenu(
        menus_.Popup(), TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, window_, nullptr));
    ::PostMessageA(window_, WM_NULL, 0, 0);
    if (command != 0) OnCommand(command);
}

void MainWindow::OnSize(WPARAM kind)
{
    if (!logic_ || closed_) return;
    if (kind == SIZE_MINIMIZED && !minimized_) {
        minimized_ = true;
        logic_->HideWindow();
    } else if (kind == SIZE_RESTORED && minimized_) {
        minimized_ = false;
        // Without a tray icon, restoring the window is the way back.
        if (!trayShown_) logic_->PopUpMenu1_ShowClick();
    }
}

void MainWindow::OnClose()
{
    if (!logic_) return CloseDuringStart();
    Shut();
    ::DestroyWindow(window_);
}

void MainWindow::OnEndSession(bool ending)
{
    if (!ending) return;
    if (!logic_) return CloseDuringStart();
    // The process may end as soon as this returns: the LCD is blanked and
    // the port released now, and where the process goes on, it ends as
    // after File > Exit.
    Shut();
    logic_->ReleasePort();
    ::DestroyWindow(window_);
}

void MainWindow::OnTaskbarCreated()
{
    if (closed_) return;
    // Explorer started again, with an empty notification area.
    trayShown_ = tray_.Add(window_, kTrayMessage, ProgramIcon(instance_, SM_CXSMICON), "Dotvane");
    if (!trayShown_ && !::IsWindowVisible(window_) && logic_) logic_->PopUpMenu1_ShowClick();
}

void MainWindow::OnMenuSelect(UINT item, UINT flags)
{
    // The flags 0xFFFF say that the menu closed.
    const bool command = flags != 0xFFFF && (flags & (MF_POPUP | MF_SEPARATOR)) == 0;
    const std::string hint = command ? WindowMenus::Hint(item) : "";
    if (hint == status_.Hint()) return;
    status_.SetHint(hint);
    const RECT strip = ToRECT(layout_.StatusLine);
    ::InvalidateRect(window_, &strip, FALSE);
}

void MainWindow::CloseDuringStart()
{
    closeDuringStart_ = true;
    ::EnumThreadWindows(::GetCurrentThreadId(), CloseStartBox, 0);
}

void MainWindow::Shut()
{
    if (closed_) return;
    closed_ = true;
    logic_->FormClose();
    if (trayShown_) tray_.Remove(window_);
    trayShown_ = false;
}

}  // namespace dotvane
