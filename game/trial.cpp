// The reaction trial, run on a worker thread for each press of Start Timer.
// Everything it shows goes through the trial gate, so that it stops instead
// of touching the window once the program has begun to close it.
#include "game/trial.h"
#include "game/clock.h"
#include "game/game_objects.h"
#include "game/press_stamp.h"
#include "game/random.h"
#include "game/session.h"
#include "game/trial_gate.h"
#include "runtime/scoped_win.h"
#include "runtime/string_workspace.h"
#include "ui/controls/control.h"
#include "ui/controls/status_bar.h"
#include "ui/windows/window.h"

namespace {

TrialBeep trial_beep;  // null: Beep itself

DWORD WINAPI sound_go_beep(void*)
{
    (trial_beep ? trial_beep : Beep)(BEEP_FREQUENCY, BEEP_DURATION_MS);
    return 0;
}

bool space_bar_down()
{
    constexpr SHORT DOWN = static_cast<SHORT>(0x8000);  // the state's high bit
    return (GetKeyState(VK_SPACE) & DOWN) != 0;
}

// GetKeyState reports only keys whose messages this thread, or a thread
// attached to it, has retrieved; the main thread retrieves them, so the
// trial shares its input state for as long as it runs.
class SharedKeyboardState {
public:
    SharedKeyboardState() : self_(GetCurrentThreadId())
    {
        TrialGatePass pass;
        if (pass)
            main_ = GetWindowThreadProcessId(window_handle(WINDOW_MAIN), nullptr);
        attached_ = main_ && main_ != self_ && AttachThreadInput(self_, main_, TRUE);
    }
    ~SharedKeyboardState()
    {
        if (attached_)
            AttachThreadInput(self_, main_, FALSE);
    }
    SharedKeyboardState(const SharedKeyboardState&) = delete;
    SharedKeyboardState& operator=(const SharedKeyboardState&) = delete;

private:
    DWORD self_;
    DWORD main_ = 0;
    bool attached_ = false;
};

// Each of these is false when the gate has closed and the trial must stop.
bool show_status(const char* text)
{
    TrialGatePass pass;
    if (pass)
        status_text(STATUS_BAR_MAIN, 0, text);
    return static_cast<bool>(pass);
}

bool enable(ObjectNumber control)
{
    TrialGatePass pass;
    if (pass)
        control_disable(control, 0);
    return static_cast<bool>(pass);
}

// The read-out shows `ms` in seconds with three decimals; `readout_text`
// keeps the text.
bool show_reading(StringVar* readout_text, uint32_t ms)
{
    const float seconds = static_cast<float>(ms) / 1000.0f;
    const int32_t pos = workspace_used();
    str_from_float(seconds, READOUT_DECIMALS, pos);
    string_assign(readout_text, pos);
    TrialGatePass pass;
    if (pass)
        control_set_text(CTRL_READOUT, *readout_text);
    return static_cast<bool>(pass);
}

bool read_delay_maximum(int32_t* value)
{
    TrialGatePass pass;
    if (pass)
        *value = control_get_state(CTRL_DELAY_SPIN);
    return static_cast<bool>(pass);
}

// The early-press and space-bar endings enable the controls first and set the
// text last; the time-limit ending sets the text first.
bool end_with(const char* text)
{
    return enable(CTRL_START_BUTTON) && enable(CTRL_DELAY_SPIN) && show_status(text);
}

// How far apart the trial's looks at the key come, on the fine clock: the
// longest gap is the most a reading taken at a look can be late by, and it
// grows with whatever holds the trial up, a stalled main thread included
// (the read-out's updates wait for it). One clock read per look.
class LookGaps {
public:
    explicit LookGaps(int64_t go) : last_(go) {}
    void look()
    {
        const int64_t now = fine_now();
        if (now - last_ > longest_)
            longest_ = now - last_;
        last_ = now;
    }
    int32_t longest_us() const { return static_cast<int32_t>(fine_whole_us(0, longest_)); }

private:
    int64_t last_;
    int64_t longest_ = 0;
};

// The stamp of a key-down that came before the limit, or 0: one after it
// is no press, however soon the trial looks.
int64_t press_before_limit(int64_t go)
{
    const int64_t stamped = press_stamp(go);
    return stamped && fine_whole_ms(go, stamped) < static_cast<int32_t>(TRIAL_LIMIT_MS) ? stamped
                                                                                        : 0;
}

// A press: the reading is the stamped key-down's moment if there is one (the
// read-out then shows it once more), else the reading last shown.
bool end_with_press(TrialRecord* record, StringVar* readout_text, int64_t go, int64_t stamped,
                    uint32_t last_shown_ms, const LookGaps& gaps)
{
    record->outcome = TrialOutcome::PRESS;
    record->longest_gap_us = gaps.longest_us();
    record->reading_ms = static_cast<int32_t>(last_shown_ms);
    if (stamped) {
        record->reading_ms = fine_whole_ms(go, stamped);
        if (!show_reading(readout_text, static_cast<uint32_t>(record->reading_ms)))
            return false;
    }
    return end_with(TEXT_ANOTHER_GO);
}

// True when the trial ended and showed its final texts; `record` then says
// how it ended. False when it was cut short.
bool run_phases(StringVar* readout_text, TrialRecord* record)
{
    if (!show_status(TEXT_DELAY_STARTED))
        return false;
    int32_t delay_maximum = 0;
    if (!read_delay_maximum(&delay_maximum))
        return false;
    record->delay_s = trial_delay_seconds(delay_maximum);
    delay_ms(record->delay_s * 1000);

    if (space_bar_down()) {
        record->outcome = TrialOutcome::EARLY;
        return end_with(TEXT_CHEAT);
    }
    // The go text is up somewhere between the send and its return. The clock
    // starts at the return; a hold-up on the way back would make the reading
    // short, so the first gap counts from before the send and shows it.
    const int64_t go_asked = fine_now();
    if (!show_status(TEXT_GO))
        return false;
    // Beep blocks for the tone on some machines and returns at once on
    // others, so it goes elsewhere: a press during the tone is timed like any
    // other.
    const uint32_t start = tick_ms();
    const int64_t go = fine_now();
    press_stamp_arm();
    const ScopeExit disarm([] { press_stamp_disarm(); });
    if (!QueueUserWorkItem(sound_go_beep, nullptr, WT_EXECUTEDEFAULT))
        sound_go_beep(nullptr);

    LookGaps gaps(go_asked);
    uint32_t elapsed = 0;
    do {
        const bool down = space_bar_down();
        gaps.look();
        // Read after the key's state, the stamp of a press that the state
        // shows is almost always there; if not, the reading last shown stands.
        const int64_t stamped = press_before_limit(go);
        if (stamped || down)
            return end_with_press(record, readout_text, go, stamped, elapsed, gaps);
        delay_ms(1);
        elapsed = elapsed_ms(start, tick_ms());
        if (!show_reading(readout_text, elapsed))
            return false;
    } while (elapsed < TRIAL_LIMIT_MS);

    // A key-down stamped before the limit is a press, however late the look.
    if (const int64_t stamped = press_before_limit(go))
        return end_with_press(record, readout_text, go, stamped, elapsed, gaps);
    record->outcome = TrialOutcome::TIME_LIMIT;
    record->longest_gap_us = gaps.longest_us();
    record->reading_ms = static_cast<int32_t>(elapsed);
    return show_status(TEXT_SLOWCOACH) && enable(CTRL_START_BUTTON) && enable(CTRL_DELAY_SPIN);
}

}  // namespace

void set_trial_beep(TrialBeep beep)
{
    trial_beep = beep;
}

DWORD WINAPI run_trial(void*)
{
    FineTimerPeriod fine_timer;
    SharedKeyboardState keyboard;
    StringVar readout_text = nullptr;
    TrialRecord record = {};
    // Only once the ending is shown, so that recording never delays it.
    if (run_phases(&readout_text, &record))
        session_hand_over(record);
    string_free(readout_text);
    return 0;
}
