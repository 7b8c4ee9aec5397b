// Events: the queue, wait_event's hand-out order, and what the window
// procedure makes of each message.
#include <gtest/gtest.h>
#include <vector>
#include "runtime/module.h"
#include "tests/support/event_state_access.h"
#include "tests/support/events.h"
#include "tests/support/input.h"
#include "tests/support/pump.h"
#include "ui/windows/messages.h"
#include "ui/windows/window.h"
#include "ui/windows/window_proc.h"
#include "ui/windows/windows_lifetime.h"

namespace {

class EventTest : public testing::Test {
protected:
    void SetUp() override
    {
        window = reinterpret_cast<HWND>(open_window(0, 100, 100, 255, 192, "events"));
        ASSERT_NE(window, nullptr);
        drain_events();
    }
    void TearDown() override
    {
        set_route_to_control_hook(nullptr);
        close_all_windows();
        drain_events();
    }
    std::vector<int32_t> take_queue()
    {
        std::vector<int32_t> codes;
        while (events_queued())
            codes.push_back(wait_event(0));
        return codes;
    }
    HWND window = nullptr;
};

TEST_F(EventTest, OnlyTheTailIsCoalesced)
{
    queue_event(EVENT_MOVE, 0);
    queue_event(EVENT_MOVE, 0);
    EXPECT_EQ(take_queue(), (std::vector<int32_t>{EVENT_MOVE}));

    queue_event(EVENT_MOVE, 0);
    queue_event(EVENT_SIZE, 0);
    queue_event(EVENT_MOVE, 0);
    EXPECT_EQ(take_queue(), (std::vector<int32_t>{EVENT_MOVE, EVENT_SIZE, EVENT_MOVE}));

    queue_event(EVENT_MOVE, 0);
    queue_event(EVENT_MOVE, 1);  // another window's move is another event
    EXPECT_EQ(take_queue(), (std::vector<int32_t>{EVENT_MOVE, EVENT_MOVE}));
}

TEST_F(EventTest, TwoMovesInOneDispatchBecomeOneEvent)
{
    SendMessageA(window, WM_MOVE, 0, 0);
    SendMessageA(window, WM_MOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, 0);
    SendMessageA(window, WM_MOVE, 0, 0);
    EXPECT_EQ(take_queue(), (std::vector<int32_t>{EVENT_MOVE, EVENT_SIZE, EVENT_MOVE}));
    EXPECT_EQ(event_window(), 0);
}

LRESULT CALLBACK queue_two_then_default(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == MSG_CONTROL_EVENT) {
        queue_event(EVENT_MOVE, 0);
        queue_event(EVENT_SIZE, 0);
    }
    return CALLBACK_DEFAULT;
}

TEST_F(EventTest, PendingEventComesFirstThenQueuedEventsOldestFirst)
{
    static_cast<Window*>(table_lookup(window_table(), 0))->callback = queue_two_then_default;
    PostMessageA(window, MSG_CONTROL_EVENT, 7, 1);
    EXPECT_EQ(wait_event(), EVENT_CONTROL);
    EXPECT_EQ(event_control(), 7);
    EXPECT_EQ(event_type(), 1);
    EXPECT_EQ(wait_event(0), EVENT_MOVE);
    EXPECT_EQ(event_type(), -1) << "queued events carry no type";
    EXPECT_EQ(event_control(), 7) << "the control number is never cleared";
    EXPECT_EQ(wait_event(0), EVENT_SIZE);
    EXPECT_EQ(wait_event(0), 0);
}

LRESULT CALLBACK swallow_everything(HWND, UINT, WPARAM, LPARAM)
{
    return 42;
}

TEST_F(EventTest, WindowCallbackThatAnswersKeepsTheBuiltInHandlingOut)
{
    static_cast<Window*>(table_lookup(window_table(), 0))->callback = swallow_everything;
    EXPECT_EQ(SendMessageA(window, WM_MOVE, 0, 0), 42);
    EXPECT_FALSE(events_queued());
    static_cast<Window*>(table_lookup(window_table(), 0))->callback = nullptr;
}

