// Messages that no one should send the game, sent and posted from this other
// process: the runtime's private messages and the notifications a parent gets
// from its children, with extreme and random arguments, to the main window and
// to every control. The game must live through them and play on as before.
#include "tests/e2e/e2e.h"
#include <commctrl.h>
#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <map>
#include <random>
#include <vector>
#include "tests/support/input.h"

namespace {

// The runtime's private window messages, by number: the test links none of
// the game's code.
constexpr UINT MSG_ITEM_NOTIFY = 12501;
constexpr UINT MSG_ITEM_CLICK = 12502;
constexpr UINT MSG_CONTROL_EVENT = 13103;
constexpr UINT MSG_DROP = 13105;
constexpr UINT MSG_DROP_CONTROL = 13106;
constexpr UINT MSG_CONTROL_FORWARD = 13120;
// The game's own doorbell for trial records (WM_APP + 1).
constexpr UINT MSG_RECORDS_WAITING = 0x8001;

struct Named {
    UINT message;
    const char* name;
};
// WM_NOTIFY's and WM_DPICHANGED's lParam is a pointer that the system does
// not copy between processes: every value the game gets from here is a bad
// pointer.
constexpr Named HOSTILE_MESSAGES[] = {
    {WM_NOTIFY, "WM_NOTIFY"},
    {MSG_ITEM_NOTIFY, "MSG_ITEM_NOTIFY"},
    {MSG_ITEM_CLICK, "MSG_ITEM_CLICK"},
    {MSG_CONTROL_EVENT, "MSG_CONTROL_EVENT"},
    {MSG_DROP, "MSG_DROP"},
    {MSG_DROP_CONTROL, "MSG_DROP_CONTROL"},
    {MSG_CONTROL_FORWARD, "MSG_CONTROL_FORWARD"},
    {MSG_RECORDS_WAITING, "MSG_RECORDS_WAITING"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_HSCROLL, "WM_HSCROLL"},
    {WM_VSCROLL, "WM_VSCROLL"},
    {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
    {WM_CTLCOLORLISTBOX, "WM_CTLCOLORLISTBOX"},
    {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
    {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
    {WM_DPICHANGED, "WM_DPICHANGED"},
};

// The game's control numbers, which are also its children's ids.
constexpr int CONTROL_NUMBERS[] = {0, 1, 2, 9, 10};
constexpr WORD NOTIFICATION_CODES[] = {BN_CLICKED, BN_DOUBLECLICKED, EN_SETFOCUS, EN_KILLFOCUS,
                                       EN_CHANGE,  EN_UPDATE,        0xFFFF};

// A send waits this long at most, so that the test never hangs on the game.
constexpr UINT SEND_TIMEOUT_MS = 100;
// The delay maximum typed before the barrage: trials it starts are short.
constexpr int DELAY_MAX_S = 1;
// A trial ends at the latest 10 s after its go signal.
constexpr DWORD TRIAL_END_MS = (DELAY_MAX_S + 11) * 1000;

// Windows of this process, whose handles the game is given: a top-level one
// and two children whose ids are the spin's and the start button's numbers.
class OwnWindows {
public:
    OwnWindows()
    {
        top = CreateWindowExA(0, "STATIC", "not the game", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        child_0 = CreateWindowExA(0, "STATIC", "id 0", WS_CHILD, 0, 0, 10, 10, top,
                                  reinterpret_cast<HMENU>(0), GetModuleHandleA(nullptr), nullptr);
        child_1 = CreateWindowExA(0, "BUTTON", "id 1", WS_CHILD, 10, 0, 10, 10, top,
                                  reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    }
    ~OwnWindows()
    {
        if (top)
            DestroyWindow(top);
    }
    HWND top = nullptr;
    HWND child_0 = nullptr;
    HWND child_1 = nullptr;
};

LPARAM as_param(HWND window)
{
    return reinterpret_cast<LPARAM>(window);
}

// The seed: FLINCH_HOSTILE_SEED when set, to repeat a run; else the clock.
unsigned seed_for_this_run()
{
    if (const char* given = getenv("FLINCH_HOSTILE_SEED"))
        return static_cast<unsigned>(strtoul(given, nullptr, 0));
    return GetTickCount();
}

class HostileMessages : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        if (HasFatalFailure())
            return;
        const GameControls& c = game.controls();
        targets = {{"main window", game.window()},
                   {"spin's edit box", c.edit},
                   {"up-down", c.arrows},
                   {"start button", c.button},
                   {"caption", c.caption},
                   {"read-out", c.readout},
                   {"units", c.units},
                   {"status bar", c.status}};
    }

    // Extreme, small and random values, and handles of windows of both
    // processes, as wParam and lParam alike.
    std::vector<LPARAM> value_pool(std::mt19937& random) const
    {
        std::vector<LPARAM> pool = {0,
                                    -1,
                                    INT_MIN,
                                    INT_MAX,
                                    static_cast<LPARAM>(UINT_MAX),
                                    static_cast<LPARAM>(INTPTR_MIN),
                                    static_cast<LPARAM>(INTPTR_MAX)};
        for (int n = 1; n <= 20; ++n)
            pool.push_back(n);
        for (int id : CONTROL_NUMBERS)
            for (WORD code : NOTIFICATION_CODES)
                pool.push_back(static_cast<LPARAM>(MAKEWPARAM(id, code)));
        // Pointer-like: aligned addresses across the user address space.
        for (int i = 0; i < 16; ++i) {
            uint64_t p = random() & ~3u;
            if (sizeof(uintptr_t) > 4 && (i & 1))
                p |= static_cast<uint64_t>(random() & 0x7FFF) << 32;
            pool.push_back(static_cast<LPARAM>(static_cast<uintptr_t>(p)));
        }
        pool.push_back(static_cast<LPARAM>(0x00400000));  // where an image usually loads
        for (const auto& target : targets)
            pool.push_back(as_param(target.second));
        pool.push_back(as_param(GetDesktopWindow()));
        pool.push_back(as_param(own.top));
        pool.push_back(as_param(own.child_0));
        pool.push_back(as_param(own.child_1));
        return pool;
    }

    void send(HWND to, UINT message, LPARAM wparam, LPARAM lparam)
    {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutA(to, message, static_cast<WPARAM>(wparam), lparam, SMTO_ABORTIFHUNG,
                                 SEND_TIMEOUT_MS, &ignored)) {
            ++sends_unanswered;
            ++unanswered_by[message];
        }
        ++sent;
    }
    void post(HWND to, UINT message, LPARAM wparam, LPARAM lparam)
    {
        if (PostMessageA(to, message, static_cast<WPARAM>(wparam), lparam))
            ++posted;
    }

    // Returns once the game's thread has handled everything posted so far:
    // a posted limit change of the edit box is seen only after them.
    bool posted_messages_handled(DWORD ms = 20000)
    {
        const HWND edit = game.controls().edit;
        const LPARAM marker = 20000 + (++markers % 1000);
        if (!PostMessageA(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(marker), 0))
            return false;
        const double deadline = now_ms() + ms;
        while (now_ms() < deadline && game.running()) {
            DWORD_PTR limit = 0;
            if (SendMessageTimeoutA(edit, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, 1000, &limit) &&
                static_cast<LPARAM>(limit) == marker)
                return true;
            Sleep(2);
        }
        return false;
    }

    // No trial is in its delay or timing: the button is enabled and the status
    // bar shows neither the delay's nor the go text.
    bool idle() const
    {
        const std::string s = game.status();
        return IsWindowEnabled(game.controls().button) && s != status_says::DELAY &&
               s != status_says::GO;
    }
    bool wait_idle(DWORD ms) const
    {
        const double deadline = now_ms() + ms;
        do {
            if (idle())
                return true;
            Sleep(20);
        } while (now_ms() < deadline);
        return idle();
    }

    // One whole trial, played and checked as a person would see it.
    void play_a_correct_trial()
    {
        const GameControls& c = game.controls();
        game.to_front();
        ASSERT_TRUE(wait_idle(TRIAL_END_MS)) << game.status();
        ASSERT_TRUE(game.type_delay_max(DELAY_MAX_S))
            << "spin shows \"" << game.spin_text() << "\" at " << game.spin_position();
        game.click_start();
        ASSERT_TRUE(game.wait_status(status_says::DELAY, 3000)) << game.status();
        EXPECT_FALSE(IsWindowEnabled(c.button));
        EXPECT_FALSE(IsWindowEnabled(c.edit));
        EXPECT_EQ(game.readout(), "0.000");
        ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
        const double go_seen = now_ms();
        Sleep(250);
        const double pressed = now_ms();
        input_key_held(VK_SPACE, 60);
        ASSERT_TRUE(game.wait_status(status_says::AGAIN, 2000)) << game.status();
        Sleep(150);
        const std::string reading = game.readout();
        ASSERT_TRUE(is_reading(reading)) << reading;
        const double shown_ms = atof(reading.c_str()) * 1000.0;
        // The clock starts after the 50 ms beep; the read-out shows the last
        // pass before the press was seen.
        EXPECT_LE(shown_ms, pressed - go_seen + 20.0) << reading;
        EXPECT_GE(shown_ms, pressed - go_seen - 150.0) << reading;
        EXPECT_EQ(game.status(), status_says::AGAIN);
        EXPECT_TRUE(IsWindowEnabled(c.button));
        EXPECT_TRUE(IsWindowEnabled(c.edit));
        EXPECT_EQ(game.spin_text(), std::to_string(game.spin_position()));
        EXPECT_EQ(game.spin_position(), DELAY_MAX_S);
    }

    std::vector<std::pair<const char*, HWND>> targets;
    OwnWindows own;
    long sent = 0, sends_unanswered = 0, posted = 0, markers = 0;
    std::map<UINT, long> unanswered_by;
};

TEST_F(HostileMessages, TheGameLivesThroughThemAndThenPlaysACorrectTrial)
{
    ASSERT_TRUE(own.top && own.child_0 && own.child_1);
    ASSERT_TRUE(game.type_delay_max(DELAY_MAX_S));
    const unsigned seed = seed_for_this_run();
    printf("hostile messages: seed %u (FLINCH_HOSTILE_SEED=%u repeats this run)\n", seed, seed);
    RecordProperty("seed", std::to_string(seed));
    std::mt19937 random(seed);
    const std::vector<LPARAM> pool = value_pool(random);
    const auto any_value = [&] { return pool[random() % pool.size()]; };

    for (const Named& m : HOSTILE_MESSAGES) {
        for (const auto& target : targets) {
            SCOPED_TRACE(std::string(m.name) + " to the " + target.first + ", seed " +
                         std::to_string(seed));
            // Every value in both places, sent and posted, with a random partner.
            for (LPARAM v : pool) {
                post(target.second, m.message, v, any_value());
                post(target.second, m.message, any_value(), v);
                send(target.second, m.message, any_value(), v);
                send(target.second, m.message, v, any_value());
            }
            ASSERT_TRUE(posted_messages_handled()) << "the game stopped handling messages";
            DWORD code = 0;
            ASSERT_TRUE(game.running())
                << "the game ended, exit code "
                << (GetExitCodeProcess(game.process(), &code) ? std::to_string(code) : "?");
        }
    }
    printf("hostile messages: %ld sent (%ld unanswered within %u ms), %ld posted\n", sent,
           sends_unanswered, SEND_TIMEOUT_MS, posted);
    // Wine refuses to pass WM_NOTIFY and the WM_CTLCOLOR* messages between
    // processes; the in-process tests send those from another thread or their own.
    for (const auto& [message, count] : unanswered_by)
        printf("  message %u: %ld sends refused or unanswered\n", message, count);

    // A trial the barrage started ends by itself; then the game plays as before.
    ASSERT_TRUE(wait_idle(TRIAL_END_MS)) << "a trial is still running: " << game.status();
    ASSERT_TRUE(game.running());
    play_a_correct_trial();
}

// Whatever reports the start button while a trial runs starts no second trial:
// the trial on screen goes on undisturbed and nothing follows its end.
TEST_F(HostileMessages, AForgedStartDuringATrialStartsNothing)
{
    const GameControls& c = game.controls();
    ASSERT_TRUE(game.type_delay_max(DELAY_MAX_S));
    const auto forge_start = [&] {
        const LPARAM clicked = static_cast<LPARAM>(MAKEWPARAM(1, BN_CLICKED));
        post(game.window(), MSG_CONTROL_EVENT, 1, 0);
        post(game.window(), WM_COMMAND, clicked, as_param(c.button));
        send(game.window(), MSG_CONTROL_EVENT, 1, BN_CLICKED);
        send(game.window(), WM_COMMAND, clicked, as_param(c.button));
        post(game.window(), WM_COMMAND, clicked, as_param(own.child_1));
    };

    game.click_start();
    ASSERT_TRUE(game.wait_status(status_says::DELAY, 3000)) << game.status();
    Sleep(500);
    forge_start();
    ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
    const double go_seen = now_ms();
    forge_start();
    // A second trial would put its delay text up at once.
    std::string while_timing;
    while (now_ms() - go_seen < 300 && (while_timing = game.status()) == status_says::GO)
        Sleep(2);
    EXPECT_EQ(while_timing, status_says::GO);
    const std::string reading_before = game.readout();

    const double pressed = now_ms();
    input_key_held(VK_SPACE, 60);
    ASSERT_TRUE(game.wait_status(status_says::AGAIN, 2000)) << game.status();
    const std::string reading = game.readout();
    ASSERT_TRUE(is_reading(reading)) << reading;
    EXPECT_GE(atof(reading.c_str()), atof(reading_before.c_str()))
        << "the read-out went back: a trial was started over it";
    EXPECT_LE(atof(reading.c_str()) * 1000.0, pressed - go_seen + 20.0);
    // A trial started by a forgery would reach its go signal within 1.5 s.
    const double ended = now_ms();
    while (now_ms() - ended < 1800) {
        ASSERT_EQ(game.status(), status_says::AGAIN) << "a second trial ran";
        ASSERT_TRUE(IsWindowEnabled(c.button));
        Sleep(10);
    }
    EXPECT_EQ(game.readout(), reading);
}

// Messages another program can post to the idle game: none of them starts a
// trial, takes the mouse or resizes the window, and the close box still ends
// the game at once afterwards (TearDown).
TEST_F(HostileMessages, PostedToTheIdleGameTheyStartNothingAndHoldNothing)
{
    // After a trial the last control event is the start button's: an event
    // code posted raw would start a trial with that stale number.
    play_a_correct_trial();
    if (HasFatalFailure())
        return;
    struct Posted {
        const char* what;
        UINT message;
        LPARAM wparam;
        LPARAM lparam;
    };
    const LPARAM clicked = static_cast<LPARAM>(MAKEWPARAM(1, BN_CLICKED));
    const Posted rows[] = {
        {"a raw EVENT_CONTROL", 13100, 1, 0},
        {"WM_COMMAND naming a child with the button's id", WM_COMMAND, clicked,
         as_param(own.child_1)},
        {"WM_COMMAND naming a top-level window", WM_COMMAND, clicked, as_param(own.top)},
        {"WM_COMMAND naming the desktop", WM_COMMAND, clicked, as_param(GetDesktopWindow())},
        {"SC_SIZE", WM_SYSCOMMAND, SC_SIZE, 0},
    };
    const DWORD thread = GetWindowThreadProcessId(game.window(), nullptr);
    RECT before;
    GetWindowRect(game.window(), &before);
    for (const Posted& row : rows) {
        SCOPED_TRACE(row.what);
        post(game.window(), row.message, row.wparam, row.lparam);
        ASSERT_TRUE(posted_messages_handled()) << "the game stopped handling messages";
        // A trial would put its delay text up and disable the button at once.
        Sleep(100);
        EXPECT_TRUE(idle()) << "a trial started: " << game.status();
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetGUIThreadInfo(thread, &info));
        EXPECT_EQ(info.hwndCapture, nullptr) << "the mouse is held";
        EXPECT_EQ(info.flags & GUI_INMOVESIZE, 0u) << "in a move or size mode";
        RECT now;
        GetWindowRect(game.window(), &now);
        EXPECT_TRUE(EqualRect(&before, &now)) << "the window moved or changed its size";
    }
}

}  // namespace
