// The window procedure and the routing of child notifications, given messages
// whose arguments point at memory this program does not hand out: they must
// neither read it nor free it. Any program can send such messages.
//
// WM_NOTIFY is left out on purpose: its lParam is a pointer by contract.
#include "tests/ui/controls/fixture.h"
#include <string.h>
#include <vector>
#include "runtime/heaps.h"
#include "ui/controls/brush_cache.h"
#include "ui/controls/button.h"
#include "ui/controls/spin.h"
#include "ui/controls/status_bar.h"
#include "ui/controls/text.h"

namespace {

constexpr SIZE_T PAGE_BYTES = 4096;
// The page handed out, with one more on either side: a heap that is asked to
// free an address reads the words before it.
constexpr SIZE_T FENCE_BYTES = 3 * PAGE_BYTES;

// A page no one may touch. A touch is recorded and the fence opened, so that
// the access completes and the test reports it instead of dying;
// `take_touches` closes it again.
class FencedPage {
public:
    FencedPage()
    {
        page_ = static_cast<char*>(
            VirtualAlloc(nullptr, FENCE_BYTES, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS));
        the_fence = page_;
        handler_ = AddVectoredExceptionHandler(1, on_fault);
    }
    ~FencedPage()
    {
        RemoveVectoredExceptionHandler(handler_);
        the_fence = nullptr;
        VirtualFree(page_, 0, MEM_RELEASE);
    }
    FencedPage(const FencedPage&) = delete;
    FencedPage& operator=(const FencedPage&) = delete;

    char* address() const { return page_ + PAGE_BYTES; }
    bool ready() const { return page_ && handler_; }
    // The touches since the last call; the page is closed again.
    LONG take_touches()
    {
        DWORD old;
        VirtualProtect(page_, FENCE_BYTES, PAGE_NOACCESS, &old);
        return InterlockedExchange(&touches, 0);
    }

private:
    static LONG CALLBACK on_fault(EXCEPTION_POINTERS* info)
    {
        const EXCEPTION_RECORD* r = info->ExceptionRecord;
        if (r->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || r->NumberParameters < 2 || !the_fence)
            return EXCEPTION_CONTINUE_SEARCH;
        const auto at = static_cast<uintptr_t>(r->ExceptionInformation[1]);
        const auto start = reinterpret_cast<uintptr_t>(the_fence);
        if (at < start || at >= start + FENCE_BYTES)
            return EXCEPTION_CONTINUE_SEARCH;
        InterlockedIncrement(&touches);
        DWORD old;
        VirtualProtect(the_fence, FENCE_BYTES, PAGE_READWRITE, &old);
        return EXCEPTION_CONTINUE_EXECUTION;
    }

