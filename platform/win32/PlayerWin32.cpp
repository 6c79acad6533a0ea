#include "platform/Player.h"
#include "platform/SystemPlayer.h"

#include "platform/win32/Win32Api.h"

#include <memory>

namespace dotvane::platform {
namespace {

constexpr const char* kPlayerClass = "Winamp v1.x";
// The title is read into a buffer of this many characters, the terminator
// included.
constexpr int kTitleBuffer = 2048;

// The Winamp main window: found by its class alone, asked with WM_USER
// messages sent synchronously, its title read as window text.
class WindowPlayer : public Player {
public:
    bool FindWindow() override
    {
        window_ = ::FindWindowA(kPlayerClass, nullptr);
        return window_ != nullptr;
    }

    // The reply is the low 32 bits of the message result, taken as signed.
    int32_t SendQuery(int32_t data, int32_t command) override
    {
        if (window_ == nullptr) return 0;
        const LRESULT reply = ::SendMessageA(window_, WM_USER, static_cast<WPARAM>(data), static_cast<LPARAM>(command));
        return static_cast<int32_t>(static_cast<uint32_t>(reply));
    }

    std::string WindowText() override
    {
        if (window_ == nullptr) return {};
        char buffer[kTitleBuffer];
        const int length = ::GetWindowTextA(window_, buffer, kTitleBuffer);
        return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
    }

private:
    HWND window_ = nullptr;
};

}  // namespace

Player& SystemPlayer()
{
    static WindowPlayer player;
    return player;
}

std::unique_ptr<Player> CreateSystemPlayer() { return std::make_unique<WindowPlayer>(); }

}  // namespace dotvane::platform
