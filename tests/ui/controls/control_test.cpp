// The control core: numbers, registration and teardown, the generic
// operations, routing of parent notifications and the shared brushes.
#include "tests/ui/controls/fixture.h"
#include <string.h>
#include "ui/controls/brush_cache.h"
#include "ui/controls/button.h"
#include "ui/controls/spin.h"
#include "ui/controls/text.h"
#include "runtime/threads.h"

namespace {

using ControlCore = ControlsTest;

HWND as_handle(LONG_PTR result)
{
    return reinterpret_cast<HWND>(result);
}

TEST_F(ControlCore, CreatedControlCarriesItsNumberAndTheListFont)
{
    HWND text = as_handle(create_text(4, 10, 10, 100, 20, "hello"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(GetParent(text), window);
    EXPECT_EQ(GetWindowLongPtrA(text, GWLP_ID), 4);
    EXPECT_EQ(reinterpret_cast<ObjectNumber>(GetPropA(text, CONTROL_ID_PROP)), 4);
    EXPECT_EQ(GetWindowLongPtrA(text, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(control_window_proc));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0)), default_gui_font());
    Control* record = control_lookup(4);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->handle, text);
    EXPECT_EQ(record->kind, &TEXT_KIND);
    EXPECT_EQ(TEXT_KIND.kind_id, KIND_TEXT);
    EXPECT_EQ(TEXT_KIND.table_size, static_cast<int32_t>(sizeof(ControlKind)));
    EXPECT_EQ(control_text(4), "hello");
}

TEST_F(ControlCore, DestroyedWindowReleasesItsNumber)
{
    HWND button = as_handle(create_button(6, 10, 10, 80, 20, "b"));
    ASSERT_NE(button, nullptr);
    DestroyWindow(button);
    EXPECT_EQ(control_lookup(6), nullptr);
    EXPECT_EQ(control_set_text(6, "x"), 0);
    // The number can be used again at once.
    EXPECT_NE(create_button(6, 10, 10, 80, 20, "again"), 0);
    EXPECT_EQ(control_text(6), "again");
}

TEST_F(ControlCore, ClosingTheWindowTakesItsControlsAlong)
{
    ASSERT_NE(create_text(11, 0, 0, 50, 20, "a"), 0);
    const ObjectNumber spin = create_spin(ANY_NUMBER, 0, 30, 55, 20, 0, 9);
    ASSERT_NE(spin, 0);
    close_window(WINDOW);
    EXPECT_EQ(control_lookup(11), nullptr);
    EXPECT_EQ(control_lookup(spin), nullptr);
}

TEST_F(ControlCore, ReusedNumberReplacesTheOldControl)
{
    HWND first = as_handle(create_button(7, 10, 10, 80, 20, "first"));
    ASSERT_NE(first, nullptr);
    HWND second = as_handle(create_text(7, 10, 40, 80, 20, "second"));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    // Had the old control's teardown come after registration, it would have
    // emptied the new record.
    Control* record = control_lookup(7);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->handle, second);
    EXPECT_EQ(record->kind, &TEXT_KIND);
}

// The class whose windows refuse_class stops, as a system out of resources
// would. With the common controls 6 the system classes carry a version
// prefix ("6.0.2600.2982!Button").
const char* refused_class;

