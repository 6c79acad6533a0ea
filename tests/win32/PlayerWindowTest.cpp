// The Winamp variables on Windows against a real top-level window of the
// player's class, owned by a thread of its own as the player's window would
// be by its own process, answering the WM_USER queries from a table.
#include "platform/Player.h"
#include "platform/SystemPlayer.h"

#include "tests/support/Variables.h"

#include "platform/win32/Win32Api.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace dotvane::test {
namespace {

using Query = std::pair<WPARAM, LPARAM>;

// A window whose class and title are given and whose WM_USER replies come
// from `replies` (0 for a query not listed). It lives on a thread with a
// message loop until the object goes away.
class PeerWindow {
public:
    PeerWindow(const char* windowClass, std::string title, std::map<Query, LRESULT> replies, bool stalls = false)
        : replies_(std::move(replies)), stalls_(stalls)
    {
        thread_ = std::thread([this, windowClass, title] { Run(windowClass, title); });
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return started_; });
    }

    ~PeerWindow()
    {
        Release();
        if (window_ != nullptr) ::PostMessageA(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }

    // Lets a window that stalls answer again.
    void Release()
    {
        {
            std::lock_guard lock(mutex_);
            stalls_ = false;
        }
        released_.notify_all();
    }

    PeerWindow(const PeerWindow&) = delete;
    PeerWindow& operator=(const PeerWindow&) = delete;

    HWND Window() const { return window_; }
    std::vector<Query> Queries() const
    {
        std::lock_guard lock(mutex_);
        return queries_;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<PeerWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr && message == WM_USER) {
            std::unique_lock lock(self->mutex_);
            self->queries_.push_back({wParam, lParam});
            // A stalling player answers only once it is released, as a hung
            // one never does.
            self->released_.wait(lock, [self] { return !self->stalls_; });
            const auto reply = self->replies_.find({wParam, lParam});
            return reply == self->replies_.end() ? 0 : reply->second;
        }
        if (message == WM_DESTROY) ::PostQuitMessage(0);
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    void Run(const char* windowClass, const std::string& title)
    {
        WNDCLASSA description{};
        description.lpfnWndProc = Procedure;
        description.hInstance = ::GetModuleHandleA(nullptr);
        description.lpszClassName = windowClass;
        ::RegisterClassA(&description);  // Fails harmlessly when a window before registered it.
        window_ = ::CreateWindowExA(0, windowClass, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 275, 116, nullptr,
                                    nullptr, description.hInstance, this);
        {
            std::lock_guard lock(mutex_);
            started_ = true;
        }
        ready_.notify_all();
        if (window_ == nullptr) return;
        MSG message;
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }

    std::map<Query, LRESULT> replies_;
    bool stalls_;
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable released_;
    bool started_ = false;
    std::vector<Query> queries_;
    HWND window_ = nullptr;
    std::thread thread_;
};

constexpr const char* kWinampClass = "Winamp v1.x";

// Playing track 1 of 12, at 2:05 of 10:00, 44 kHz, 64 kbit/s, mono.
const std::map<Query, LRESULT> kPlaying{{{0, 104}, 1},  {{0, 105}, 125400}, {{1, 105}, 600}, {{0, 126}, 44},
                                        {{1, 126}, 64}, {{2, 126}, 1},      {{0, 125}, 0},   {{0, 124}, 12}};

class PlayerWindowTest : public test::VariablesTest {};

TEST_F(PlayerWindowTest, WindowOfThePlayersClassAnswersEveryVariable)
{
    PeerWindow winamp(kWinampClass, "12. Artist - Song - Winamp", kPlaying);
    ASSERT_NE(winamp.Window(), nullptr);
    EXPECT_EQ(ExpandLine("$winamptitle$"), "Artist - Song");
    EXPECT_EQ(ExpandLine("$winampstatus$"), "playing");
    EXPECT_EQ(ExpandLine("$winamptrackpos$"), "2:05");
    EXPECT_EQ(ExpandLine("$winamptracklen$"), "10:00");
    EXPECT_EQ(ExpandLine("$winampsamplerate$"), "44");
    EXPECT_EQ(ExpandLine("[$winampbitrate$]"), "[ 64]");
    EXPECT_EQ(ExpandLine("[$winampchannels$]"), "[  Mono]");
    EXPECT_EQ(ExpandLine("$winamptracknum$/$winamptracktotal$"), "1/12");
}

TEST_F(PlayerWindowTest, DataWordAndCommandTravelAsWParamAndLParam)
{
    PeerWindow winamp(kWinampClass, "Song - Winamp", kPlaying);
    ExpandLine("$winampstatus$$winamptracklen$$winampchannels$$winamptracktotal$");
    EXPECT_EQ(winamp.Queries(), (std::vector<Query>{{0, 104}, {1, 105}, {2, 126}, {0, 124}}));
}

