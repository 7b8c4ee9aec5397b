// The control core: numbered child windows (spin, button, text) addressed by
// number, their records and per-kind operation tables, the subclass procedure
// that tears a control down with its window, the routing of parent
// notifications to a control's kind, and the generic operations.
#pragma once
#include <windows.h>
#include <stddef.h>
#include <stdint.h>
#include "runtime/object_table.h"

constexpr int32_t KIND_BUTTON = 1;
constexpr int32_t KIND_TEXT = 3;
constexpr int32_t KIND_SPIN = 26;

// Colours are COLORREF values held signed; COLOUR_NONE means system colours.
constexpr int32_t COLOUR_NONE = -1;
constexpr int32_t COLOUR_TYPE_TEXT = 1;
constexpr int32_t COLOUR_TYPE_BACK = 2;

// A font argument of -1 stands for the default GUI font.
constexpr LONG_PTR FONT_DEFAULT_GUI = -1;

// Id that a control window carries until register_control gives it its number,
// and again once it has been torn down.
constexpr LONG_PTR CONTROL_NO_ID = -1;

constexpr const char CONTROL_ID_PROP[] = "GK_ID";

struct ControlKind;

struct Control {
    HWND handle;  // main window (a spin's edit box); non-zero while live
    const ControlKind* kind;
    WNDPROC saved_proc;  // procedure the window had before register_control
    int32_t back_colour;
    int32_t text_colour;
    HBRUSH back_brush;  // shared brush of back_colour, or null
    HWND buddy;         // a spin's up-down; null for the other kinds
};

// The operations a kind may provide, each taking the control's record.
using ParentMessageOp = LRESULT (*)(Control*, HWND window, UINT message, WPARAM, LPARAM);
using RecordOp = void (*)(Control*);
using GetValueOp = int32_t (*)(Control*);
using SetValueOp = void (*)(Control*, int32_t value);
using GetTextOp = void (*)(Control*, int32_t pos);
using SetTextOp = BOOL (*)(Control*, const char* text);
using ResizeOp = void (*)(Control*, int x, int y, int width, int height);
using GetWidthOp = int (*)(Control*);
using HideOp = void (*)(Control*, int flag);
using GetTypedOp = int32_t (*)(Control*, int32_t type);
using SetTypedOp = void (*)(Control*, int32_t type, int32_t value);

// One constant table per kind. A null slot means the kind does not provide
// the operation. Slot order is fixed: unused words stay reserved.
struct ControlKind {
    int32_t kind_id = 0;
    int32_t table_size = 0;
    ParentMessageOp on_parent_message = nullptr;  // 2
    RecordOp on_destroy = nullptr;                // 3
    GetValueOp get_state = nullptr;               // 4
    SetValueOp set_state = nullptr;               // 5
    GetTextOp get_text = nullptr;                 // 6
    SetTextOp set_text = nullptr;                 // 7
    void* reserved_8_11[4] = {};
    ResizeOp resize = nullptr;  // 12
    void* reserved_13_20[8] = {};
    GetWidthOp get_width = nullptr;  // 21
    void* reserved_22 = nullptr;
    HideOp hide = nullptr;  // 23
    void* reserved_24_25[2] = {};
    GetTypedOp get_attribute = nullptr;  // 26
    SetTypedOp set_attribute = nullptr;  // 27
    void* reserved_28_29[2] = {};
    SetTypedOp set_colour = nullptr;  // 30
    GetTypedOp get_colour = nullptr;  // 31
    void* reserved_32_35[4] = {};
};

constexpr size_t control_kind_slot(size_t word)
{
    return 2 * sizeof(int32_t) + (word - 2) * sizeof(void*);
}
static_assert(offsetof(ControlKind, resize) == control_kind_slot(12));
static_assert(offsetof(ControlKind, get_width) == control_kind_slot(21));
static_assert(offsetof(ControlKind, hide) == control_kind_slot(23));
static_assert(offsetof(ControlKind, get_attribute) == control_kind_slot(26));
static_assert(offsetof(ControlKind, set_colour) == control_kind_slot(30));
static_assert(sizeof(ControlKind) == control_kind_slot(36));