LRESULT CALLBACK refuse_class(int code, WPARAM wparam, LPARAM lparam)
{
    if (code == HCBT_CREATEWND) {
        const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs->lpszClass;
        if (HIWORD(reinterpret_cast<UINT_PTR>(name))) {
            const char* bang = strrchr(name, '!');
            if (lstrcmpiA(bang ? bang + 1 : name, refused_class) == 0)
                return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Every object the control table holds, handed-out records included.
int table_objects()
{
    int count = 0;
    ObjectNumber number;
    table_walk_begin(control_table());
    while (table_walk_next(control_table(), &number))
        ++count;
    return count;
}

// A control whose window cannot be made takes no record: the control that
// held the number stays, and ANY_NUMBER leaves no handed-out record behind.
TEST_F(ControlCore, NoWindowNoControlAndTheNumbersOldControlStays)
{
    const struct {
        const char* class_name;
        LONG_PTR (*create)(ObjectNumber number);
    } kinds[] = {
        {"Button", [](ObjectNumber n) { return create_button(n, 0, 0, 50, 20, "b"); }},
        {"Static", [](ObjectNumber n) { return create_text(n, 0, 0, 50, 20, "t"); }},
        {"Edit", [](ObjectNumber n) { return create_spin(n, 0, 0, 55, 20, 0, 9); }},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.class_name);
        ASSERT_NE(kind.create(4), 0);
        const HWND old = control_lookup(4)->handle;
        const int objects = table_objects();
        refused_class = kind.class_name;
        HHOOK hook = SetWindowsHookExA(WH_CBT, refuse_class, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        const LONG_PTR again = kind.create(4);
        const LONG_PTR any = kind.create(ANY_NUMBER);
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(again, 0);
        EXPECT_EQ(any, 0);
        ASSERT_NE(control_lookup(4), nullptr) << "the old control was destroyed";
        EXPECT_EQ(control_lookup(4)->handle, old);
        EXPECT_EQ(table_objects(), objects);
        DestroyWindow(old);
    }
}

TEST_F(ControlCore, NumbersThatNameNoControlDoNothing)
{
    ASSERT_NE(create_text(3, 0, 0, 50, 20, "three"), 0);
    int local = 0;
    const ObjectNumber strangers[] = {8, 49, 12345, reinterpret_cast<ObjectNumber>(&local), -7};
    for (ObjectNumber n : strangers) {
        SCOPED_TRACE(n);
        const int32_t pos = workspace_used();
        EXPECT_EQ(control_get_state(n), 0);
        EXPECT_EQ(control_set_state(n, 1), 0);
        EXPECT_EQ(control_get_text(n, pos), 0);
        EXPECT_EQ(workspace_used(), pos);
        EXPECT_EQ(control_set_text(n, "x"), 0);
        EXPECT_EQ(control_disable(n, 1), 0);
        EXPECT_EQ(control_set_font(n, FONT_DEFAULT_GUI), 0);
    }
    EXPECT_EQ(control_text(3), "three");
}

TEST_F(ControlCore, TextOperationsFollowTheWorkspaceProtocol)
{
    ASSERT_NE(create_text(2, 0, 0, 150, 20, "Random Delay Maximum"), 0);
    const int32_t pos = workspace_used();
    EXPECT_EQ(control_get_text(2, pos), 20);
    EXPECT_EQ(workspace_used(), pos + 20);
    EXPECT_STREQ(workspace_text(pos), "Random Delay Maximum");
    workspace_set_used(pos);

    EXPECT_NE(control_set_text(2, nullptr), 0);
    EXPECT_EQ(control_get_text(2, pos), 0);
    EXPECT_EQ(workspace_used(), pos);
    EXPECT_STREQ(workspace_text(pos), "");
}

TEST_F(ControlCore, AnyNumberControlWorksWithEveryGenericOperation)
{
    const ObjectNumber n = create_button(ANY_NUMBER, 10, 10, 100, 20, "check", BS_AUTOCHECKBOX);
    ASSERT_NE(n, 0);
    Control* record = control_lookup(n);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(reinterpret_cast<ObjectNumber>(record), n);
    EXPECT_EQ(GetWindowLongPtrA(record->handle, GWLP_ID), n);

    EXPECT_EQ(control_set_state(n, 1), 1);
    EXPECT_EQ(control_get_state(n), 1);
    EXPECT_NE(control_set_text(n, "changed"), 0);
    EXPECT_EQ(control_text(n), "changed");
    control_disable(n, 1);
    EXPECT_FALSE(IsWindowEnabled(record->handle));
    control_disable(n, 0);
    EXPECT_TRUE(IsWindowEnabled(record->handle));
    HFONT fixed = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    EXPECT_EQ(control_set_font(n, reinterpret_cast<LONG_PTR>(fixed)), 1);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(record->handle, WM_GETFONT, 0, 0)), fixed);

    DestroyWindow(record->handle);
    EXPECT_EQ(control_get_state(n), 0);
}

TEST_F(ControlCore, FontsForOneControlAndForLaterOnes)
{
    HFONT fixed = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    HWND before = as_handle(create_text(1, 0, 0, 50, 20, "a"));
    control_set_font(ANY_NUMBER, reinterpret_cast<LONG_PTR>(fixed));
    HWND after = as_handle(create_text(2, 0, 30, 50, 20, "b"));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(before, WM_GETFONT, 0, 0)), default_gui_font());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(after, WM_GETFONT, 0, 0)), fixed);

    control_set_font(2, FONT_DEFAULT_GUI);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(after, WM_GETFONT, 0, 0)), default_gui_font());

    control_set_font(ANY_NUMBER, FONT_DEFAULT_GUI);
    HWND last = as_handle(create_text(3, 0, 60, 50, 20, "c"));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(last, WM_GETFONT, 0, 0)), default_gui_font());
}

