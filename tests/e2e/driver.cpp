// Driving the game from outside: process, window, controls, input and the
// figures the benchmark reads.
#include "tests/e2e/driver.h"
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <string.h>
#include <vector>
#include "tests/support/input.h"

namespace {

constexpr const char* MAIN_CLASS = "WindowClass_0";
constexpr const char* RESULTS_CLASS = "WindowClass_1";
// The system's class of a popup menu's window.
constexpr const char* MENU_CLASS = "#32768";
// The results window's lines and button, by control number.
constexpr int ID_RESULTS_FIRST_LINE = 20;
constexpr int RESULTS_LINE_COUNT = 11;
constexpr int ID_RESULTS_COPY = 31;
// Control numbers, which the game also uses as the child windows' ids.
constexpr int ID_START_BUTTON = 1;
constexpr int ID_CAPTION = 2;
constexpr int ID_READOUT = 9;
constexpr int ID_UNITS = 10;
// Cross-process calls give up after this long rather than hang a test.
constexpr UINT SEND_TIMEOUT_MS = 2000;

struct FindMain {
    DWORD pid;
    HWND found;
    const char* cls = MAIN_CLASS;
};

BOOL CALLBACK find_main(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<FindMain*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window) && class_of(window) == search->cls) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collect_child(HWND child, LPARAM param)
{
    auto* c = reinterpret_cast<GameControls*>(param);
    ++c->children;
    const std::string cls = class_of(child);
    const int id = GetDlgCtrlID(child);
    if (cls == "Edit" || cls == "EDIT")
        c->edit = child;
    else if (cls == UPDOWN_CLASSA)
        c->arrows = child;
    else if (cls == STATUSCLASSNAMEA)
        c->status = child;
    else if ((cls == "Button" || cls == "BUTTON") && id == ID_START_BUTTON)
        c->button = child;
    else if (cls == "Static" || cls == "STATIC") {
        if (id == ID_CAPTION)
            c->caption = child;
        else if (id == ID_READOUT)
            c->readout = child;
        else if (id == ID_UNITS)
            c->units = child;
    }
    return TRUE;
}

POINT centre_of(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Enough pause for the game's thread to take up one piece of input; the
// waits that follow poll for the effect itself.
void settle()
{
    Sleep(15);
}

// The layout of the system's handle table (SystemHandleInformation, 16).
struct SystemHandleEntry {
    ULONG owner_pid;
    UCHAR object_type;
    UCHAR flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
struct SystemHandleTable {
    ULONG count;
    SystemHandleEntry handles[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG SYSTEM_HANDLE_INFORMATION = 16;
constexpr LONG STATUS_INFO_LENGTH_MISMATCH_CODE = static_cast<LONG>(0xC0000004);

}  // namespace

std::string to_windows_path(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

double now_ms()
{
    static const double ticks_per_ms = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticks_per_ms;
}

std::string text_of(HWND window)
{
    if (!window)
        return {};
    char buffer[512] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS, &copied))
        return {};
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

std::string class_of(HWND window)
{
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT rect_in_parent(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool is_reading(const std::string& text)
{
    const size_t point = text.find('.');
    if (point == std::string::npos || point == 0 || text.size() - point != 4)
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (i != point && (text[i] < '0' || text[i] > '9'))
            return false;
    return true;
}

std::string clipboard_text()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void clipboard_empty()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

int stall_process(DWORD pid, DWORD ms)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    std::vector<HANDLE> stalled;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        if (thread && SuspendThread(thread) != static_cast<DWORD>(-1))
            stalled.push_back(thread);
        else if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    Sleep(ms);
    for (HANDLE thread : stalled) {
        ResumeThread(thread);
        CloseHandle(thread);
    }
    return static_cast<int>(stalled.size());
}

long thread_count_of(DWORD pid)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    long count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == pid)
            ++count;
    CloseHandle(snapshot);
    return count;
}

long gui_object_count_of(HANDLE process, DWORD kind)
{
    SetLastError(0);
    const DWORD count = GetGuiResources(process, kind);
    if (count == 0 && GetLastError() != 0)
        return -1;
    return static_cast<long>(count);
}

Game::~Game()
{
    if (process_) {
        if (running()) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
}

bool Game::start(const std::string& exe, DWORD ms)
{
    // Aware of the DPI like the game, so that Windows shows the driver the
    // game's own pixels, not ones scaled to 96 DPI.
    SetProcessDPIAware();
    const std::string path = to_windows_path(exe);
    std::string command = "\"" + path + "\"";
    std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        error_ =
            "CreateProcess failed for " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;

    const double deadline = now_ms() + ms;
    FindMain search{pid_, nullptr};
    while (!search.found) {
        EnumWindows(find_main, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            break;
        if (!running()) {
            error_ = "the game ended before it showed its window";
            return false;
        }
        if (now_ms() > deadline) {
            error_ = "no visible window of class WindowClass_0 appeared";
            return false;
        }
        Sleep(10);
    }
    window_ = search.found;
    thread_ = GetWindowThreadProcessId(window_, nullptr);
    // The controls are added to the visible window one by one, and the game
    // may look idle to WaitForInputIdle while it is still building them.
    while (!find_controls() && running() && now_ms() < deadline)
        Sleep(5);
    const double left = deadline - now_ms();
    WaitForInputIdle(process_, left > 0 ? static_cast<DWORD>(left) : 0);
    return true;
}

bool Game::start_for_trials(const std::string& exe, int delay_max)
{
    if (!start(exe))
        return false;
    to_front();
    if (!controls_.complete()) {
        error_ = "the game's window lacks its controls";
        return false;
    }
    if (!type_delay_max(delay_max)) {
        error_ = "could not set the delay maximum to " + std::to_string(delay_max) +
                 " (status: \"" + status() + "\")";
        return false;
    }
    return true;
}

bool Game::find_controls()
{
    controls_ = GameControls{};
    EnumChildWindows(window_, collect_child, reinterpret_cast<LPARAM>(&controls_));
    return controls_.complete();
}

int Game::spin_position() const
{
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(controls_.arrows, UDM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS,
                             &r))
        return -1;
    // The high word flags a box whose text is no number; Wine sets it for
    // every buddy that the up-down does not fill itself. The game reads only
    // the low word, and so do we.
    return LOWORD(r);
}

HWND Game::focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread_, &info))
        return nullptr;
    return info.hwndFocus;
}

