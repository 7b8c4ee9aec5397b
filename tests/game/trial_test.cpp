// Trials run in-process against the real window: the go signal, the read-out,
// the endings, and closing the window while a trial runs.
#include <functional>
#include <vector>
#include <regex>
#include <stdlib.h>
#include <string.h>
#include "game/clock.h"
#include "game/main_loop.h"
#include "game/trial.h"
#include "game/trial_gate.h"
#include "game/lifetime.h"
#include "game/main_window.h"
#include "game/session.h"
#include "tests/game/game_window.h"
#include "tests/support/input.h"
#include "ui/windows/window.h"

// After windows.h, which it needs.
#include <commctrl.h>

namespace {

// Plays the person in front of the window from another thread while the test
// thread runs the game's loop: waits for texts, presses keys, closes.
class Player {
public:
    explicit Player(const GameWindowTest* test) : test_(test) {}
    ~Player()
    {
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
    }
    template <typename Script>
    void start(Script script)
    {
        script_ = script;
        thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
    }

private:
    static DWORD WINAPI run(void* self)
    {
        static_cast<Player*>(self)->script_();
        return 0;
    }
    const GameWindowTest* test_;
    std::function<void()> script_;
    HANDLE thread_ = nullptr;
};

class TrialTest : public GameWindowTest {
protected:
    // Waits on the player's thread for the status text; the game's thread
    // answers the query inside its loop.
    bool status_becomes(const std::string& text, DWORD ms = 5000) const
    {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            if (status() == text)
                return true;
            Sleep(1);
        }
        return false;
    }
    void close_window() const { PostMessageA(main_window(), WM_CLOSE, 0, 0); }
};

TEST_F(TrialTest, SpaceBarAfterTheGoSignalStopsTheReadout)
{
    control_set_state(CTRL_DELAY_SPIN, 1);
    bring_to_front(main_window());
    SetFocus(main_window());
    bool saw_go = false;
    std::string reading_while_timing;
    Player player(this);
    player.start([&] {
        saw_go = status_becomes(TEXT_GO);
        Sleep(300);
        reading_while_timing = control_text(CTRL_READOUT);
        // Held as long as a person holds it: the trial samples the key's state
        // every millisecond or so and would miss a press shorter than that.
        input_key_down(VK_SPACE);
        Sleep(80);
        input_key_up(VK_SPACE);
        status_becomes(TEXT_ANOTHER_GO);
        close_window();
    });
    post_start_click();
    main_event_loop(recording_starter);
    EXPECT_TRUE(saw_go);
    EXPECT_TRUE(std::regex_match(reading_while_timing, std::regex("0\\.[0-9]{3}")))
        << reading_while_timing;
    EXPECT_NE(reading_while_timing, "0.000");
    EXPECT_EQ(status(), TEXT_ANOTHER_GO);
    EXPECT_TRUE(IsWindowEnabled(control(CTRL_START_BUTTON)));
    EXPECT_TRUE(IsWindowEnabled(control(CTRL_DELAY_SPIN)));
    const std::string final_reading = control_text(CTRL_READOUT);
    EXPECT_TRUE(std::regex_match(final_reading, std::regex("0\\.[0-9]{3}"))) << final_reading;
    EXPECT_GE(final_reading, reading_while_timing);
}

TEST_F(TrialTest, SpaceHeldWhenTheDelayEndsIsCheating)
{
    control_set_state(CTRL_DELAY_SPIN, 1);
    bring_to_front(main_window());
    SetFocus(main_window());
    Player player(this);
    player.start([&] {
        status_becomes(TEXT_DELAY_STARTED);
        input_key_down(VK_SPACE);
        status_becomes(TEXT_CHEAT, 4000);
        input_key_up(VK_SPACE);
        close_window();
    });
    post_start_click();
    main_event_loop(recording_starter);
    EXPECT_EQ(status(), TEXT_CHEAT);
    EXPECT_EQ(control_text(CTRL_READOUT), "0.000");
    EXPECT_TRUE(IsWindowEnabled(control(CTRL_START_BUTTON)));
}

