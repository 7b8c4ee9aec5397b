// Soak run of the built game: random real input for a while, with what the
// game must always show checked from outside after every action.
// Usage: e2e_soak GAME.exe [SECONDS] [SEED]
//
// Actions, drawn from a seeded generator (the seed is printed, and passing it
// back repeats the same choices): clicks in and around the window, key
// presses and holds, odd texts typed into the delay box, start-and-press
// cycles, and closes (close box or Alt+F4) followed by a restart.
//
// After every action:
//  - the game runs, or after a deliberate close it ended with code 0 within
//    2 s; ending any other way is a crash;
//  - the status bar shows one of the game's six texts and the read-out a
//    reading with three decimals (checked on every sample, settled or not);
//  - once nothing has changed for 200 ms (status, read-out, box text, arrows'
//    position, button and box enabled): the button and the box are enabled
//    unless the status is the delay or go text, and when the box holds a
//    number from 1 to 60 the arrows' position is that number. "Holds a
//    number" means one or more digits and nothing else, leading zeros
//    allowed ("007" is 7); "-5", " 5" and "5a" hold none.
//  - a delay or a timing never outlasts its longest length by much, and the
//    game always settles or is timing.
// Prints the counts and exits non-zero on any failure or crash.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <deque>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include "tests/e2e/driver.h"
#include "tests/support/input.h"

namespace {

constexpr double SETTLE_MS = 200.0;
// Longest a game may take to settle while not timing: generous, because the
// machine may be busy with other Wine programs.
constexpr double SETTLE_GIVE_UP_MS = 15000.0;
// A trial's delay lasts at most 60 s and its timing 10 s.
constexpr double DELAY_LONGEST_MS = 60000.0 + 5000.0;
constexpr double TIMING_LONGEST_MS = 10000.0 + 5000.0;
constexpr DWORD CLOSE_LIMIT_MS = 2000;
constexpr DWORD ANSWER_TIMEOUT_MS = 5000;
// Reads that time out are tried again for this long before the game is
// called unresponsive.
constexpr double UNRESPONSIVE_MS = 20000.0;
constexpr int MAX_REPORTED_FAILURES = 20;
constexpr size_t RECENT_ACTIONS = 10;
constexpr int LONG_TEXT = 5000;

const char* const SIX_TEXTS[] = {status_says::READY, status_says::DELAY, status_says::GO,
                                 status_says::AGAIN, status_says::CHEAT, status_says::SLOW};

bool is_status_text(const std::string& text)
{
    for (const char* t : SIX_TEXTS)
        if (text == t)
            return true;
    return false;
}

bool in_trial(const std::string& status)
{
    return status == status_says::DELAY || status == status_says::GO;
}

// The number a box's text holds, or -1 when it holds none (see above).
long number_held(const std::string& text)
{
    if (text.empty())
        return -1;
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
        if (value > 1000000)
            value = 1000000;  // big enough to be out of range
    }
    return value;
}

// A window's whole text, however long; false when the window did not answer.
bool read_text(HWND window, std::string* out)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, ANSWER_TIMEOUT_MS,
                             &length))
        return false;
    std::vector<char> buffer(length + 64, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                             ANSWER_TIMEOUT_MS, &copied))
        return false;
    out->assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
    return true;
}

// Everything the checks look at, read at one moment.
struct Snapshot {
    std::string status;
    std::string readout;
    std::string spin;
    long position = -1;
    bool button_enabled = false;
    bool edit_enabled = false;

    bool operator==(const Snapshot& o) const
    {
        return status == o.status && readout == o.readout && spin == o.spin &&
               position == o.position && button_enabled == o.button_enabled &&
               edit_enabled == o.edit_enabled;
    }
    bool operator!=(const Snapshot& o) const { return !(*this == o); }

    std::string describe() const
    {
        std::string spin_shown =
            spin.size() > 40 ? spin.substr(0, 20) + "...(" + std::to_string(spin.size()) + " chars)"
                             : spin;
        return "status \"" + status + "\", read-out \"" + readout + "\", box \"" + spin_shown +
               "\", arrows " + std::to_string(position) + ", button " +
               (button_enabled ? "enabled" : "disabled") + ", box " +
               (edit_enabled ? "enabled" : "disabled");
    }
};