bool Game::wait_focus(HWND window, DWORD ms) const
{
    const double deadline = now_ms() + ms;
    while (focus() != window) {
        if (now_ms() > deadline)
            return false;
        Sleep(5);
    }
    return true;
}

HWND Game::wait_focus_leaves(HWND from, DWORD ms) const
{
    const double deadline = now_ms() + ms;
    HWND now;
    while ((now = focus()) == from && now_ms() < deadline)
        Sleep(5);
    return now;
}

bool Game::wait_status(const char* text, DWORD ms) const
{
    const double deadline = now_ms() + ms;
    do {
        if (status() == text)
            return true;
        Sleep(1);
    } while (now_ms() < deadline);
    return status() == text;
}

bool Game::hold_key_until_status(WORD vk, const char* text, DWORD ms) const
{
    // Wine lines its key state up with the X server's whenever the pointer
    // enters a window, and for X a key that only SendInput pressed is up: a
    // key held by one key-down can be let go behind the player's back. A
    // keyboard repeats a held key's key-down, and so does this.
    constexpr DWORD REPEAT_MS = 33;
    const double deadline = now_ms() + ms;
    bool shown = false;
    do {
        input_key_down(vk);
        shown = wait_status(text, REPEAT_MS);
    } while (!shown && now_ms() < deadline);
    input_key_up(vk);
    return shown;
}

bool Game::wait_spin(int value, DWORD ms) const
{
    const std::string want = std::to_string(value);
    const double deadline = now_ms() + ms;
    do {
        if (spin_text() == want && spin_position() == value)
            return true;
        Sleep(5);
    } while (now_ms() < deadline);
    return false;
}