// Where new controls go and the font they get.
struct ControlList {
    HWND parent;
    HFONT font;
};

// The control table's first allocation holds numbers 0 to CONTROL_GROW_STEP - 1.
// A higher number grows it, which moves its array: a program whose other
// threads look controls up while it creates them keeps its numbers below.
constexpr int32_t CONTROL_GROW_STEP = 50;

// Once at start-up, after the window library and the brush lock: the control
// table, the control list, the common controls, and the routing hook.
void control_library_init();
ObjectTable* control_table();
ControlList* control_list();
HFONT default_gui_font();

// The live control with that number, or null.
Control* control_lookup(ObjectNumber number);

// Controls created from now on become children of `parent`. Returns parent.
HWND begin_control_list(HWND parent);

// A child of the control list's parent, with id -1 unless given: a control's
// main window, or another window of its own (a spin's up-down). Null when the
// window cannot be made.
HWND create_control_window(DWORD ex_style, const char* class_name, const char* text, DWORD style,
                           int x, int y, int width, int height, LONG_PTR id = CONTROL_NO_ID);

// What a kind's create operation asks create_control for.
struct ControlWindowArgs {
    DWORD ex_style = 0;
    const char* class_name = nullptr;
    const char* text = nullptr;
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    const ControlKind* kind = nullptr;
    // Both colours of the new record: COLOUR_NONE for a kind that paints with
    // them, 0 (as the record comes) for one that never reads them.
    int32_t colours = 0;
    // Adds what else belongs to the control `window` once its record is taken
    // and its number known, before it is registered; may be null.
    void (*attach)(Control* record, ObjectNumber number, HWND window, const void* data) = nullptr;
    const void* attach_data = nullptr;
};

// The creation path of every kind: the main window (id -1), then the record
// (a control that held the number is destroyed first), its colours, the
// attachments, and register_control, whose result it returns. 0, with no
// record kept, when the window or the record cannot be had. `created`, when
// given, receives the record.
LONG_PTR create_control(ObjectNumber number, const ControlWindowArgs& args,
                        Control** created = nullptr);

// Binds a freshly made window to its record: subclasses it, gives it its
// number and the list's font. Returns the handle, or the record's address when
// that is the number (ANY_NUMBER).
LONG_PTR register_control(ObjectNumber number, Control* record, HWND handle,
                          const ControlKind* kind);

LRESULT CALLBACK control_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT route_to_control(HWND child, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Free hook of the control table.
void destroy_control(ObjectNumber number);

// Generic operations. A number that names no live control makes each of them
// do nothing and return 0.
int32_t control_get_state(ObjectNumber number);
int control_set_state(ObjectNumber number, int32_t value);
// Produces the text in the calling thread's workspace at pos (used is left at
// its terminator). Returns the text's length.
int32_t control_get_text(ObjectNumber number, int32_t pos);
LRESULT control_set_text(ObjectNumber number, const char* text);
// A non-zero flag disables, zero enables. EnableWindow's result.
BOOL control_disable(ObjectNumber number, int flag);
// Number -1 sets the font of controls created later.
int control_set_font(ObjectNumber number, LONG_PTR font);
// Places the control in its parent's client area: through its kind's resize,
// which places the windows that belong to the control (a spin's arrows),
// else its window alone.
int control_move(ObjectNumber number, int x, int y, int width, int height);

// Dispatches every waiting message of this thread and drops the pending event
// that they, or the caller, raised; queued window events stay.
void flush_message_queue();
// Posts MSG_CONTROL_EVENT with the control's id and `type` to its window.
void post_control_event(HWND handle, LONG_PTR type);
