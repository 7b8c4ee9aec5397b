// Status bars: cumulative fields, aligned and styled texts, fitting to the
// parent's size, and what happens to the parent's properties.
#include <string>
#include <vector>
#include "tests/ui/controls/fixture.h"
#include <commctrl.h>
#include "ui/controls/status_bar.h"

namespace {

// Counts the size messages that the parent's subclass procedure sends to a
// bar (WM_SIZE with no size); the bar's own resizing carries a size.
WNDPROC bar_proc;
int refits;

LRESULT CALLBACK counting_bar_proc(HWND bar, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_SIZE && wparam == 0 && lparam == 0)
        ++refits;
    return CallWindowProcA(bar_proc, bar, message, wparam, lparam);
}

class StatusBarTest : public ControlsTest {
protected:
    static HWND handle_of(LONG_PTR result) { return reinterpret_cast<HWND>(result); }

    ObjectNumber id_prop(HWND w) const
    {
        return reinterpret_cast<ObjectNumber>(GetPropA(w, STATUS_ID_PROP));
    }

    static std::vector<int> edges(HWND bar)
    {
        int parts[STATUS_MAX_FIELDS + 1] = {};
        const int count = static_cast<int>(
            SendMessageA(bar, SB_GETPARTS, STATUS_MAX_FIELDS + 1, reinterpret_cast<LPARAM>(parts)));
        return std::vector<int>(parts, parts + count);
    }

    static std::string text_of(HWND bar, int field, WORD* type = nullptr)
    {
        char buffer[256] = {};
        const LRESULT r = SendMessageA(bar, SB_GETTEXTA, field, reinterpret_cast<LPARAM>(buffer));
        if (type)
            *type = HIWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, field, 0));
        (void)r;
        return buffer;
    }

    static int width_of(HWND w)
    {
        RECT r;
        GetWindowRect(w, &r);
        return r.right - r.left;
    }

    int client_width() const
    {
        RECT r;
        GetClientRect(window, &r);
        return r.right;
    }

    // Grows or shrinks the window by `dx` pixels.
    void resize_window(int dx)
    {
        RECT r;
        GetWindowRect(window, &r);
        SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dx, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

TEST_F(StatusBarTest, FieldEdgesAreCumulative)
{
    HWND bar = handle_of(create_status_bar(0, window));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetParent(bar), window);
    EXPECT_EQ(static_cast<UINT>(GetWindowLongPtrA(bar, GWLP_ID)), STATUS_BAR_CHILD_ID);
    EXPECT_NE(add_status_field(250), 0);
    EXPECT_EQ(edges(bar), (std::vector<int>{250}));
    EXPECT_NE(add_status_field(100), 0);
    EXPECT_NE(add_status_field(50), 0);
    EXPECT_EQ(edges(bar), (std::vector<int>{250, 350, 400}));
}

TEST_F(StatusBarTest, NewBarStartsItsOwnFields)
{
    ASSERT_NE(create_status_bar(0, window), 0);
    add_status_field(30);
    add_status_field(30);
    HWND second = handle_of(create_status_bar(1, window));
    EXPECT_NE(add_status_field(70), 0);
    EXPECT_EQ(edges(second), (std::vector<int>{70}));
}

TEST_F(StatusBarTest, FieldsBeyondTheEdgeTableAreRefused)
{
    HWND bar = handle_of(create_status_bar(0, window));
    for (int i = 0; i < STATUS_MAX_FIELDS; ++i)
        ASSERT_NE(add_status_field(3), 0) << i;
    EXPECT_EQ(add_status_field(3), 0);
    const std::vector<int> parts = edges(bar);
    ASSERT_EQ(parts.size(), static_cast<size_t>(STATUS_MAX_FIELDS));
    EXPECT_EQ(parts.back(), 3 * STATUS_MAX_FIELDS);
}

TEST_F(StatusBarTest, FieldsNeedALiveCurrentBar)
{
    ASSERT_NE(create_status_bar(0, window), 0);
    close_window(WINDOW);
    EXPECT_EQ(add_status_field(100), 0);
    EXPECT_EQ(status_text(0, 0, "gone"), 0);
}

TEST_F(StatusBarTest, TextFlagsAlignAndStyleTheField)
{
    HWND bar = handle_of(create_status_bar(0, window));
    add_status_field(250);
    const char* const message = "Click on the Start Timer button.";
    WORD type = 0;

    EXPECT_NE(status_text(0, 0, message), 0);
    EXPECT_EQ(text_of(bar, 0, &type), message);
    EXPECT_EQ(type & (SBT_POPOUT | SBT_NOBORDERS), 0);

    status_text(0, 0, message, STATUS_CENTRED);
    EXPECT_EQ(text_of(bar, 0), std::string("\t") + message);
    status_text(0, 0, message, STATUS_RIGHT);
    EXPECT_EQ(text_of(bar, 0), std::string("\t\t") + message);
    status_text(0, 0, message, STATUS_CENTRED | STATUS_RIGHT);
    EXPECT_EQ(text_of(bar, 0), std::string("\t") + message);

    status_text(0, 0, "raised", STATUS_RAISED | STATUS_NO_BORDER);
    text_of(bar, 0, &type);
    EXPECT_TRUE(type & SBT_POPOUT);
    EXPECT_FALSE(type & SBT_NOBORDERS);
    status_text(0, 0, "flat", STATUS_NO_BORDER);
    EXPECT_EQ(text_of(bar, 0, &type), "flat");
    EXPECT_TRUE(type & SBT_NOBORDERS);

    EXPECT_NE(status_text(0, 0, nullptr), 0);
    EXPECT_EQ(text_of(bar, 0), "");
}