TEST_F(ControlCore, RoutingRequiresMatchingIdAndProperty)
{
    HWND text = as_handle(create_text(5, 0, 0, 50, 20, "t"));
    Control* record = control_lookup(5);
    record->kind->set_colour(record, COLOUR_TYPE_TEXT, RGB(200, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    const LPARAM l = reinterpret_cast<LPARAM>(text);
    const WPARAM w = reinterpret_cast<WPARAM>(dc);
    EXPECT_EQ(route_to_control(text, window, WM_CTLCOLORSTATIC, w, l),
              reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));

    SetPropA(text, CONTROL_ID_PROP, reinterpret_cast<HANDLE>(77));
    EXPECT_EQ(route_to_control(text, window, WM_CTLCOLORSTATIC, w, l), NOT_HANDLED);
    SetPropA(text, CONTROL_ID_PROP, reinterpret_cast<HANDLE>(5));

    // A child that is not a control: no property, its own id.
    HWND foreign = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, window,
                                   reinterpret_cast<HMENU>(0xE404), nullptr, nullptr);
    EXPECT_EQ(
        route_to_control(foreign, window, WM_CTLCOLORSTATIC, w, reinterpret_cast<LPARAM>(foreign)),
        NOT_HANDLED);
    EXPECT_EQ(route_to_control(nullptr, window, WM_COMMAND, 0, 0), NOT_HANDLED);
    DestroyWindow(foreign);
    DeleteDC(dc);
}

TEST_F(ControlCore, OnlyTheControlsOwnWindowsAreRoutedToIt)
{
    HWND text = as_handle(create_text(0, 0, 0, 50, 20, "t"));
    HWND other = as_handle(create_text(5, 0, 30, 50, 20, "u"));
    Control* record = control_lookup(0);
    record->kind->set_colour(record, COLOUR_TYPE_BACK, RGB(10, 20, 30));
    Control* other_record = control_lookup(5);
    other_record->kind->set_colour(other_record, COLOUR_TYPE_BACK, RGB(40, 50, 60));
    HDC dc = CreateCompatibleDC(nullptr);
    const WPARAM w = reinterpret_cast<WPARAM>(dc);
    const auto routed = [&](HWND child) {
        return route_to_control(child, window, WM_CTLCOLORSTATIC, w,
                                reinterpret_cast<LPARAM>(child));
    };
    EXPECT_EQ(routed(text), reinterpret_cast<LRESULT>(record->back_brush));

    // Id 0 and no property read like control 0: a top-level window, or a
    // child that is no control.
    EXPECT_EQ(routed(window), NOT_HANDLED);
    HWND plain =
        CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    ASSERT_EQ(GetWindowLongPtrA(plain, GWLP_ID), 0);
    EXPECT_EQ(routed(plain), NOT_HANDLED);

    // A window that copies another control's id and property is not that control.
    SetWindowLongPtrA(plain, GWLP_ID, 5);
    SetPropA(plain, CONTROL_ID_PROP, reinterpret_cast<HANDLE>(5));
    EXPECT_EQ(routed(plain), NOT_HANDLED);
    EXPECT_EQ(routed(other), reinterpret_cast<LRESULT>(other_record->back_brush));
    RemovePropA(plain, CONTROL_ID_PROP);
    DestroyWindow(plain);
    DeleteDC(dc);
}

TEST_F(ControlCore, TextColoursReachTheDeviceContext)
{
    HWND text = as_handle(create_text(5, 0, 0, 50, 20, "t"));
    Control* record = control_lookup(5);
    HDC dc = CreateCompatibleDC(nullptr);
    const auto colour_message = [&] {
        return SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(text));
    };

    record->kind->set_colour(record, COLOUR_TYPE_TEXT, RGB(1, 2, 3));
    EXPECT_EQ(colour_message(), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));

    record->kind->set_colour(record, COLOUR_TYPE_BACK, RGB(40, 50, 60));
    EXPECT_EQ(colour_message(), reinterpret_cast<LRESULT>(record->back_brush));
    EXPECT_EQ(GetBkColor(dc), RGB(40, 50, 60));
    EXPECT_EQ(record->kind->get_colour(record, COLOUR_TYPE_TEXT), RGB(1, 2, 3));
    EXPECT_EQ(record->kind->get_colour(record, COLOUR_TYPE_BACK), RGB(40, 50, 60));
    EXPECT_EQ(record->kind->get_colour(record, 9), COLOUR_NONE);
    DeleteDC(dc);
}

