// A test program that goes wrong in one of the ways a real one can, chosen by
// its last argument. Each way is a test that must fail: if the way test
// programs are run and judged stops noticing one of them, `make test` fails.
//   crash                 two failures, then a page fault that ends the
//                         program with status 0, as Wine has ended one whose
//                         heap was corrupt
//   silent-crash          the same page fault before anything has failed
//   failures-with-status-0  GoogleTest reports failures; the program exits 0
//   crash-after-summary   every test passes, then a page fault at exit, left
//                         to the system's own crash handling (under Wine the
//                         exit status is then 5 or, now and then, 0)
//   status-after-summary  every test passes, then the program exits with 1
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>

namespace {

const char* way = "";

bool way_is(const char* name)
{
    return strcmp(way, name) == 0;
}

void page_fault()
{
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

// Quick and quiet: no debugger, no backtrace.
LONG WINAPI end_with_status_0(EXCEPTION_POINTERS*)
{
    TerminateProcess(GetCurrentProcess(), 0);
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(BrokenRun, FailsTwice)
{
    if (way_is("crash") || way_is("failures-with-status-0")) {
        ADD_FAILURE() << "first failure";
        ADD_FAILURE() << "second failure";
    }
}

TEST(BrokenRun, Crashes)
{
    if (way_is("crash") || way_is("silent-crash")) {
        SetUnhandledExceptionFilter(end_with_status_0);
        page_fault();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    way = argc > 1 ? argv[argc - 1] : "";
    const int result = RUN_ALL_TESTS();
    if (way_is("failures-with-status-0"))
        return 0;
    if (way_is("crash-after-summary"))
        page_fault();
    if (way_is("status-after-summary"))
        return 1;
    return result;
}
