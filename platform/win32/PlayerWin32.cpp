#include "platform/Player.h"
#include "platform/SystemPlayer.h"

#include "platform/win32/Win32Api.h"

#include <map>
#include <memory>
#include <utility>

namespace dotvane::platform {
namespace {

constexpr const char* kPlayerClass = "Winamp v1.x";
// The title is read into a buffer of this many characters, the terminator
// included.
constexpr int kTitleBuffer = 2048;
// How long a query waits for the player's answer, and how long a player
// that let that time run out is then left alone.
constexpr UINT kAnswerTime = 100;
constexpr ULONGLONG kRestTime = 15000;

// The Winamp main window: found by its class alone, asked with WM_USER
// messages, its title read as window text. A player that does not answer
// within kAnswerTime (hung, or busy) is not asked again for kRestTime, and
// its last answers stand in meanwhile, so it never holds up a refresh for
// long.
class WindowPlayer : public Player {
public:
    bool FindWindow() override
    {
        const HWND found = ::FindWindowA(kPlayerClass, nullptr);
        // Another player's answers and rest are not this one's.
        if (found != window_) {
            lastAnswers_.clear();
            lastText_.clear();
        }
        window_ = found;
        return window_ != nullptr;
    }

    // The reply is the low 32 bits of the message result, taken as signed.
    int32_t SendQuery(int32_t data, int32_t command) override
    {
        if (window_ == nullptr) return 0;
        int32_t& last = lastAnswers_[{data, command}];
        if (Resting()) return last;
        DWORD_PTR reply = 0;
        if (::SendMessageTimeoutA(window_, WM_USER, static_cast<WPARAM>(data), static_cast<LPARAM>(command),
                                  SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerTime, &reply) == 0) {
            restingWindow_ = window_;
            restUntil_ = ::GetTickCount64() + kRestTime;
            return last;
        }
        last = static_cast<int32_t>(static_cast<uint32_t>(reply));
        return last;
    }

    std::string WindowText() override
    {
        if (window_ == nullptr) return {};
        if (Resting()) return lastText_;
        char buffer[kTitleBuffer];
        const int length = ::GetWindowTextA(window_, buffer, kTitleBuffer);
        lastText_ = length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
        return lastText_;
    }

private:
    bool Resting() const { return window_ == restingWindow_ && ::GetTickCount64() < restUntil_; }

    HWND window_ = nullptr;
    std::map<std::pair<int32_t, int32_t>, int32_t> lastAnswers_;
    std::string lastText_;
    HWND restingWindow_ = nullptr;
    ULONGLONG restUntil_ = 0;
};

}  // namespace

Player& SystemPlayer()
{
    static WindowPlayer player;
    return player;
}

std::unique_ptr<Player> CreateSystemPlayer() { return std::make_unique<WindowPlayer>(); }

}  // namespace dotvane::platform