TEST_F(EventTest, CloseRequestBecomesAnEventAndTheWindowStays)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_for_event(EVENT_CLOSE_WINDOW));
    EXPECT_EQ(event_window(), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(EventTest, ClickOnTheCloseBoxGivesTheMouseMessageThenTheCloseEvent)
{
    bring_to_front(window);
    RECT r;
    GetWindowRect(window, &r);
    // Find the close box by asking the window itself.
    POINT box = {0, 0};
    for (int x = r.right - 2; x > r.right - 60 && !box.x; --x)
        for (int y = r.top + 2; y < r.top + 40 && !box.x; ++y)
            if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                box = {x - 3, y + 3};
    ASSERT_NE(box.x, 0) << "no close box found";
    input_click(box.x, box.y);

    std::vector<int32_t> codes;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 3000) {
        const int32_t code = wait_event(20);
        if (code)
            codes.push_back(code);
        if (code == EVENT_CLOSE_WINDOW)
            break;
    }
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes.back(), EVENT_CLOSE_WINDOW);
    // The press starts the system's tracking of the box, which closes on release.
    EXPECT_EQ(codes[codes.size() - 2], WM_NCLBUTTONDOWN) << "the click that caused it, raw";
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(EventTest, MinimisedSizeGoesToTheDefaultProcedure)
{
    EXPECT_EQ(handle_window_message(window, WM_SIZE, SIZE_MINIMIZED, 0), NOT_HANDLED);
    EXPECT_FALSE(events_queued());
    EXPECT_EQ(handle_window_message(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10)), 0);
    EXPECT_EQ(take_queue(), (std::vector<int32_t>{EVENT_SIZE}));
}

TEST_F(EventTest, ActivationAnswersOneAndQueuesOnlyWhenActive)
{
    EXPECT_EQ(handle_window_message(window, WM_ACTIVATE, WA_INACTIVE, 0), 1);
    EXPECT_FALSE(events_queued());
    EXPECT_EQ(handle_window_message(window, WM_ACTIVATE, WA_CLICKACTIVE, 0), 1);
    EXPECT_EQ(take_queue(), (std::vector<int32_t>{EVENT_ACTIVATE}));
}

// Windows leaves that to DefWindowProc, which WM_ACTIVATE never reaches here.
TEST_F(EventTest, ActivationGivesTheWindowTheFocusUnlessItIsInsideOrTheWindowMinimised)
{
    HWND child = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, window,
                                 nullptr, module_handle(), nullptr);
    bring_to_front(window);
    ASSERT_EQ(GetActiveWindow(), window);
    struct Row {
        WPARAM wparam;
        HWND focus_before;
        HWND focus_after;
    };
    const Row rows[] = {
        {WA_ACTIVE, nullptr, window},    {WA_CLICKACTIVE, nullptr, window},
        {WA_ACTIVE, child, child},       {MAKEWPARAM(WA_ACTIVE, 1), nullptr, nullptr},
        {WA_INACTIVE, nullptr, nullptr},
    };
    for (const Row& row : rows) {
        SetFocus(row.focus_before);
        ASSERT_EQ(GetFocus(), row.focus_before);
        EXPECT_EQ(handle_window_message(window, WM_ACTIVATE, row.wparam, 0), 1);
        EXPECT_EQ(GetFocus(), row.focus_after) << "wParam " << row.wparam;
    }
    drain_events();
}

TEST_F(EventTest, EraseBackgroundQueuesARepaintAndLeavesPaintingToTheSystem)
{
    HDC dc = GetDC(window);
    EXPECT_EQ(handle_window_message(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0),
              NOT_HANDLED);
    ReleaseDC(window, dc);
    EXPECT_EQ(take_queue(), (std::vector<int32_t>{EVENT_REPAINT}));
}

