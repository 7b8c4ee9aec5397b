// The session results window, played with real input: trials recorded as the
// read-out showed them, the statistics, Copy, a trial ending while the window
// is open, Escape and the close box, and closing the game with it open.
#include "tests/e2e/e2e.h"
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <regex>
#include <vector>
#include "tests/support/input.h"

namespace {

// Seconds with three decimals, as the game shows whole milliseconds.
std::string seconds(double ms)
{
    const int whole = static_cast<int>(ms + 0.5);
    char text[32];
    snprintf(text, sizeof text, "%d.%03d", whole / 1000, whole % 1000);
    return text;
}

int ms_of(const std::string& reading)
{
    return static_cast<int>(atof(reading.c_str()) * 1000.0 + 0.5);
}

// A text matched as it stands, in a regular expression.
std::string literally(const std::string& text)
{
    return std::regex_replace(text, std::regex("[.\\\\^$|()\\[\\]{}*+?]"), "\\$&");
}

// The last tab-separated field of a line of Copy's table, as a number.
double last_field(const std::string& line)
{
    return atof(line.c_str() + line.rfind('\t') + 1);
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(text.substr(from, end - from));
    if (from < text.size())
        lines.push_back("unterminated: " + text.substr(from));
    return lines;
}

class SessionResults : public GameTest {
protected:
    // A trial ended by a press `after_go_ms` after the go text; the reading
    // the read-out settled on.
    std::string press_trial(DWORD after_go_ms)
    {
        game.click_start();
        EXPECT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
        Sleep(after_go_ms);
        input_key_held(VK_SPACE, 60);
        EXPECT_TRUE(game.wait_status(status_says::AGAIN, 2000)) << game.status();
        Sleep(150);
        return game.readout();
    }
    void early_trial()
    {
        game.click_start();
        ASSERT_TRUE(game.wait_status(status_says::DELAY, 2000)) << game.status();
        Sleep(400);
        ASSERT_TRUE(game.hold_key_until_status(VK_SPACE, status_says::CHEAT, 3000))
            << game.status();
    }
    void time_limit_trial()
    {
        game.click_start();
        ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
        ASSERT_TRUE(game.wait_status(status_says::SLOW, 12000)) << game.status();
    }
    bool wait_results_line(int line, const std::string& text, DWORD ms = 2000) const
    {
        const double deadline = now_ms() + ms;
        do {
            if (game.results_lines()[line] == text)
                return true;
            Sleep(10);
        } while (now_ms() < deadline);
        return false;
    }
};

TEST_F(SessionResults, EveryEndedTrialIsShownCopiedAndKeptUpToDate)
{
    ASSERT_TRUE(game.type_delay_max(1));
    std::vector<std::string> readings;
    for (DWORD after_go : {150, 420, 260}) {
        readings.push_back(press_trial(after_go));
        ASSERT_TRUE(is_reading(readings.back())) << readings.back();
    }
    early_trial();
    time_limit_trial();
    game.to_front();

    const HWND results = game.open_results();
    ASSERT_TRUE(results) << "Alt+Space, U opened no results window";
    EXPECT_EQ(text_of(results), "Flinchmeter results");
    EXPECT_EQ(GetWindow(results, GW_OWNER), game.window());
    const LONG style = GetWindowLongA(results, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU);
    // Beside the main window, on its right where the screen has room.
    RECT main{}, beside{};
    GetWindowRect(game.window(), &main);
    GetWindowRect(results, &beside);
    EXPECT_GE(beside.left, main.right);
    EXPECT_LE(beside.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_TRUE(game.wait_focus(results)) << "the focus goes to the window, not to its button";

    // Copy: the whole session, line by line, every line ended with CR LF; a
    // timed trial ends with its longest gap between looks at the key.
    const HWND copy = game.results_copy_button();
    ASSERT_TRUE(copy);
    const std::string copied = game.copy_results();
    const std::string gap = "\t[0-9]+\\.[0-9]";
    const std::vector<std::string> table = {
        literally("Trial\tDelay (s)\tOutcome\tReading (s)\tLongest gap (ms)"),
        "1\t1\tpress\t" + literally(readings[0]) + gap,
        "2\t1\tpress\t" + literally(readings[1]) + gap,
        "3\t1\tpress\t" + literally(readings[2]) + gap,
        "4\t1\tearly\t\t",
        "5\t1\ttime limit\t" + gap};
    const std::vector<std::string> rows = lines_of(copied);
    ASSERT_EQ(rows.size(), table.size()) << copied;
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_TRUE(std::regex_match(rows[i], std::regex(table[i]))) << rows[i];

    // The statistics of the three presses, as the read-out showed them, and
    // of the gaps that Copy gave: coarse presses, the longest over all.
    // A gap shown as 4.0 may have been 4.04 ms, which is coarse.
    int surely_coarse = 0, maybe_coarse = 0;
    double longest = 0;
    for (size_t i = 1; i < rows.size(); ++i) {
        surely_coarse += i <= 3 && last_field(rows[i]) > 4.0;
        maybe_coarse += i <= 3 && last_field(rows[i]) >= 4.0;
        if (i != 4)
            longest = std::max(longest, last_field(rows[i]));
    }
    char longest_text[32];
    snprintf(longest_text, sizeof longest_text, "%.1f ms", longest);
    std::vector<int> ms;
    for (const std::string& r : readings)
        ms.push_back(ms_of(r));
    std::vector<int> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    const double mean = (ms[0] + ms[1] + ms[2]) / 3.0;
    double squares = 0;
    for (int v : ms)
        squares += (v - mean) * (v - mean);
    const std::vector<std::string> expected = {"Trials: 5",
                                               "Presses: 3",
                                               "Early presses: 1",
                                               "Time limits: 1",
                                               "Coarse trials: ",
                                               "Best: " + seconds(sorted[0]),
                                               "Median: " + seconds(sorted[1]),
                                               "Mean: " + seconds(mean),
                                               "Standard deviation: " + seconds(sqrt(squares / 2)),
                                               "Mean of last 5: -",
                                               std::string("Longest gap: ") + longest_text};
    std::vector<std::string> shown = game.results_lines();
    ASSERT_EQ(shown.size(), expected.size());
    const int coarse = atoi(shown[4].c_str() + expected[4].size());
    EXPECT_TRUE(coarse >= surely_coarse && coarse <= maybe_coarse) << shown[4];
    shown[4].resize(std::min(shown[4].size(), expected[4].size()));
    EXPECT_EQ(shown, expected);

    // Escape closes it, even with the button holding the focus.
    ASSERT_EQ(game.focus(), copy);
    input_key(VK_ESCAPE);
    for (const double deadline = now_ms() + 2000; IsWindow(results) && now_ms() < deadline;)
        Sleep(10);
    EXPECT_FALSE(IsWindow(results));
    EXPECT_TRUE(game.running());

    // Open while trials go on: one that ends shows up in it at once.
    game.to_front();
    const HWND reopened = game.open_results();
    ASSERT_TRUE(reopened);
    const std::string fourth = press_trial(330);
    ASSERT_TRUE(is_reading(fourth)) << fourth;
    EXPECT_TRUE(wait_results_line(0, "Trials: 6")) << game.results_lines()[0];
    EXPECT_EQ(game.results_lines()[1], "Presses: 4");
    EXPECT_EQ(game.results_lines()[5], "Best: " + seconds(std::min(sorted[0], ms_of(fourth))));

    // Chosen again while open, it comes to the front: no second window.
    game.to_front();
    EXPECT_EQ(game.open_results(), reopened);
    for (const double deadline = now_ms() + 2000;
         GetForegroundWindow() != reopened && now_ms() < deadline;)
        Sleep(10);
    EXPECT_EQ(GetForegroundWindow(), reopened);

    // Its close box closes it alone.
    ASSERT_TRUE(game.click_close_box(reopened));
    for (const double deadline = now_ms() + 2000; IsWindow(reopened) && now_ms() < deadline;)
        Sleep(10);
    EXPECT_FALSE(IsWindow(reopened));
    ASSERT_TRUE(game.running());

    // Closing the main window with the results open ends the game cleanly.
    game.to_front();
    ASSERT_TRUE(game.open_results());
    ASSERT_TRUE(game.click_close_box());
    DWORD code = 1;
    ASSERT_TRUE(game.wait_exit(2000, &code));
    EXPECT_EQ(code, 0u);
}

// A machine too busy to run the game for 40 ms just after the go text: the
// trial's longest gap shows the stall and the press counts as coarse, yet
// the reading, stamped when the key-down came after the stall, stays true.
TEST_F(SessionResults, AStallAfterTheGoTextMakesACoarseTrialWhoseReadingStaysTrue)
{
    ASSERT_TRUE(game.type_delay_max(1));
    game.click_start();
    // On a loaded machine the driver can be held up between reading its
    // clock and acting, so the truth is bounded by readings on either side:
    // the go text came after the last look that did not show it began, and
    // before the look that showed it returned.
    double go_earliest = now_ms(), go_latest = 0;
    for (const double deadline = go_earliest + 3000; !go_latest && now_ms() < deadline;) {
        const double before = now_ms();
        if (game.status() == status_says::GO)
            go_latest = now_ms();
        else
            go_earliest = before;
    }
    ASSERT_GT(go_latest, 0.0) << game.status();
    Sleep(30);
    ASSERT_GT(stall_process(game.pid(), 40), 0);
    while (now_ms() < go_latest + 250)
        ;
    const double press_earliest = now_ms();
    input_key_down(VK_SPACE);
    const double press_latest = now_ms();
    Sleep(60);
    input_key_up(VK_SPACE);
    ASSERT_TRUE(game.wait_status(status_says::AGAIN, 2000)) << game.status();
    const int reading = ms_of(game.readout());
    EXPECT_GE(reading, press_earliest - go_latest - 5.0) << game.readout();
    EXPECT_LE(reading, press_latest - go_earliest + 5.0) << game.readout();

    game.to_front();
    ASSERT_TRUE(game.open_results());
    const std::vector<std::string> lines = game.results_lines();
    EXPECT_EQ(lines[4], "Coarse trials: 1");
    ASSERT_EQ(lines[10].rfind("Longest gap: ", 0), 0u) << lines[10];
    const double shown = atof(lines[10].c_str() + strlen("Longest gap: "));
    EXPECT_GE(shown, 35.0) << lines[10];
    const std::string copied = game.copy_results();
    const std::vector<std::string> rows = lines_of(copied);
    ASSERT_EQ(rows.size(), 2u) << copied;
    EXPECT_EQ(last_field(rows[1]), shown) << rows[1];
}

}  // namespace
