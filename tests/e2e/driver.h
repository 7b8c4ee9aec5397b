// Plays the built Flinchmeter.exe from outside, as a person would: starts it,
// finds its window and controls, reads what they show across the process
// boundary and gives real mouse and keyboard input through SendInput.
// Shared by the end-to-end tests, the benchmark and the screenshot poser;
// none of them links any of the game's code.
#pragma once
#include <windows.h>
#include <stddef.h>
#include <string>
#include <vector>

// What the status bar says, word for word.
namespace status_says {
constexpr const char* READY = "Click on the Start Timer button.";
constexpr const char* DELAY = "Random delay started.  Get ready... ";
constexpr const char* GO = "Go!  Press the Space Bar now!";
constexpr const char* AGAIN = "Another go?  Click on Start Timer.";
constexpr const char* CHEAT = "Cheat!  Another go?  Click on Start Timer.";
constexpr const char* SLOW = "Slowcoach!  Another go?  Click on Start Timer.";
}  // namespace status_says

// A Unix path as Wine's Z: drive sees it; Windows paths pass unchanged.
std::string to_windows_path(const std::string& path);

// Milliseconds on the performance counter.
double now_ms();

// The window's text through WM_GETTEXT (answered by the owning thread, so it
// works for edit boxes and status bars of another process); "" on failure.
std::string text_of(HWND window);
std::string class_of(HWND window);
// A child's window rectangle in its parent's client coordinates.
RECT rect_in_parent(HWND child);

// Whether text is a reading: digits, a point and exactly three decimals.
bool is_reading(const std::string& text);

// The clipboard's text (CF_TEXT), "" when it holds none; and emptying it.
std::string clipboard_text();
void clipboard_empty();

// What the leak check samples of another process. Each gives -1 when it
// cannot be read.
// The process's threads, counted in a Toolhelp snapshot.
long thread_count_of(DWORD pid);
// Suspends every thread of the process (found in a Toolhelp snapshot) for
// `ms` milliseconds, as a machine too busy to run it would; the number of
// threads suspended.
int stall_process(DWORD pid, DWORD ms);
// GetGuiResources (GR_GDIOBJECTS or GR_USEROBJECTS); Wine's stub answers 0.
long gui_object_count_of(HANDLE process, DWORD kind);

// The game's child windows, found by class and control number.
struct GameControls {
    HWND edit = nullptr;     // the spin's text box
    HWND arrows = nullptr;   // the spin's up-down
    HWND button = nullptr;   // "Start Timer"
    HWND caption = nullptr;  // "Random Delay Maximum"
    HWND readout = nullptr;
    HWND units = nullptr;
    HWND status = nullptr;
    int children = 0;  // every child window seen
    bool complete() const
    {
        return edit && arrows && button && caption && readout && units && status;
    }
};

// One running copy of the game.
class Game {
public:
    Game() = default;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    // Ends a game that is still running and closes its handles.
    ~Game();

    // Starts the program and waits until its main window is up with all its
    // controls (or `ms` pass) and the game waits for input. False, with the
    // reason in `error()`, when no main window came.
    bool start(const std::string& exe, DWORD ms = 15000);
    const std::string& error() const { return error_; }
    // start, then brings the window to the front, checks that every control
    // is there and types the delay maximum: a game ready for its first trial.
    // False, with the reason in `error()`, when any step fails.
    bool start_for_trials(const std::string& exe, int delay_max);

    HWND window() const { return window_; }
    HANDLE process() const { return process_; }
    DWORD pid() const { return pid_; }
    const GameControls& controls() const { return controls_; }
    // Looks for the controls again; true when all of them are there.
    bool find_controls();

    // Reading the window from outside.
    std::string status() const { return text_of(controls_.status); }
    std::string readout() const { return text_of(controls_.readout); }
    std::string spin_text() const { return text_of(controls_.edit); }
    // The up-down's position (UDM_GETPOS, low word), -1 when it cannot be asked.
    int spin_position() const;
    // The game's keyboard focus, null when no window of it has the focus.
    HWND focus() const;
    // Polls until the game's focus is on `window`; input takes its time to be
    // handled on a busy machine.
    bool wait_focus(HWND window, DWORD ms = 2000) const;
    // Polls until the focus has left `from`; where it went, or `from`.
    HWND wait_focus_leaves(HWND from, DWORD ms = 2000) const;
    // Polls the status bar until it shows `text`.
    bool wait_status(const char* text, DWORD ms) const;
    // Holds a key down, as a keyboard does, until the status bar shows
    // `text`; then lets it go. False when the text did not come in `ms`.
    bool hold_key_until_status(WORD vk, const char* text, DWORD ms) const;
    // Polls until the spin's text and position both show `value`.
    bool wait_spin(int value, DWORD ms) const;

    // The session results window, null while none is open.
    HWND results() const;
    // Opens it from the keyboard, as a person does: Alt+Space, then U once
    // the system menu is up. The window, once the menu has gone; null when
    // no menu or no window came.
    HWND open_results() const;
    // Its eleven lines of statistics, in order, and its Copy button.
    std::vector<std::string> results_lines() const;
    HWND results_copy_button() const;
    // Clicks Copy in the open results window and waits for the clipboard: the
    // text it then holds, "" when none came.
    std::string copy_results() const;

    // Input, as a person gives it.
    void to_front() const;
    // Clicks a child window at a point of its window rectangle, by default
    // its centre.
    void click(HWND child, int dx = -1, int dy = -1) const;
    void click_start() const { click(controls_.button); }
    void click_up_arrow() const;
    void click_down_arrow() const;
    // Types the delay maximum into the spin's box, replacing its text, and
    // waits until the game has taken it up.
    bool type_delay_max(int value) const;
    // The centre of the frame's close box in screen coordinates, found by
    // hit-testing the caption; false when there is none. Of the main window,
    // or of another window of the game.
    bool close_box(POINT* where, HWND of = nullptr) const;
    bool click_close_box(HWND of = nullptr) const;
    void alt_f4() const;

    // Tells a window of the game (the main window by default) that it moved
    // to a monitor of `to` DPI from one of `from`, as Windows does: the
    // rectangle Windows would suggest, its own scaled about its top-left
    // corner, written into the game's memory, and WM_DPICHANGED sent. False
    // when the message could not be sent.
    bool change_dpi(int from, int to, HWND of = nullptr) const;

    // Waits for the process to end; true and its exit code when it did.
    bool wait_exit(DWORD ms, DWORD* code) const;
    bool running() const;

    // Resource use, for the benchmark.
    long handle_count() const;     // -1 when it cannot be read
    SIZE_T private_bytes() const;  // PagefileUsage; 0 when unknown

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    DWORD thread_ = 0;  // the thread that owns the window
    HWND window_ = nullptr;
    GameControls controls_;
    std::string error_;
};
