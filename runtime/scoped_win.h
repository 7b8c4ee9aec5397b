// Scoped Win32 resources: each guard gives back what it holds when its scope
// ends, on every path, and none can be copied.
#pragma once
#include <windows.h>

// Something that one call gives back (CloseHandle, DeleteObject, DeleteDC,
// GlobalFree); null holds nothing.
template <typename T, auto release>
class Owned {
public:
    explicit Owned(T value = nullptr) : value_(value) {}
    ~Owned()
    {
        if (value_)
            release(value_);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T get() const { return value_; }
    // From now on someone else gives it back (the system, a record).
    void hand_over() { value_ = nullptr; }

private:
    T value_;
};

// A kernel handle: an event or a thread, never INVALID_HANDLE_VALUE.
using ScopedHandle = Owned<HANDLE, CloseHandle>;
// A pen, brush or font that this code made and must delete.
template <typename T>
using ScopedGdiObject = Owned<T, DeleteObject>;
// A movable global block, until the system takes it.
using ScopedGlobal = Owned<HGLOBAL, GlobalFree>;

// The display's device context, for sizing fonts.
class DisplayDc : public Owned<HDC, DeleteDC> {
public:
    DisplayDc() : Owned(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
};

// A window's device context (GetDC), or the screen's for a null window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Holds a critical section for the life of a scope.
class SectionLock {
public:
    explicit SectionLock(CRITICAL_SECTION* section) : section_(section)
    {
        EnterCriticalSection(section_);
    }
    ~SectionLock() { LeaveCriticalSection(section_); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

private:
    CRITICAL_SECTION* section_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc()
    {
        if (dc_)
            EndPaint(window_, &paint_);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
};

// An object selected into a device context, and the one it replaced put back
// afterwards. Declare it after the object it selects, so that it goes first.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr)
    {
    }
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Runs an undo of its own when the scope ends, for what has no guard above:
// const ScopeExit restore([&] { ... });
template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F undo) : undo_(undo) {}
    ~ScopeExit() { undo_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F undo_;
};