TEST_F(ControlCore, OneBrushPerColourDeletedWithTheLastUser)
{
    constexpr int32_t colour = RGB(12, 34, 56);
    HWND a = as_handle(create_text(1, 0, 0, 50, 20, "a"));
    HWND b = as_handle(create_spin(2, 0, 30, 55, 20, 0, 9));
    ASSERT_TRUE(a && b);
    Control* ra = control_lookup(1);
    Control* rb = control_lookup(2);
    ra->kind->set_colour(ra, COLOUR_TYPE_BACK, colour);
    rb->kind->set_colour(rb, COLOUR_TYPE_BACK, colour);
    const HBRUSH shared = ra->back_brush;
    ASSERT_TRUE(is_brush(shared));
    EXPECT_EQ(rb->back_brush, shared);

    DestroyWindow(a);
    EXPECT_TRUE(is_brush(shared));
    DestroyWindow(b);
    EXPECT_FALSE(is_brush(shared));
}

TEST_F(ControlCore, ChangingColourMovesToAnotherBrush)
{
    HWND a = as_handle(create_text(1, 0, 0, 50, 20, "a"));
    ASSERT_NE(a, nullptr);
    Control* record = control_lookup(1);
    record->kind->set_colour(record, COLOUR_TYPE_BACK, RGB(1, 1, 1));
    const HBRUSH first = record->back_brush;
    record->kind->set_colour(record, COLOUR_TYPE_BACK, RGB(2, 2, 2));
    EXPECT_FALSE(is_brush(first));
    EXPECT_TRUE(is_brush(record->back_brush));
    const HBRUSH second = record->back_brush;
    record->kind->set_colour(record, COLOUR_TYPE_BACK, COLOUR_NONE);
    EXPECT_EQ(record->back_brush, nullptr);
    EXPECT_FALSE(is_brush(second));
}

TEST(BrushCache, CountsReferencesPerColour)
{
    const HBRUSH one = brush_acquire(RGB(9, 9, 9));
    const HBRUSH again = brush_acquire(RGB(9, 9, 9));
    const HBRUSH other = brush_acquire(RGB(9, 9, 10));
    ASSERT_TRUE(is_brush(one));
    EXPECT_EQ(again, one);
    EXPECT_NE(other, one);
    brush_release(one);
    EXPECT_TRUE(is_brush(one));
    brush_release(one);
    EXPECT_FALSE(is_brush(one));
    brush_release(one);  // no longer cached: nothing happens
    EXPECT_TRUE(is_brush(other));
    brush_release(other);
    EXPECT_FALSE(is_brush(other));
}

TEST_F(ControlCore, FlushDispatchesWaitingMessagesAndDropsThePendingEvent)
{
    HWND button = as_handle(create_button(1, 10, 10, 80, 20, "b"));
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    PostMessageA(window, WM_CLOSE, 0, 0);
    flush_message_queue();
    EXPECT_EQ(pending_event(), 0);
    ASSERT_TRUE(events_queued());
    EXPECT_EQ(wait_event(0), EVENT_CLOSE_WINDOW);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
}

struct WorkerResults {
    LRESULT set_text = 0;
    int32_t state = -1;
    std::string read_back;
};

DWORD WINAPI trial_like_worker(void* argument)
{
    auto* results = static_cast<WorkerResults*>(argument);
    results->set_text = control_set_text(9, "1.234");
    control_disable(1, 0);
    results->state = control_get_state(0);
    results->read_back = control_text(9);
    return 0;
}

// A worker thread drives the controls while the main thread waits for events,
// as the reaction trial does.
TEST_F(ControlCore, WorkerThreadReachesControlsThroughTheEventLoop)
{
    ASSERT_NE(create_spin(0, 10, 10, 55, 20, 1, 60), 0);
    ASSERT_NE(create_button(1, 10, 40, 80, 20, "Start Timer"), 0);
    ASSERT_NE(create_text(9, 10, 70, 80, 20, "0.000"), 0);
    control_set_state(0, 17);
    control_disable(1, 1);
    WorkerResults results;
    const int32_t worker = thread_create(trial_like_worker, &results);
    ASSERT_NE(worker, 0);
    const DWORD start = GetTickCount();
    while (thread_is_running(worker) && GetTickCount() - start < 5000)
        wait_event(20);
    ASSERT_FALSE(thread_is_running(worker));
    EXPECT_NE(results.set_text, 0);
    EXPECT_EQ(results.state, 17);
    EXPECT_EQ(results.read_back, "1.234");
    EXPECT_EQ(control_text(9), "1.234");
    EXPECT_TRUE(IsWindowEnabled(control_lookup(1)->handle));
}

}  // namespace
