// The gate through which the trial's thread reaches the main window, its
// controls and its status bar. The main thread closes it before it destroys
// them at the end, so a trial that is still running never touches a window
// that is being torn down: its calls either complete first or are refused.
#pragma once

// Makes the gate, open. When its event cannot be made the gate works all
// the same; closing then looks for the end of the calls under way every
// millisecond instead of being woken.
void trial_gate_init();
// Closes the gate's event and makes a new one, or none (as when start-up could
// not make it), and tells whether the gate holds one; for tests.
void trial_gate_replace_event(bool make);
bool trial_gate_holds_event();
// Opens the gate again after a close, with a new event, for a window built anew.
void trial_gate_open();
// True when the caller may go on; false once the gate has been closed.
bool trial_gate_enter();
void trial_gate_leave();
// Main thread: refuses every later entry, waits until the calls that are
// under way have completed, answering the messages they send meanwhile, and
// closes the gate's event.
void trial_gate_close();

// One pass through the gate for the life of a scope.
class TrialGatePass {
public:
    TrialGatePass() : open_(trial_gate_enter()) {}
    ~TrialGatePass()
    {
        if (open_)
            trial_gate_leave();
    }
    TrialGatePass(const TrialGatePass&) = delete;
    TrialGatePass& operator=(const TrialGatePass&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};