    static inline char* the_fence = nullptr;
    static inline LONG touches = 0;
    char* page_ = nullptr;
    void* handler_ = nullptr;
};

// A block of some heap that this program's runtime did not allocate, filled
// with the fenced page's address, so that following anything in it touches
// the fence too.
struct ForeignBlock {
    ForeignBlock(HANDLE heap, SIZE_T bytes, const void* fill) : heap(heap), bytes(bytes)
    {
        block = HeapAlloc(heap, 0, bytes);
        if (!block)
            return;
        pattern.assign(bytes / sizeof(void*), fill);
        memcpy(block, pattern.data(), pattern.size() * sizeof(void*));
    }
    // Still allocated, at its size, and unchanged.
    bool intact() const
    {
        return block && HeapValidate(heap, 0, block) && HeapSize(heap, 0, block) == bytes &&
               memcmp(block, pattern.data(), pattern.size() * sizeof(void*)) == 0;
    }
    ~ForeignBlock()
    {
        if (intact())
            HeapFree(heap, 0, block);
    }
    HANDLE heap;
    SIZE_T bytes;
    void* block = nullptr;
    std::vector<const void*> pattern;
};

struct Named {
    UINT message;
    const char* name;
};
constexpr Named MESSAGES[] = {
    {MSG_ITEM_NOTIFY, "MSG_ITEM_NOTIFY"},
    {MSG_ITEM_CLICK, "MSG_ITEM_CLICK"},
    {MSG_CONTROL_EVENT, "MSG_CONTROL_EVENT"},
    {MSG_DROP, "MSG_DROP"},
    {MSG_DROP_CONTROL, "MSG_DROP_CONTROL"},
    {MSG_CONTROL_FORWARD, "MSG_CONTROL_FORWARD"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_HSCROLL, "WM_HSCROLL"},
    {WM_VSCROLL, "WM_VSCROLL"},
    {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
    {WM_CTLCOLORLISTBOX, "WM_CTLCOLORLISTBOX"},
    {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
    {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
};

LPARAM param(const void* p)
{
    return reinterpret_cast<LPARAM>(p);
}

class ForeignMemory : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        if (HasFatalFailure())
            return;
        // The game's kinds of control, with colours so that the painting
        // paths run too.
        ASSERT_NE(create_spin(0, 170, 25, 55, 20, 1, 60), 0);
        ASSERT_NE(create_button(1, 170, 55, 100, 25, "Start Timer"), 0);
        ASSERT_NE(create_text(2, 10, 25, 150, 20, "Random Delay Maximum"), 0);
        ASSERT_NE(create_text(9, 10, 90, 100, 30, "0.000", TEXT_SUNKEN), 0);
        ASSERT_NE(create_text(10, 120, 90, 80, 30, "Seconds"), 0);
        set_control_colour(control_lookup(0), COLOUR_TYPE_TEXT, RGB(0, 0, 128));
        set_control_colour(control_lookup(9), COLOUR_TYPE_BACK, RGB(255, 255, 0));
        set_control_colour(control_lookup(10), COLOUR_TYPE_TEXT, RGB(128, 0, 0));
        bar = reinterpret_cast<HWND>(create_status_bar(0, window));
        ASSERT_NE(bar, nullptr);
        add_status_field(-1);
        status_text(0, 0, "ready");
        drain_events();

        targets = {window, bar, control_lookup(0)->buddy};
        for (ObjectNumber n : {0, 1, 2, 9, 10})
            targets.push_back(control_lookup(n)->handle);
    }
    HWND bar = nullptr;
    std::vector<HWND> targets;  // the window, the status bar and every control window
};

TEST_F(ForeignMemory, NeitherReadNorFreedByAnyMessage)
{
    FencedPage fence;
    ASSERT_TRUE(fence.ready());
    char* const page = fence.address();
    // One block of the heap that the runtime frees into, one of the process heap.
    ForeignBlock general(general_heap(), 64, page);
    ForeignBlock process(GetProcessHeap(), 64, page);
    ASSERT_TRUE(general.intact() && process.intact());

    // Each pointer in either place, beside small numbers, a click code, and
    // the handles that lead the routing to a control's kind.
    const std::vector<LPARAM> pointers = {param(page), param(page + PAGE_BYTES / 2),
                                          param(general.block), param(process.block)};
    std::vector<LPARAM> partners = {0,
                                    1,
                                    9,
                                    param(page),
                                    static_cast<LPARAM>(MAKEWPARAM(1, BN_CLICKED)),
                                    static_cast<LPARAM>(MAKEWPARAM(0, EN_CHANGE))};
    for (HWND t : targets)
        partners.push_back(param(t));

    for (const Named& m : MESSAGES) {
        for (HWND to : targets) {
            for (LPARAM p : pointers) {
                for (LPARAM other : partners) {
                    SendMessageA(to, m.message, static_cast<WPARAM>(p), other);
                    SendMessageA(to, m.message, static_cast<WPARAM>(other), p);
                    PostMessageA(to, m.message, static_cast<WPARAM>(p), other);
                    PostMessageA(to, m.message, static_cast<WPARAM>(other), p);
                }
            }
            // Posted ones go through wait_event, which lets go of drop data.
            drain_events();
            EXPECT_EQ(fence.take_touches(), 0)
                << m.name << " to window " << to << " read the fenced page";
        }
        EXPECT_TRUE(general.intact()) << m.name << " freed or changed a general-heap block";
        EXPECT_TRUE(process.intact()) << m.name << " freed or changed a process-heap block";
    }
    drain_events();
    EXPECT_TRUE(general.intact());
    EXPECT_TRUE(process.intact());
    EXPECT_EQ(fence.take_touches(), 0);
    EXPECT_TRUE(HeapValidate(general_heap(), 0, nullptr)) << "the general heap is damaged";

    // The controls still work.
    EXPECT_TRUE(control_set_text(9, "1.234"));
    EXPECT_EQ(control_text(9), "1.234");
    control_set_state(0, 7);
    EXPECT_EQ(control_get_state(0), 7);
    EXPECT_TRUE(status_text(0, 0, "still here"));
}

}  // namespace