TEST_F(EventTest, MessagesOfAWindowBeingClosedFindNoNumber)
{
    RemovePropA(window, "GK_WindowID");
    EXPECT_EQ(handle_window_message(window, WM_MOVE, 0, 0), 0);
    EXPECT_EQ(handle_window_message(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(handle_window_message(window, WM_SIZE, SIZE_RESTORED, 0), NOT_HANDLED);
    EXPECT_FALSE(events_queued());
    EXPECT_EQ(event_window(), -1);
    SetPropA(window, "GK_WindowID", reinterpret_cast<HANDLE>(1));
}

TEST_F(EventTest, ControlEventMessageCarriesNumberAndType)
{
    PostMessageA(window, MSG_CONTROL_EVENT, 9, static_cast<LPARAM>(-1));
    EXPECT_EQ(wait_event(), EVENT_CONTROL);
    EXPECT_EQ(event_control(), 9);
    EXPECT_EQ(event_type(), -1);
}

TEST_F(EventTest, MenuAndAcceleratorCommandsBecomeMenuEvents)
{
    PostMessageA(window, WM_COMMAND, 5, 0);
    EXPECT_EQ(wait_event(), EVENT_MENU);
    EXPECT_EQ(event_control(), 5);
    EXPECT_EQ(event_type(), -1);

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(77, 1), 0);
    EXPECT_EQ(wait_event(), EVENT_MENU);
    EXPECT_EQ(event_control(), 77);

    // The focus commands move the focus and make no event of their own.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(CMD_FOCUS_NEXT, 1), 0);
    EXPECT_EQ(wait_event(), static_cast<int32_t>(WM_COMMAND));
}

TEST_F(EventTest, ControlNotificationsBecomeControlEventsUnlessItIsAMenuControl)
{
    HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 0, 0, 30, 20, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(42)),
                                  module_handle(), nullptr);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(42, 3), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(wait_event(), EVENT_CONTROL);
    EXPECT_EQ(event_control(), 42);
    EXPECT_EQ(event_type(), 3);

    SetWindowLongPtrA(button, GWLP_ID, MENU_CONTROL_ID);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(7, 2), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(wait_event(), EVENT_MENU);
    EXPECT_EQ(event_control(), 7);
    EXPECT_EQ(event_type(), 2);

    // Another window's child with the same id is no control of this window.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 module_handle(), nullptr);
    HWND stranger = CreateWindowExA(0, "BUTTON", "s", WS_CHILD, 0, 0, 30, 20, other,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(42)),
                                    module_handle(), nullptr);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(42, 3), reinterpret_cast<LPARAM>(stranger));
    EXPECT_EQ(wait_event(), static_cast<int32_t>(WM_COMMAND));
    EXPECT_EQ(event_control(), 7);
    DestroyWindow(other);
}

HWND routed_child;
UINT routed_message;
LRESULT take_everything(HWND child, HWND, UINT message, WPARAM, LPARAM)
{
    routed_child = child;
    routed_message = message;
    return 0;
}

// A child edit box with id 3 whose routed notifications take_everything records.
HWND edit_with_routes_recorded(HWND window)
{
    set_route_to_control_hook(take_everything);
    return CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 30, 20, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(3)), module_handle(),
                           nullptr);
}

TEST_F(EventTest, NotificationsTakenByTheControlMakeNoEvent)
{
    HWND edit = edit_with_routes_recorded(window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(3, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(wait_event(), static_cast<int32_t>(WM_COMMAND));
    EXPECT_EQ(routed_child, edit);

    NMHDR header = {edit, 3, 0};
    EXPECT_EQ(SendMessageA(window, WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&header)), 0);
    EXPECT_EQ(routed_message, static_cast<UINT>(WM_NOTIFY));
    EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(edit)), 0);
    EXPECT_EQ(routed_message, static_cast<UINT>(WM_CTLCOLORSTATIC));

    set_route_to_control_hook(nullptr);
    EXPECT_EQ(handle_window_message(window, WM_HSCROLL, 0, reinterpret_cast<LPARAM>(edit)),
              NOT_HANDLED)
        << "without a control layer nothing is routed";
}

DWORD WINAPI send_notify(void* header)
{
    const NMHDR* h = static_cast<const NMHDR*>(header);
    SendMessageA(GetParent(h->hwndFrom), WM_NOTIFY, h->idFrom, reinterpret_cast<LPARAM>(h));
    return 0;
}