// A field the bar does not have changes no field: from 256 on, the number
// would turn into drawing-type bits of field 0.
TEST_F(StatusBarTest, FieldsTheBarDoesNotHaveChangeNothing)
{
    HWND bar = handle_of(create_status_bar(0, window));
    add_status_field(150);
    add_status_field(100);
    status_text(0, 0, "first");
    status_text(0, 1, "second");
    for (int field : {-1, 2, 255, 256, 256 + 1, 512, 0x10000}) {
        SCOPED_TRACE(field);
        EXPECT_EQ(status_text(0, field, "stray", STATUS_NO_BORDER), 0);
        WORD type = 0;
        EXPECT_EQ(text_of(bar, 0, &type), "first");
        EXPECT_EQ(type & (SBT_POPOUT | SBT_NOBORDERS), 0);
        EXPECT_EQ(text_of(bar, 1), "second");
    }
}

TEST_F(StatusBarTest, OnlyARealSizeChangeRefitsTheBar)
{
    HWND bar = handle_of(create_status_bar(0, window));
    EXPECT_EQ(width_of(bar), client_width());
    bar_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_bar_proc)));
    refits = 0;

    RECT client;
    GetClientRect(window, &client);
    SendMessageA(window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    EXPECT_EQ(refits, 0);

    resize_window(40);
    EXPECT_EQ(refits, 1);
    EXPECT_EQ(width_of(bar), client_width());
    SendMessageA(window, WM_SIZE, 0, 0);  // whatever it says, the size is unchanged
    EXPECT_EQ(refits, 1);
}

TEST_F(StatusBarTest, ParentIsSubclassedOnceAndFollowsTheNewestBar)
{
    const LONG_PTR original = GetWindowLongPtrA(window, GWLP_WNDPROC);
    HWND first = handle_of(create_status_bar(0, window));
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(status_parent_proc));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(window, STATUS_CALLBACK_PROP)), original);
    EXPECT_EQ(id_prop(window), 0);

    HWND second = handle_of(create_status_bar(1, window));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(window, STATUS_CALLBACK_PROP)), original);
    EXPECT_EQ(id_prop(window), 1);

    const int old_width = width_of(first);
    resize_window(-30);
    EXPECT_EQ(width_of(second), client_width());
    EXPECT_EQ(width_of(first), old_width);
}

TEST_F(StatusBarTest, ParentSizeEventStillReachesTheProgram)
{
    ASSERT_NE(create_status_bar(0, window), 0);
    drain_events();
    resize_window(20);
    EXPECT_TRUE(wait_for_event(EVENT_SIZE, 2000));
}

TEST_F(StatusBarTest, ReusedNumberLeavesTheOldParentWithoutABar)
{
    HWND first = handle_of(create_status_bar(2, window));
    ASSERT_NE(first, nullptr);
    HWND other = reinterpret_cast<HWND>(open_window(1, 0, 0, 200, 100, "other"));
    ASSERT_NE(other, nullptr);
    HWND second = handle_of(create_status_bar(2, other));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(id_prop(window), STATUS_NO_BAR);
    EXPECT_EQ(id_prop(other), 2);
    status_text(2, 0, "here");
    EXPECT_EQ(text_of(second, 0), "here");
    resize_window(10);  // the old parent has nothing left to fit
    close_window(1);
    EXPECT_EQ(status_text(2, 0, "gone"), 0);
}

TEST_F(StatusBarTest, FreeingAnOlderBarKeepsTheNewerOneFitted)
{
    ASSERT_NE(create_status_bar(3, window), 0);
    HWND newer = handle_of(create_status_bar(4, window));
    HWND other = reinterpret_cast<HWND>(open_window(1, 0, 0, 200, 100, "other"));
    ASSERT_NE(create_status_bar(3, other), 0);
    EXPECT_EQ(id_prop(window), 4);
    resize_window(25);
    EXPECT_EQ(width_of(newer), client_width());
    close_window(1);
}

TEST_F(StatusBarTest, AnyNumberBarIsItsRecord)
{
    const ObjectNumber n = create_status_bar(ANY_NUMBER, window);
    ASSERT_NE(n, 0);
    auto* record = static_cast<StatusBar*>(table_lookup(status_bar_table(), n));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(reinterpret_cast<ObjectNumber>(record), n);
    EXPECT_EQ(id_prop(window), n);
    EXPECT_NE(add_status_field(120), 0);
    EXPECT_NE(status_text(n, 0, "any"), 0);
    EXPECT_EQ(text_of(record->handle, 0), "any");
    // The bar's record goes with its parent.
    close_window(WINDOW);
    EXPECT_EQ(table_lookup(status_bar_table(), n), nullptr);
    EXPECT_EQ(status_text(n, 0, "gone"), 0);
}

TEST_F(StatusBarTest, NumbersThatNameNoBarDoNothing)
{
    int local = 0;
    EXPECT_EQ(status_text(9, 0, "x"), 0);
    EXPECT_EQ(status_text(123456, 0, "x"), 0);
    EXPECT_EQ(status_text(reinterpret_cast<ObjectNumber>(&local), 0, "x"), 0);
    free_status_bar(9);
    free_status_bar(reinterpret_cast<ObjectNumber>(&local));
}

}  // namespace