// Keys that random presses choose from.
struct KeyChoice {
    WORD vk;
    bool shift;
    const char* name;
};
const KeyChoice KEYS[] = {
    {VK_SPACE, false, "Space"},
    {VK_TAB, false, "Tab"},
    {VK_TAB, true, "Shift+Tab"},
    {VK_LEFT, false, "Left"},
    {VK_RIGHT, false, "Right"},
    {VK_UP, false, "Up"},
    {VK_DOWN, false, "Down"},
    {VK_BACK, false, "Backspace"},
    {VK_DELETE, false, "Delete"},
    {VK_RETURN, false, "Enter"},
    {VK_ESCAPE, false, "Escape"},
    {'0', false, "0"},
    {'1', false, "1"},
    {'5', false, "5"},
    {'9', false, "9"},
    {'A', false, "A"},
    {'Q', false, "Q"},
    {'Z', false, "Z"},
};

// Types a text in batches of real key presses (shifted where the layout
// needs it), so that thousands of characters go in quickly.
void type_batched(const std::string& text)
{
    constexpr size_t BATCH = 250;
    std::vector<INPUT> events;
    auto key = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        events.push_back(in);
    };
    for (size_t i = 0; i < text.size(); i += BATCH) {
        events.clear();
        for (size_t j = i; j < text.size() && j < i + BATCH; ++j) {
            const SHORT scan = VkKeyScanA(text[j]);
            if (scan == -1)
                continue;
            const WORD vk = LOBYTE(scan);
            const bool shift = (HIBYTE(scan) & 1) != 0;
            if (shift)
                key(VK_SHIFT, false);
            key(vk, false);
            key(vk, true);
            if (shift)
                key(VK_SHIFT, true);
        }
        SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
        Sleep(5);
    }
}

class Soak {
public:
    Soak(std::string exe, double seconds, unsigned long long seed)
        : exe_(std::move(exe)), seconds_(seconds), seed_(seed), rng_(seed)
    {
    }

    int run();

private:
    // Drawing from the generator.
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }

    // The game's lifetime.
    bool start_game();
    void restart(const char* why);
    void ensure_front();

    // Actions.
    void act();
    void click_somewhere();
    void click_outside();
    void press_key();
    void hold_key();
    void type_odd_text();
    void start_and_press();
    void close_and_restart();

    // Helpers for actions.
    void note(const std::string& action);
    void select_box_text();
    bool wait_input_taken();
    bool set_delay_max(int value);
    bool wait_status_while_running(const char* text, double ms);
    void start_trial();

    // Checks.
    bool snapshot(Snapshot* s);
    void observe(const Snapshot& s);
    void problem(const std::string& what, const Snapshot& s);
    void lost_game();
    void check();
    void fail(const std::string& what, const Snapshot* s = nullptr);
    void report(const std::string& what, const Snapshot* s = nullptr);
    void look_for_crash_dialog();

    std::string exe_;
    double seconds_;
    unsigned long long seed_;
    std::mt19937_64 rng_;
    std::unique_ptr<Game> game_;

    // Counts.
    long actions_ = 0;
    std::map<std::string, long> per_kind_;
    long trials_ = 0;
    std::map<std::string, long> endings_;
    long restarts_ = 0;
    long closes_ = 0;
    long failures_ = 0;
    long crashes_ = 0;
    long reports_ = 0;
    std::deque<std::string> recent_;
    std::vector<std::pair<std::string, Snapshot>> problems_;

    // What the last sample showed, for counting trials and timing phases.
    std::string last_status_;
    double status_since_ = 0;
    double last_reading_ = 0;
};

bool Soak::start_game()
{
    game_ = std::make_unique<Game>();
    if (!game_->start(exe_) || !game_->controls().complete()) {
        fprintf(stderr, "e2e_soak: the game did not start: %s\n",
                game_->error().empty() ? "controls missing" : game_->error().c_str());
        return false;
    }
    game_->to_front();
    last_status_.clear();
    status_since_ = now_ms();
    return true;
}

void Soak::restart(const char* why)
{
    ++restarts_;
    note(std::string("restart (") + why + ")");
    game_.reset();  // ends a copy that still runs
    if (!start_game()) {
        fail("the game did not start again");
        exit(1);
    }
}

void Soak::ensure_front()
{
    if (GetForegroundWindow() != game_->window())
        game_->to_front();
}