// A go beep that lasts its whole tone, as Beep does on a machine with a sound
// device; counts the tones it has sounded.
struct BlockingBeep {
    static inline LONG tones = 0;
    static BOOL WINAPI beep(DWORD, DWORD duration_ms)
    {
        Sleep(duration_ms);
        InterlockedIncrement(&tones);
        return TRUE;
    }
    BlockingBeep()
    {
        tones = 0;
        set_trial_beep(beep);
    }
    ~BlockingBeep() { set_trial_beep(nullptr); }
};

TEST_F(TrialTest, TheClockStartsAtTheGoTextAndTheToneHoldsNothingUp)
{
    BlockingBeep blocking_beep;
    control_set_state(CTRL_DELAY_SPIN, 1);
    bring_to_front(main_window());
    SetFocus(main_window());
    // A press well after the tone, then one during it.
    constexpr DWORD PRESS_AFTER_GO_MS[] = {200, 20};
    struct Seen {
        uint32_t true_delay_ms = 0;
        double reading_ms = -1;
    } seen[2];
    Player player(this);
    player.start([&] {
        // A thread's first key mapping loads the keyboard layout, which takes
        // some 20 ms under Wine: not while a press is being timed.
        MapVirtualKeyA(VK_SPACE, MAPVK_VK_TO_VSC);
        for (int t = 0; t < 2; ++t) {
            if (t > 0)
                post_start_click();
            if (!status_becomes(TEXT_GO))
                break;
            const uint32_t go = tick_ms();
            Sleep(PRESS_AFTER_GO_MS[t]);
            seen[t].true_delay_ms = tick_ms() - go;
            input_key_down(VK_SPACE);
            const bool ended = status_becomes(TEXT_ANOTHER_GO, 2000);
            input_key_up(VK_SPACE);
            if (!ended)
                break;
            seen[t].reading_ms = atof(control_text(CTRL_READOUT).c_str()) * 1000.0;
        }
        close_window();
    });
    post_start_click();
    main_event_loop(recording_starter);

    EXPECT_NEAR(seen[0].reading_ms, seen[0].true_delay_ms, 10.0) << "not 50 ms short";
    ASSERT_TRUE(wait_until([] { return BlockingBeep::tones == 2; }, 1000));
    // Timed like any other press: a trial that waited for the tone would see
    // the key at its first look and show no reading at all.
    ASSERT_LT(seen[1].true_delay_ms, BEEP_DURATION_MS) << "the press came after the tone";
    EXPECT_GT(seen[1].reading_ms, 0.0) << "the press during the tone was not timed";
    EXPECT_NEAR(seen[1].reading_ms, seen[1].true_delay_ms, 10.0);
}

// Windows makes keys into system keys while no window has the focus, and the
// default handling of a system character plays the error sound.
struct SystemKeyWatch {
    static inline int system_keys = 0;
    static inline int spaces_to_the_main_window = 0;
    static inline HWND main = nullptr;
    HHOOK hook;
    static LRESULT CALLBACK look(int code, WPARAM removed, LPARAM data)
    {
        const MSG* msg = reinterpret_cast<const MSG*>(data);
        if (code == HC_ACTION && removed == PM_REMOVE) {
            if (msg->message >= WM_SYSKEYDOWN && msg->message <= WM_SYSDEADCHAR)
                ++system_keys;
            if (msg->message == WM_KEYDOWN && msg->wParam == VK_SPACE && msg->hwnd == main)
                ++spaces_to_the_main_window;
        }
        return CallNextHookEx(nullptr, code, removed, data);
    }
    explicit SystemKeyWatch(HWND window)
    {
        system_keys = 0;
        spaces_to_the_main_window = 0;
        main = window;
        hook = SetWindowsHookExA(WH_GETMESSAGE, look, nullptr, GetCurrentThreadId());
    }
    ~SystemKeyWatch() { UnhookWindowsHookEx(hook); }
};