TEST_F(PlayerWindowTest, RepliesAreTheLowThirtyTwoBitsTakenAsSigned)
{
    PeerWindow winamp(kWinampClass, "Song - Winamp",
                      {{{0, 126}, -1}, {{1, 126}, static_cast<LRESULT>(0x100000080LL)}, {{0, 104}, 3}});
    EXPECT_EQ(ExpandLine("$winampsamplerate$"), "-1");
    EXPECT_EQ(ExpandLine("$winampbitrate$"), "128");
    EXPECT_EQ(ExpandLine("$winampstatus$"), "paused");
}

TEST_F(PlayerWindowTest, TitleOfAStoppedPlayerWithoutTheSuffixIsEmpty)
{
    PeerWindow winamp(kWinampClass, "Winamp 2.91", {});
    EXPECT_EQ(ExpandLine("[$winamptitle$]"), "[]");
    EXPECT_EQ(ExpandLine("$winampstatus$"), "stopped");
}

TEST_F(PlayerWindowTest, LongTitleIsReadUpTo2047Characters)
{
    const std::string artist(2040, 'a');
    PeerWindow winamp(kWinampClass, artist + " - Song - Winamp", {});
    // The suffix lies beyond the 2047 characters read, so it is not found.
    EXPECT_EQ(ExpandLine("[$winamptitle$]"), "[]");
    ASSERT_TRUE(platform::PlayerService::Current().FindWindow());
    EXPECT_EQ(platform::PlayerService::Current().WindowText().size(), 2047u);
}

TEST_F(PlayerWindowTest, OnlyTheClassCountsNotTheTitle)
{
    PeerWindow other("Some Other Player", "3. Artist - Song - Winamp", kPlaying);
    EXPECT_FALSE(platform::PlayerService::Current().FindWindow());
    EXPECT_EQ(ExpandLine("[$winamptitle$]"), "[]");
    EXPECT_EQ(ExpandLine("$winampstatus$"), "stopped");
    EXPECT_TRUE(other.Queries().empty());
}

TEST_F(PlayerWindowTest, WithoutPlayerEveryQueryAnswersZero)
{
    ASSERT_EQ(::FindWindowA(kWinampClass, nullptr), nullptr);
    EXPECT_EQ(ExpandLine("$winampstatus$"), "stopped");
    EXPECT_EQ(ExpandLine("$winamptrackpos$ $winamptracklen$"), "0:00 0:00");
    EXPECT_EQ(ExpandLine("[$winamptitle$]"), "[]");
    EXPECT_EQ(ExpandLine("[$winampbitrate$][$winampchannels$]"), "[  0][     ?]");
    EXPECT_EQ(ExpandLine("$winamptracknum$ $winamptracktotal$ $winampsamplerate$"), "1 0 0");
}

TEST_F(PlayerWindowTest, TheProgramsPlayerIsTheWindowPlayerToo)
{
    PeerWindow winamp(kWinampClass, "7. Band - Tune - Winamp", kPlaying);
    const std::unique_ptr<platform::Player> player = platform::CreateSystemPlayer();
    ASSERT_TRUE(player->FindWindow());
    EXPECT_EQ(player->SendQuery(1, 126), 64);
    EXPECT_EQ(player->WindowText(), "7. Band - Tune - Winamp");
}

// A player that does not answer holds up a line of every player variable
// for one wait of 100 ms, then stays alone with its last answers.
TEST_F(PlayerWindowTest, APlayerThatDoesNotAnswerIsWaitedForOnceBriefly)
{
    PeerWindow winamp(kWinampClass, "12. Artist - Song - Winamp", kPlaying, true);
    // A watchdog lets it answer after five seconds, so that a player asked
    // without a time limit fails this test instead of hanging it.
    const HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread watchdog([&winamp, done] {
        ::WaitForSingleObject(done, 5000);
        winamp.Release();
    });
    const ULONGLONG start = ::GetTickCount64();
    const std::string line = ExpandLine("$winampstatus$ $winamptrackpos$ $winamptracklen$ $winampbitrate$ $winamptitle$");
    const ULONGLONG took = ::GetTickCount64() - start;
    ExpandLine("$winampstatus$ $winampchannels$");
    const ULONGLONG twice = ::GetTickCount64() - start;
    EXPECT_LT(took, 1000u);
    EXPECT_LT(twice, 1000u);
    // Nothing answered yet: every value as without a player.
    EXPECT_EQ(line, "stopped 0:00 0:00   0 ");
    EXPECT_EQ(winamp.Queries().size(), 1u);
    ::SetEvent(done);
    watchdog.join();
    ::CloseHandle(done);
}

TEST_F(PlayerWindowTest, PlayerThatQuitIsNoLongerFound)
{
    {
        PeerWindow winamp(kWinampClass, "Song - Winamp", kPlaying);
        EXPECT_EQ(ExpandLine("$winampstatus$"), "playing");
    }
    EXPECT_EQ(ExpandLine("$winampstatus$"), "stopped");
    EXPECT_FALSE(platform::PlayerService::Current().FindWindow());
}

}  // namespace
}  // namespace dotvane::test