void Soak::note(const std::string& action)
{
    recent_.push_back("#" + std::to_string(actions_) + " " + action);
    if (recent_.size() > RECENT_ACTIONS)
        recent_.pop_front();
}

void Soak::fail(const std::string& what, const Snapshot* s)
{
    ++failures_;
    report("FAILURE " + std::to_string(failures_) + ": " + what, s);
}

void Soak::report(const std::string& what, const Snapshot* s)
{
    if (++reports_ > MAX_REPORTED_FAILURES)
        return;
    fprintf(stderr, "\n%s\n  seed %llu, action %ld\n", what.c_str(), seed_, actions_);
    if (s)
        fprintf(stderr, "  seen: %s\n", s->describe().c_str());
    fprintf(stderr, "  last actions:\n");
    for (const std::string& a : recent_)
        fprintf(stderr, "    %s\n", a.c_str());
    fflush(stderr);
}

// Reads everything at once; false when the game stopped answering or ended.
bool Soak::snapshot(Snapshot* s)
{
    const GameControls& c = game_->controls();
    const double give_up = now_ms() + UNRESPONSIVE_MS;
    for (;;) {
        if (!game_->running())
            return false;
        DWORD_PTR pos = 0;
        if (read_text(c.status, &s->status) && read_text(c.readout, &s->readout) &&
            read_text(c.edit, &s->spin) &&
            SendMessageTimeoutA(c.arrows, UDM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, ANSWER_TIMEOUT_MS,
                                &pos)) {
            // The game reads the low word only; the high word is an error flag.
            s->position = LOWORD(pos);
            s->button_enabled = IsWindowEnabled(c.button) != FALSE;
            s->edit_enabled = IsWindowEnabled(c.edit) != FALSE;
            return true;
        }
        if (now_ms() > give_up) {
            fail("the game has not answered for " + std::to_string(UNRESPONSIVE_MS / 1000) + " s");
            return false;
        }
        Sleep(50);
    }
}

// The checks every sample must pass, and the bookkeeping of trials. A
// problem is noted once per check, however many samples show it.
void Soak::observe(const Snapshot& s)
{
    const double now = now_ms();
    if (!is_status_text(s.status))
        problem("the status bar shows a text the game never shows", s);
    if (!is_reading(s.readout))
        problem("the read-out is not a reading with three decimals", s);

    const double reading = atof(s.readout.c_str());
    // A read-out that drops while timing belongs to a trial begun unseen.
    const bool restarted =
        s.status == status_says::GO && last_status_ == status_says::GO && reading < last_reading_;
    if (s.status != last_status_ || restarted) {
        if (in_trial(s.status) &&
            (!in_trial(last_status_) || restarted || (s.status == status_says::DELAY)))
            ++trials_;
        if (!in_trial(s.status) && in_trial(last_status_))
            ++endings_[s.status == status_says::AGAIN   ? "press"
                       : s.status == status_says::CHEAT ? "cheat"
                       : s.status == status_says::SLOW  ? "slowcoach"
                                                        : "other"];
        last_status_ = s.status;
        status_since_ = now;
    }
    last_reading_ = reading;
    if (s.status == status_says::DELAY && now - status_since_ > DELAY_LONGEST_MS)
        problem("the delay has lasted longer than a minute", s);
    if (s.status == status_says::GO && now - status_since_ > TIMING_LONGEST_MS)
        problem("the timing has lasted well beyond its ten seconds", s);
}

void Soak::problem(const std::string& what, const Snapshot& s)
{
    for (const auto& p : problems_)
        if (p.first == what)
            return;
    problems_.emplace_back(what, s);
}

struct CrashDialogSearch {
    bool found = false;
    std::string title;
};

BOOL CALLBACK find_crash_dialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<CrashDialogSearch*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (strstr(title, "Program Error") || strstr(title, "winedbg")) {
        search->found = true;
        search->title = title;
        return FALSE;
    }
    return TRUE;
}

// Wine's crash dialog is off in the test prefixes, but should one come up
// it is a crash whatever the exit code says.
void Soak::look_for_crash_dialog()
{
    CrashDialogSearch search;
    EnumWindows(find_crash_dialog, reinterpret_cast<LPARAM>(&search));
    if (search.found)
        problems_.emplace_back("a crash dialog is up: \"" + search.title + "\"", Snapshot{});
}