TEST_F(TrialTest, SpaceGoesToTheMainWindowAsAPlainKeyInEveryPhase)
{
    control_set_state(CTRL_DELAY_SPIN, 1);
    bring_to_front(main_window());
    SetFocus(control(CTRL_START_BUTTON));
    SystemKeyWatch watch(main_window());
    Player player(this);
    player.start([&] {
        input_key_held(VK_SPACE, 60);  // pushes the focused button
        if (status_becomes(TEXT_DELAY_STARTED)) {
            input_key_held(VK_SPACE, 60);  // let go long before the delay ends
            if (status_becomes(TEXT_GO)) {
                Sleep(50);
                input_key_held(VK_SPACE, 80);
                if (status_becomes(TEXT_ANOTHER_GO))
                    input_key_held(VK_SPACE, 80);
            }
        }
        Sleep(100);
        close_window();
    });
    main_event_loop(recording_starter);
    EXPECT_EQ(status(), TEXT_ANOTHER_GO);
    EXPECT_EQ(started.size(), 1u);
    EXPECT_EQ(SystemKeyWatch::system_keys, 0);
    EXPECT_EQ(SystemKeyWatch::spaces_to_the_main_window, 3) << "in the delay, timing, and after";
    EXPECT_EQ(GetFocus(), main_window());
}

// What the registry holds as trials follow one another, seen by a starter
// that wraps the fixture's.
struct TrialThreads {
    struct Trial {
        HANDLE handle;  // the registry's own handle, valid until the reap
        DWORD id;
    };
    static inline std::vector<Trial> trials;
    static inline std::vector<int32_t> records_after_start;
    static inline int still_naming_a_reaped_thread = 0;

    static int32_t starter(LPTHREAD_START_ROUTINE routine, void* argument)
    {
        // The trial before has shown its last text; give it its last step, so
        // that it has ended and can be reaped now.
        if (!trials.empty())
            WaitForSingleObject(trials.back().handle, 3000);
        const int32_t number = GameWindowTest::recording_starter(routine, argument);
        const HANDLE handle = thread_handle(number);
        records_after_start.push_back(thread_record_count());
        // Reaped trials' handles are closed: none names its thread any more.
        for (const Trial& reaped : trials) {
            DWORD flags = 0;
            if (GetHandleInformation(reaped.handle, &flags) &&
                GetThreadId(reaped.handle) == reaped.id)
                ++still_naming_a_reaped_thread;
        }
        trials.push_back({handle, GetThreadId(handle)});
        return number;
    }
};

TEST_F(TrialTest, EndedTrialsAreReapedAndTheirHandlesClosed)
{
    constexpr int TRIALS = 4;
    EXPECT_EQ(thread_record_count(), 0);
    TrialThreads::trials.clear();
    TrialThreads::records_after_start.clear();
    TrialThreads::still_naming_a_reaped_thread = 0;
    control_set_state(CTRL_DELAY_SPIN, 1);
    bring_to_front(main_window());
    SetFocus(main_window());
    std::vector<int32_t> records_seen;  // while timing, and after each ending
    int endings = 0;
    Player player(this);
    player.start([&] {
        for (int t = 0; t < TRIALS; ++t) {
            if (!status_becomes(TEXT_GO))
                break;
            records_seen.push_back(thread_record_count());
            Sleep(30);
            input_key_down(VK_SPACE);
            Sleep(80);
            input_key_up(VK_SPACE);
            if (!status_becomes(TEXT_ANOTHER_GO))
                break;
            ++endings;
            records_seen.push_back(thread_record_count());
            if (t + 1 < TRIALS)
                post_start_click();
            // The next trial's delay text replaces the invitation.
            status_becomes(TEXT_DELAY_STARTED, 2000);
        }
        close_window();
    });
    post_start_click();
    main_event_loop(TrialThreads::starter);

    EXPECT_EQ(endings, TRIALS);
    ASSERT_EQ(TrialThreads::trials.size(), static_cast<size_t>(TRIALS));
    // The running trial, or the one that ended and waits for the next start:
    // one record at every moment, never one per trial played.
    EXPECT_EQ(TrialThreads::records_after_start, std::vector<int32_t>(TRIALS, 1));
    EXPECT_EQ(records_seen, std::vector<int32_t>(2 * TRIALS, 1));
    EXPECT_EQ(TrialThreads::still_naming_a_reaped_thread, 0);
}

