#include "app/win32/WindowProgram.h"

#include "app/NoticeText.h"
#include "app/win32/MainWindow.h"
#include "app/win32/ShellNotificationArea.h"
#include "platform/FileNames.h"

#include <objbase.h>

#include <exception>

namespace dotvane {
namespace {

// COM for the thread's lifetime in the program: the image decoder (WIC)
// works in this apartment.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment()
    {
        if (initialised_) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    const bool initialised_;
};

}  // namespace

int RunWindowProgram(HINSTANCE instance)
{
    const ComApartment com;
    ShellNotificationArea tray;
    try {
        MainWindow window(instance, platform::ProgramFolder(), tray);
        window.Show();
        return window.Run();
    } catch (const std::exception& error) {
        ::MessageBoxA(nullptr, CutNotice(error.what()).c_str(), "Error", MB_OK | MB_ICONERROR);
        return 0;
    }
}

}  // namespace dotvane