// After a snapshot failed: the game ended (a crash, as no close was asked
// for) or stopped answering (already reported). Either way a fresh copy
// carries on.
void Soak::lost_game()
{
    if (!game_->running()) {
        DWORD code = 0;
        game_->wait_exit(0, &code);
        ++crashes_;
        report("CRASH: the game ended by itself with exit code " + std::to_string(code));
        restart("after a crash");
    } else {
        restart("unresponsive");
    }
}

void Soak::check()
{
    problems_.clear();
    look_for_crash_dialog();
    Snapshot s;
    if (!snapshot(&s))
        return lost_game();
    observe(s);

    // Wait for the game to settle, sampling all along.
    Snapshot stable = s;
    double stable_since = now_ms();
    const double started = stable_since;
    bool settled = true;
    while (now_ms() - stable_since < SETTLE_MS) {
        Sleep(10);
        if (!snapshot(&s))
            return lost_game();
        observe(s);
        if (s != stable) {
            stable = s;
            stable_since = now_ms();
        }
        // A read-out that keeps counting is a trial timing: it settles only
        // when the trial ends, which the phase timers watch.
        if (s.status == status_says::GO && now_ms() - started > SETTLE_MS * 2) {
            settled = false;
            break;
        }
        if (now_ms() - started > SETTLE_GIVE_UP_MS) {
            problem("the game keeps changing and never settles", s);
            settled = false;
            break;
        }
    }

    if (settled) {
        const bool bad_enable =
            !in_trial(stable.status) && !(stable.button_enabled && stable.edit_enabled);
        const long held = number_held(stable.spin);
        const bool bad_spin = held >= 1 && held <= 60 && held != stable.position;
        if (bad_enable || bad_spin) {
            // Settled by the window's looks, but the trial's thread may still
            // be on its way; look again after a generous pause before blaming
            // the game.
            Sleep(1500);
            if (!snapshot(&s))
                return lost_game();
            observe(s);
            if (s == stable) {
                if (bad_enable)
                    problem("the game is idle but the button or the box is disabled", s);
                if (bad_spin)
                    problem("the box holds " + std::to_string(held) + " but the arrows are at " +
                                std::to_string(s.position),
                            s);
            }
        }
    }

    if (!problems_.empty()) {
        for (const auto& p : problems_)
            fail(p.first, &p.second);
        // Carry on from a clean state rather than count one fault again and
        // again.
        restart("after a failure");
    }
}