// A notification's pointer is good only on the control's own thread: one sent
// from another thread or process, or posted, is never read.
TEST_F(EventTest, NotificationsFromElsewhereAreNotRead)
{
    HWND edit = edit_with_routes_recorded(window);
    NMHDR header = {edit, 3, 0};

    routed_child = nullptr;
    HANDLE sender = CreateThread(nullptr, 0, send_notify, &header, 0, nullptr);
    ASSERT_NE(sender, nullptr);
    while (WaitForSingleObject(sender, 0) == WAIT_TIMEOUT)
        wait_event(10);
    CloseHandle(sender);
    EXPECT_EQ(routed_child, nullptr) << "sent from another thread";

    routed_child = nullptr;
    ASSERT_TRUE(PostMessageA(window, WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(wait_event(0), static_cast<int32_t>(WM_NULL)) << "emptied";
    EXPECT_EQ(routed_child, nullptr) << "posted";
    // Emptied for every message loop, not only wait_event's; so is a posted
    // WM_DPICHANGED, which the system only ever sends.
    for (UINT message : {WM_NOTIFY, WM_DPICHANGED}) {
        ASSERT_TRUE(PostMessageA(edit, message, 3, reinterpret_cast<LPARAM>(&header)));
        MSG msg;
        ASSERT_TRUE(PeekMessageA(&msg, edit, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL)) << message;
        EXPECT_EQ(msg.lParam, 0);
    }
}

// Another program can post any number: raw messages that would pass for event
// codes are not handed out, and the wait goes on past them.
TEST_F(EventTest, RawMessagesNumberedLikeEventsAreNotHandedOut)
{
    for (UINT message : {13100u, 13101u, 13102u, 13104u, 13105u, 13106u}) {
        SCOPED_TRACE(message);
        PostMessageA(window, message, 1, 0);
        EXPECT_EQ(wait_event(0), 0);
        PostMessageA(window, message, 1, 0);
        PostMessageA(window, WM_USER + 5, 0, 0);
        EXPECT_EQ(wait_event(), static_cast<int32_t>(WM_USER + 5));
    }
}

TEST_F(EventTest, ItemNotificationsAreRepostedAsClicks)
{
    PostMessageA(window, MSG_ITEM_NOTIFY, 4, WM_RBUTTONDBLCLK);
    EXPECT_EQ(wait_event(), static_cast<int32_t>(MSG_ITEM_NOTIFY));
    EXPECT_EQ(wait_event(), EVENT_ITEM_CLICK);
    EXPECT_EQ(event_control(), 4);
    EXPECT_EQ(event_type(), 3);

    PostMessageA(window, MSG_ITEM_CLICK, 6, WM_MOUSEMOVE);
    EXPECT_EQ(wait_event(), static_cast<int32_t>(MSG_ITEM_CLICK)) << "no event, raw message";
    EXPECT_EQ(event_control(), 6);
}

TEST_F(EventTest, WaitingWithATimeoutReturnsZeroWhenNothingComes)
{
    EXPECT_EQ(wait_event(0), 0);
    EXPECT_EQ(event_type(), -1);
    const DWORD start = GetTickCount();
    EXPECT_EQ(wait_event(50), 0);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 40u);
    EXPECT_LT(waited, 2000u);
}

TEST_F(EventTest, RawMessagesKeepTheirParameters)
{
    PostMessageA(window, WM_USER + 5, 11, 22);
    EXPECT_EQ(wait_event(), static_cast<int32_t>(WM_USER + 5));
    EXPECT_EQ(event_wparam(), 11u);
    EXPECT_EQ(event_lparam(), 22);
}

TEST_F(EventTest, TabKeyComesBackAsARawKeyDown)
{
    bring_to_front(window);
    input_key(VK_TAB);
    ASSERT_TRUE(wait_for_event(WM_KEYDOWN));
    EXPECT_EQ(event_wparam(), static_cast<WPARAM>(VK_TAB));
}

TEST_F(EventTest, ForeignDropDataIsNeitherTakenNorFreed)
{
    DropData foreign = {{nullptr, nullptr}, &foreign};
    PostMessageA(window, MSG_DROP, 0, reinterpret_cast<LPARAM>(&foreign));
    PostMessageA(window, MSG_DROP_CONTROL, 3, 0x12345678);
    EXPECT_EQ(wait_event(0), 0) << "no event, and no raw number that passes for one";
    EXPECT_EQ(held_drop_data(), nullptr);
    EXPECT_EQ(foreign.extra, &foreign);
}

TEST_F(EventTest, OwnDropDataMakesAnEventAndIsFreedAtTheNextWait)
{
    DropData* data = drop_data_create(16);
    ASSERT_NE(data, nullptr);
    PostMessageA(window, MSG_DROP_CONTROL, 8, reinterpret_cast<LPARAM>(data));
    EXPECT_EQ(wait_event(), EVENT_DROP_CONTROL);
    EXPECT_EQ(event_control(), 8);
    EXPECT_EQ(held_drop_data(), data);
    EXPECT_EQ(wait_event(0), 0);
    EXPECT_EQ(held_drop_data(), nullptr);
    // Freed, so the same address is no longer this process's drop data.
    PostMessageA(window, MSG_DROP, 0, reinterpret_cast<LPARAM>(data));
    EXPECT_EQ(wait_event(0), 0);
    EXPECT_EQ(held_drop_data(), nullptr);
}

TEST_F(EventTest, CloseAllWindowsFreesHeldDropData)
{
    DropData* data = drop_data_create(0);
    PostMessageA(window, MSG_DROP, 0, reinterpret_cast<LPARAM>(data));
    ASSERT_EQ(wait_event(), EVENT_DROP);
    close_all_windows();
    EXPECT_EQ(held_drop_data(), nullptr);
}

}  // namespace