HWND Game::results() const
{
    FindMain search{pid_, nullptr, RESULTS_CLASS};
    EnumWindows(find_main, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Game::open_results() const
{
    input_key_with(VK_MENU, VK_SPACE);
    // U goes to whatever takes the keys: only once the menu is up is that the
    // menu, and on a busy machine it can take a while to come.
    const auto menu = [this] {
        FindMain search{pid_, nullptr, MENU_CLASS};
        EnumWindows(find_main, reinterpret_cast<LPARAM>(&search));
        return search.found;
    };
    for (const double deadline = now_ms() + 3000; !menu() && now_ms() < deadline;)
        Sleep(10);
    if (!menu())
        return nullptr;
    input_key('U');
    // Done once the menu has gone too: a window already open comes to the
    // front at once, and the next click must not only close the menu.
    const double deadline = now_ms() + 3000;
    HWND found = nullptr;
    while ((menu() || !(found = results())) && now_ms() < deadline)
        Sleep(10);
    return menu() ? nullptr : found;
}

std::vector<std::string> Game::results_lines() const
{
    std::vector<std::string> lines;
    const HWND window = results();
    for (int i = 0; i < RESULTS_LINE_COUNT; ++i)
        lines.push_back(text_of(GetDlgItem(window, ID_RESULTS_FIRST_LINE + i)));
    return lines;
}

HWND Game::results_copy_button() const
{
    return GetDlgItem(results(), ID_RESULTS_COPY);
}

std::string Game::copy_results() const
{
    clipboard_empty();
    click(results_copy_button());
    std::string copied;
    for (const double deadline = now_ms() + 2000; copied.empty() && now_ms() < deadline; Sleep(10))
        copied = clipboard_text();
    return copied;
}

void Game::to_front() const
{
    bring_to_front(window_);
}

void Game::click(HWND child, int dx, int dy) const
{
    RECT r{};
    GetWindowRect(child, &r);
    POINT p = centre_of(r);
    if (dx >= 0)
        p.x = r.left + dx;
    if (dy >= 0)
        p.y = r.top + dy;
    input_click(p.x, p.y);
    settle();
}

void Game::click_up_arrow() const
{
    RECT r{};
    GetWindowRect(controls_.arrows, &r);
    click(controls_.arrows, -1, (r.bottom - r.top) / 4);
}

void Game::click_down_arrow() const
{
    RECT r{};
    GetWindowRect(controls_.arrows, &r);
    click(controls_.arrows, -1, (r.bottom - r.top) * 3 / 4);
}

bool Game::type_delay_max(int value) const
{
    click(controls_.edit);
    input_key(VK_END);
    for (int i = 0; i < 4; ++i)
        input_key(VK_BACK);
    input_text(std::to_string(value).c_str());
    return wait_spin(value, 2000);
}

bool Game::close_box(POINT* where, HWND of) const
{
    const HWND window = of ? of : window_;
    RECT outer{};
    GetWindowRect(window, &outer);
    POINT client_origin{0, 0};
    ClientToScreen(window, &client_origin);
    const int y = (outer.top + client_origin.y) / 2;  // middle of the caption
    int right = -1;
    for (int x = outer.right - 1; x > outer.left; --x) {
        DWORD_PTR hit = 0;
        SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG,
                            SEND_TIMEOUT_MS, &hit);
        if (hit == HTCLOSE && right < 0)
            right = x;
        else if (hit != HTCLOSE && right >= 0) {
            *where = {(x + 1 + right) / 2, y};
            return true;
        }
    }
    return false;
}

bool Game::click_close_box(HWND of) const
{
    POINT p{};
    if (!close_box(&p, of))
        return false;
    input_click(p.x, p.y);
    return true;
}

void Game::alt_f4() const
{
    input_key_with(VK_MENU, VK_F4);
}

bool Game::change_dpi(int from, int to, HWND of) const
{
    HWND window = of ? of : window_;
    RECT r{};
    GetWindowRect(window, &r);
    const RECT suggested = {r.left, r.top, r.left + MulDiv(r.right - r.left, to, from),
                            r.top + MulDiv(r.bottom - r.top, to, from)};
    // The message's pointer is read in the game's own address space.
    void* remote = VirtualAllocEx(process_, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    DWORD_PTR ignored = 0;
    const bool sent =
        remote && WriteProcessMemory(process_, remote, &suggested, sizeof suggested, nullptr) &&
        SendMessageTimeoutA(window, WM_DPICHANGED, MAKEWPARAM(to, to),
                            reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &ignored);
    if (remote)
        VirtualFreeEx(process_, remote, 0, MEM_RELEASE);
    return sent;
}

bool Game::wait_exit(DWORD ms, DWORD* code) const
{
    if (WaitForSingleObject(process_, ms) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(process_, code);
    return true;
}

bool Game::running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

long Game::handle_count() const
{
    static const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return -1;
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(SYSTEM_HANDLE_INFORMATION, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == STATUS_INFO_LENGTH_MISMATCH_CODE) {
            buffer.resize(needed > buffer.size() ? needed + 4096 : buffer.size() * 2);
            continue;
        }
        if (status < 0)
            return -1;
        break;
    }
    const auto* table = reinterpret_cast<const SystemHandleTable*>(buffer.data());
    long count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->handles[i].owner_pid == pid_)
            ++count;
    return count;
}

SIZE_T Game::private_bytes() const
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(process_, &pmc, sizeof pmc))
        return 0;
    return pmc.PagefileUsage;
}