// Clicks a point of the window or one of its controls, avoiding the system
// menu's icon and the caption's buttons.
void Soak::click_somewhere()
{
    const GameControls& c = game_->controls();
    RECT outer{};
    GetWindowRect(game_->window(), &outer);
    POINT client{0, 0};
    ClientToScreen(game_->window(), &client);
    RECT client_rect{};
    GetClientRect(game_->window(), &client_rect);

    auto in_child = [&](HWND child, const char* name, double ylo = 0.1, double yhi = 0.9) {
        RECT r{};
        GetWindowRect(child, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        const int x = r.left + between(w / 10, w - 1 - w / 10);
        const int y = r.top + between(static_cast<int>(h * ylo), static_cast<int>(h * yhi));
        note(std::string("click ") + name + " at " + std::to_string(x) + "," + std::to_string(y));
        input_click(x, y);
    };
    switch (below(11)) {
    case 0:
        in_child(c.arrows, "up arrow", 0.1, 0.4);
        break;
    case 1:
        in_child(c.arrows, "down arrow", 0.6, 0.9);
        break;
    case 2:
        in_child(c.button, "button");
        break;
    case 3:
        in_child(c.edit, "box");
        break;
    case 4:
        in_child(c.status, "status bar");
        break;
    case 5:
        in_child(c.readout, "read-out");
        break;
    case 6:
        in_child(below(2) ? c.caption : c.units, "a label");
        break;
    case 7: {
        // The middle of the caption bar.
        const int w = outer.right - outer.left;
        const int x = outer.left + w / 3 + below(w / 3);
        const int y = (outer.top + client.y) / 2;
        note("click caption at " + std::to_string(x) + "," + std::to_string(y));
        input_click(x, y);
        break;
    }
    case 8: {
        // The client area between the controls.
        for (int tries = 0; tries < 50; ++tries) {
            POINT p{below(client_rect.right), below(client_rect.bottom)};
            if (ChildWindowFromPointEx(game_->window(), p, CWP_SKIPINVISIBLE) == game_->window()) {
                ClientToScreen(game_->window(), &p);
                note("click empty client area at " + std::to_string(p.x) + "," +
                     std::to_string(p.y));
                input_click(p.x, p.y);
                break;
            }
        }
        break;
    }
    default: {
        // Anywhere in the client area, controls or not.
        const int x = client.x + below(client_rect.right);
        const int y = client.y + below(client_rect.bottom);
        note("click client area at " + std::to_string(x) + "," + std::to_string(y));
        input_click(x, y);
        break;
    }
    }
    Sleep(static_cast<DWORD>(below(50)));
}

void Soak::click_outside()
{
    RECT outer{};
    GetWindowRect(game_->window(), &outer);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const int gap = between(2, 40);
    int x = 0, y = 0;
    switch (below(4)) {
    case 0:
        x = outer.left - gap, y = between(outer.top, outer.bottom);
        break;
    case 1:
        x = outer.right + gap, y = between(outer.top, outer.bottom);
        break;
    case 2:
        x = between(outer.left, outer.right), y = outer.top - gap;
        break;
    default:
        x = between(outer.left, outer.right), y = outer.bottom + gap;
        break;
    }
    x = x < 0 ? 0 : x >= sw ? sw - 1 : x;
    y = y < 0 ? 0 : y >= sh ? sh - 1 : y;
    note("click outside at " + std::to_string(x) + "," + std::to_string(y));
    input_click(x, y);
    Sleep(20);
}

void Soak::press_key()
{
    ensure_front();
    const KeyChoice& k = KEYS[below(static_cast<int>(sizeof KEYS / sizeof KEYS[0]))];
    note(std::string("key ") + k.name);
    if (k.shift)
        input_key_with(VK_SHIFT, k.vk);
    else
        input_key(k.vk);
}

void Soak::hold_key()
{
    ensure_front();
    const KeyChoice& k = KEYS[below(static_cast<int>(sizeof KEYS / sizeof KEYS[0]))];
    const DWORD ms = static_cast<DWORD>(between(30, 700));
    note(std::string("hold ") + k.name + " for " + std::to_string(ms) + " ms");
    if (k.shift)
        input_key_down(VK_SHIFT);
    input_key_held(k.vk, ms);
    if (k.shift)
        input_key_up(VK_SHIFT);
}

// Clicks into the delay box and selects all its text, so typing replaces it.
void Soak::select_box_text()
{
    ensure_front();
    game_->click(game_->controls().edit);
    input_key(VK_HOME);
    input_key_with(VK_SHIFT, VK_END);
}

void Soak::type_odd_text()
{
    select_box_text();
    // A long text only where the box takes it: typed into a disabled box it
    // would only pile up input that nothing shows being taken.
    const bool box_takes_it =
        game_->focus() == game_->controls().edit && IsWindowEnabled(game_->controls().edit);
    std::string text;
    std::string name;
    switch (below(box_takes_it ? 9 : 6)) {
    case 0:
        name = "empty";
        break;
    case 1:
        text = "abc";
        break;
    case 2:
        text = "-5";
        break;
    case 3:
        text = "0";
        break;
    case 4:
        text = "61";
        break;
    case 5:
        text = "999999999999";
        break;
    case 6:
        text.assign(LONG_TEXT, '9');
        name = "5000 nines";
        break;
    case 7:
        // Holds 7 while it fits: leading zeros do not change the number.
        text.assign(LONG_TEXT - 1, '0');
        text += '7';
        name = "4999 zeros and a 7";
        break;
    default:
        for (int i = 0; i < LONG_TEXT; ++i)
            text += "abcdefghijklmnopqrstuvwxyz0123456789-"[below(37)];
        name = "5000 letters, digits and dashes";
        break;
    }
    if (name.empty())
        name = "\"" + text + "\"";
    note("type " + name + " into the box");
    if (text.empty())
        input_key(below(2) ? VK_DELETE : VK_BACK);
    else
        type_batched(text);
    if (text.size() > 100 && !wait_input_taken())
        note("(the caret never showed the long text taken)");
}

// The box is only as long as it is wide, so most of a long text is refused
// and changes nothing to see, while the game works through the keys at
// Wine's pace (about 1.7 ms a character here). A Home key sent after them
// moves the caret to the left end once everything before it is taken; until
// then a close would wait its turn behind the keys.
bool Soak::wait_input_taken()
{
    input_key(VK_HOME);
    const HWND edit = game_->controls().edit;
    RECT box{};
    GetClientRect(edit, &box);
    const DWORD thread = GetWindowThreadProcessId(game_->window(), nullptr);
    const double deadline = now_ms() + 60000.0;
    // Twice in a row: the Home key that selecting the text began with also
    // puts the caret there, for a moment.
    int seen = 0;
    while (now_ms() < deadline && game_->running()) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        const bool left = GetGUIThreadInfo(thread, &info) && info.hwndCaret == edit &&
                          info.rcCaret.left < box.right / 3;
        seen = left ? seen + 1 : 0;
        if (seen == 2)
            return true;
        Sleep(20);
    }
    return false;
}