TEST_F(TrialTest, ClosingInTheDelayOrWhileTimingStopsTheTrialSafely)
{
    // Alternately in the delay and while timing, again and again.
    for (int round = 0; round < 6; ++round) {
        if (round > 0) {
            trial_gate_open();
            ASSERT_TRUE(build_main_window(nullptr));
        }
        control_set_state(CTRL_DELAY_SPIN, 1);
        const bool while_timing = round % 2 == 1;
        Player player(this);
        player.start([&] {
            status_becomes(while_timing ? TEXT_GO : TEXT_DELAY_STARTED);
            if (while_timing)
                Sleep(50);
            close_window();
        });
        post_start_click();
        main_event_loop(recording_starter);
        release_runtime();

        // Whatever the trial does next must not reach a window built afresh.
        ASSERT_TRUE(build_main_window(nullptr));
        control_set_text(CTRL_READOUT, "untouched");
        ASSERT_FALSE(started_handles.empty());
        HANDLE trial = started_handles.back();
        if (trial) {
            DWORD woke;
            do {
                woke = MsgWaitForMultipleObjects(1, &trial, FALSE, 3000, QS_ALLINPUT);
                pump_for(0);
            } while (woke == WAIT_OBJECT_0 + 1);
            EXPECT_EQ(woke, WAIT_OBJECT_0) << "the trial ends by itself";
        }
        EXPECT_EQ(control_text(CTRL_READOUT), "untouched") << "round " << round;
        EXPECT_EQ(status(), "Click on the Start Timer button.") << "round " << round;
        release_runtime();
    }
}

// The truth of a stamped trial, taken on the game's own thread: when the
// go text was set in the status bar, and when the thread retrieved the first
// fresh Space key-down after it. Can hold the go text up after it is set.
struct GoAndKeyWatch {
    static inline volatile LONG64 go_set = 0;
    static inline volatile LONG64 key_got = 0;
    static inline DWORD hold_go_ms = 0;
    HHOOK after_call, retrieval;
    static LRESULT CALLBACK called(int code, WPARAM sent, LPARAM data)
    {
        const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(data);
        if (code == HC_ACTION && call->message == SB_SETTEXTA &&
            !strcmp(reinterpret_cast<const char*>(call->lParam), TEXT_GO)) {
            go_set = fine_now();
            Sleep(hold_go_ms);
        }
        return CallNextHookEx(nullptr, code, sent, data);
    }
    static LRESULT CALLBACK retrieved(int code, WPARAM removed, LPARAM data)
    {
        const MSG* msg = reinterpret_cast<const MSG*>(data);
        if (code == HC_ACTION && removed == PM_REMOVE && msg->message == WM_KEYDOWN &&
            msg->wParam == VK_SPACE && !(msg->lParam & (LPARAM(1) << 30)) && go_set && !key_got)
            key_got = fine_now();
        return CallNextHookEx(nullptr, code, removed, data);
    }
    // Installed after the game's own hook, so called before it.
    GoAndKeyWatch()
    {
        after_call = SetWindowsHookExA(WH_CALLWNDPROCRET, called, nullptr, GetCurrentThreadId());
        retrieval = SetWindowsHookExA(WH_GETMESSAGE, retrieved, nullptr, GetCurrentThreadId());
    }
    ~GoAndKeyWatch()
    {
        UnhookWindowsHookEx(after_call);
        UnhookWindowsHookEx(retrieval);
    }
};

