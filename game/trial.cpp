// The reaction trial, run on a worker thread for each press of Start Timer.
// Everything it shows goes through the trial gate, so that it stops instead
// of touching the window once the program has begun to close it.
#include "game/trial.h"
#include "game/clock.h"
#include "game/game_objects.h"
#include "game/random.h"
#include "game/session.h"
#include "game/trial_gate.h"
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

bool show_reading(const char* text)
{
    TrialGatePass pass;
    if (pass)
        control_set_text(CTRL_READOUT, text);
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
    if (!show_status(TEXT_GO))
        return false;
    // The clock starts when the go text is up. Beep blocks for the tone on
    // some machines and returns at once on others, so it goes elsewhere: a
    // press during the tone is timed like any other.
    const uint32_t start = tick_ms();
    if (!QueueUserWorkItem(sound_go_beep, nullptr, WT_EXECUTEDEFAULT))
        sound_go_beep(nullptr);

    uint32_t elapsed = 0;
    do {
        if (space_bar_down()) {
            // The reading is the one last shown (0 before the first).
            record->outcome = TrialOutcome::PRESS;
            record->reading_ms = static_cast<int32_t>(elapsed);
            return end_with(TEXT_ANOTHER_GO);
        }
        delay_ms(1);
        elapsed = elapsed_ms(start, tick_ms());
        const float seconds = static_cast<float>(elapsed) / 1000.0f;
        const int32_t pos = workspace_used();
        str_from_float(seconds, READOUT_DECIMALS, pos);
        string_assign(readout_text, pos);
        if (!show_reading(*readout_text))
            return false;
    } while (elapsed < TRIAL_LIMIT_MS);

    record->outcome = TrialOutcome::TIME_LIMIT;
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