// Types a delay maximum over the box's whole text and waits for the game to
// take it up.
bool Soak::set_delay_max(int value)
{
    select_box_text();
    type_batched(std::to_string(value));
    return game_->wait_spin(value, 3000);
}

bool Soak::wait_status_while_running(const char* text, double ms)
{
    const double deadline = now_ms() + ms;
    while (now_ms() < deadline) {
        Snapshot s;
        if (!snapshot(&s))
            return false;
        observe(s);
        if (s.status == text)
            return true;
        Sleep(2);
    }
    return false;
}

// Starts a trial with the button: by a click, or by Tab to the button and
// the space bar.
void Soak::start_trial()
{
    ensure_front();
    if (chance(0.6)) {
        note("start by clicking the button");
        game_->click_start();
        return;
    }
    for (int i = 0; i < 4 && game_->focus() != game_->controls().button; ++i) {
        input_key(VK_TAB);
        Sleep(20);
    }
    if (game_->focus() == game_->controls().button) {
        note("start by Tab to the button and Space");
        input_key_held(VK_SPACE, 40);
    } else {
        note("start by clicking the button (Tab did not reach it)");
        game_->click_start();
    }
}

void Soak::start_and_press()
{
    ensure_front();
    const std::string status = game_->status();
    if (in_trial(status)) {
        note("cycle: a trial is under way, press Space");
        input_key_held(VK_SPACE, 80);
        return;
    }
    if (chance(0.85)) {
        const int max = between(1, 3);
        note("cycle: delay maximum " + std::to_string(max));
        set_delay_max(max);
    }
    start_trial();
    if (!wait_status_while_running(status_says::DELAY, 3000))
        return;  // the checks look at what the game shows
    const int how = below(100);
    if (how < 20) {
        // A press within the delay: held past its end it is a cheat.
        const DWORD after = static_cast<DWORD>(below(1500));
        const bool hold_on = chance(0.5);
        note("cycle: Space " + std::to_string(after) + " ms into the delay" +
             (hold_on ? ", held until the delay ends" : ""));
        Sleep(after);
        input_key_down(VK_SPACE);
        if (hold_on) {
            const double deadline = now_ms() + DELAY_LONGEST_MS;
            while (game_->running() && game_->status() == status_says::DELAY && now_ms() < deadline)
                Sleep(5);
        } else {
            Sleep(60);
        }
        input_key_up(VK_SPACE);
    } else if (how < 95) {
        if (!wait_status_while_running(status_says::GO, DELAY_LONGEST_MS))
            return;
        const DWORD after =
            static_cast<DWORD>(below(100) < 80 ? between(100, 600) : between(600, 3000));
        note("cycle: Space " + std::to_string(after) + " ms after the go text");
        Sleep(after);
        input_key_held(VK_SPACE, 120);
    } else {
        note("cycle: no press, waiting for the time limit");
        wait_status_while_running(status_says::SLOW, DELAY_LONGEST_MS + TIMING_LONGEST_MS);
    }
}