// The press timed where it arrives. Key-downs are posted to the main window:
// posting changes no key state, so the trial's looks at the key never see
// them and only their stamp can end a trial. Each row is one trial; times
// are after the go text as the player saw it. A reading is never late, and
// early by no more than the trial's own longest gap.
TEST_F(TrialTest, AFreshKeyDownThatTheGameRetrievesWhileTimingIsThePress)
{
    struct Row {
        const char* what;
        bool before_go;        // a key-down after the last trial ended, one in the delay
        DWORD repeat_at_ms;    // an auto-repeat; 0: none
        DWORD press_at_ms;     // the fresh key-down
        bool held_past_limit;  // the trial's thread held from before it until past the limit
        DWORD hold_go_ms;      // the go text held up this long after it is set
    };
    const Row rows[] = {
        {"a key-down while timing", false, 0, 200, false, 0},
        {"an auto-repeat is no press", false, 100, 300, false, 0},
        {"key-downs before the go text are no press", true, 0, 250, false, 0},
        {"a key-down just before the limit, looked at after it", false, 0, 9990, true, 0},
        {"a go text held up on its way shows in the gap", false, 0, 250, false, 40},
    };
    constexpr int N = sizeof rows / sizeof rows[0];
    control_set_state(CTRL_DELAY_SPIN, 1);
    bring_to_front(main_window());
    SetFocus(main_window());
    const int32_t first = session_count();
    double truth_ms[N] = {};
    GoAndKeyWatch watch;
    const auto post_space = [this](bool repeat) {
        constexpr LPARAM SPACE_SCAN_CODE = 0x39;
        const LPARAM lparam = 1 | (SPACE_SCAN_CODE << 16) | (repeat ? LPARAM(1) << 30 : 0);
        PostMessageA(main_window(), WM_KEYDOWN, VK_SPACE, lparam);
    };
    Player player(this);
    player.start([&] {
        for (int i = 0; i < N; ++i) {
            const Row& row = rows[i];
            GoAndKeyWatch::go_set = 0;
            GoAndKeyWatch::key_got = 0;
            GoAndKeyWatch::hold_go_ms = row.hold_go_ms;
            if (row.before_go)
                post_space(false);
            post_start_click();
            if (row.before_go && status_becomes(TEXT_DELAY_STARTED))
                post_space(false);
            if (!status_becomes(TEXT_GO, 3000))
                break;
            const uint32_t go = tick_ms();
            const auto at = [go](DWORD ms) {
                while (tick_ms() - go < ms)
                    Sleep(1);
            };
            if (row.repeat_at_ms) {
                at(row.repeat_at_ms);
                post_space(true);
            }
            const HANDLE trial = started_handles.back();
            if (row.held_past_limit) {
                // Held in its pause, the step between a look at the key and
                // the reading that may reach the limit: just after a new
                // reading shows, the trial has looked and pauses for 1 ms.
                at(row.press_at_ms - 40);
                const std::string shown = control_text(CTRL_READOUT);
                for (const uint32_t since = tick_ms();
                     control_text(CTRL_READOUT) == shown && tick_ms() - since < 100;)
                    ;
                const int64_t changed = fine_now();
                while (fine_whole_us(changed, fine_now()) < 200)
                    YieldProcessor();
                SuspendThread(trial);
            }
            at(row.press_at_ms);
            post_space(false);
            if (row.held_past_limit) {
                at(TRIAL_LIMIT_MS + 50);
                ResumeThread(trial);
            }
            if (!status_becomes(TEXT_ANOTHER_GO, 2000))
                break;
            truth_ms[i] = fine_whole_us(GoAndKeyWatch::go_set, GoAndKeyWatch::key_got) / 1000.0;
        }
        close_window();
    });
    main_event_loop(recording_starter);

    // The last record is handed over once the ending is shown.
    ASSERT_TRUE(wait_until([&] { return session_count() == first + N; })) << session_count();
    for (int i = 0; i < N; ++i) {
        SCOPED_TRACE(rows[i].what);
        const TrialRecord& r = session_records()[first + i];
        EXPECT_EQ(r.outcome, TrialOutcome::PRESS);
        EXPECT_GT(truth_ms[i], rows[i].press_at_ms - 10.0);
        EXPECT_LE(r.reading_ms, truth_ms[i] + 1.0) << "late";
        EXPECT_GE(r.reading_ms, truth_ms[i] - r.longest_gap_us / 1000.0 - 1.0)
            << "early by more than its longest gap, " << r.longest_gap_us << " us";
    }
    // Set once more to exactly the stamped reading.
    char shown[16];
    snprintf(shown, sizeof shown, "%.3f", session_records()[first + N - 1].reading_ms / 1000.0);
    EXPECT_EQ(control_text(CTRL_READOUT), shown);
}

}  // namespace