void Soak::close_and_restart()
{
    ensure_front();
    std::string when = "while idle";
    const int moment = below(3);
    if (moment > 0 && !in_trial(game_->status())) {
        if (chance(0.8))
            set_delay_max(between(1, 2));
        start_trial();
        if (moment == 1 && wait_status_while_running(status_says::DELAY, 3000)) {
            Sleep(static_cast<DWORD>(below(800)));
            when = "in the delay";
        } else if (moment == 2 && wait_status_while_running(status_says::GO, DELAY_LONGEST_MS)) {
            Sleep(static_cast<DWORD>(below(1500)));
            when = "while timing";
        }
    }
    ensure_front();
    const bool box = chance(0.5);
    note(std::string("close with ") + (box ? "the close box " : "Alt+F4 ") + when);
    if (box) {
        if (!game_->click_close_box()) {
            fail("the window has no close box");
            restart("no close box");
            return;
        }
    } else {
        game_->alt_f4();
    }
    ++closes_;
    const double asked = now_ms();
    DWORD code = 1;
    if (!game_->wait_exit(CLOSE_LIMIT_MS, &code)) {
        // Say what became of it, to tell a slow close from a lost one.
        const HWND front = GetForegroundWindow();
        const std::string in_front =
            front == game_->window() ? "the game" : "\"" + class_of(front) + "\"";
        const bool ended = game_->wait_exit(15000, &code);
        fail("the game still runs 2 s after the close (" +
             (ended ? "it ended after " + std::to_string(static_cast<long>(now_ms() - asked)) +
                          " ms with code " + std::to_string(code)
                    : std::string("still running after 17 s")) +
             "; window " + (IsWindow(game_->window()) ? "still there" : "gone") +
             ", in front: " + in_front + ")");
    } else if (code != 0) {
        fail("the game ended with exit code " + std::to_string(code) + " after the close");
    }
    restart("after the close");
}

void Soak::act()
{
    ++actions_;
    const int pick = below(100);
    const char* kind;
    if (pick < 30) {
        kind = "click";
        click_somewhere();
    } else if (pick < 35) {
        kind = "click outside";
        click_outside();
    } else if (pick < 57) {
        kind = "key";
        press_key();
    } else if (pick < 67) {
        kind = "key hold";
        hold_key();
    } else if (pick < 77) {
        kind = "typing";
        type_odd_text();
    } else if (pick < 96) {
        kind = "start-and-press";
        start_and_press();
    } else {
        kind = "close";
        close_and_restart();
    }
    ++per_kind_[kind];
}

int Soak::run()
{
    printf("e2e_soak: %s for %.0f s, seed %llu\n", exe_.c_str(), seconds_, seed_);
    fflush(stdout);
    if (!start_game())
        return 1;
    const double end = now_ms() + seconds_ * 1000.0;
    long last_report = 0;
    while (now_ms() < end) {
        act();
        check();
        if (actions_ - last_report >= 100) {
            last_report = actions_;
            printf("  %ld actions, %ld trials, %ld restarts, %ld failures\n", actions_, trials_,
                   restarts_, failures_);
            fflush(stdout);
        }
    }
    // The last copy ends as a person ends it.
    if (game_->running()) {
        ensure_front();
        game_->click_close_box();
        DWORD code = 1;
        if (!game_->wait_exit(CLOSE_LIMIT_MS, &code) || code != 0)
            fail("the last copy did not close cleanly");
    }

    printf("\nSeed %llu (pass it back to repeat this run)\n", seed_);
    printf("Actions: %ld\n", actions_);
    for (const auto& [kind, count] : per_kind_)
        printf("  %-16s %ld\n", kind.c_str(), count);
    printf("Trials started: %ld; ended by", trials_);
    for (const auto& [how, count] : endings_)
        printf(" %s %ld,", how.c_str(), count);
    printf(" the rest by a close\n");
    printf("Closes: %ld; restarts: %ld\n", closes_, restarts_);
    printf("Crashes: %ld\n", crashes_);
    printf("Invariant failures: %ld\n", failures_);
    return failures_ || crashes_ ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: e2e_soak PATH-TO-Flinchmeter.exe [SECONDS] [SEED]\n");
        return 2;
    }
    const double seconds = argc > 2 ? atof(argv[2]) : 300.0;
    unsigned long long seed = 0;
    if (argc > 3 && argv[3][0]) {
        seed = strtoull(argv[3], nullptr, 10);
    } else {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        seed = static_cast<unsigned long long>(t.QuadPart) ^ GetCurrentProcessId();
    }
    Soak soak(argv[1], seconds > 0 ? seconds : 300.0, seed);
    return soak.run();
}
