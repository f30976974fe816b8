// Public interface of the skinned DirectUI library: windows from encrypted layout archives, elements,
// images, event records and the UI thread.
//
// Every function except XC_CallUiThread and XImage_DecodeAhead belongs to the UI thread (the thread that
// called XInitXCGUI); called before XInitXCGUI, after XExitXCGUI or from another thread it does nothing and
// returns 0/FALSE.
// Handles are opaque. A handle that is 0, unknown, destroyed or of the wrong kind makes a call return
// 0/FALSE and do nothing. Texts are UTF-16 and are copied by the library; it never keeps a caller's pointer.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Pointer-sized integer used for event values and UI-thread calls.
typedef intptr_t vint;

// Any library object (window, element, shape, image, drawing context).
typedef struct HXCGUI__* HXCGUI;
// A library window.
typedef struct HWINDOW__* HWINDOW;
// An element (basic element, button, edit, progress bar, scroll view) inside a window.
typedef struct HELE__* HELE;
// A decoded image.
typedef struct HIMAGE__* HIMAGE;
// A drawing context, valid only during the draw event that passes it.
typedef struct HDRAW__* HDRAW;

// Element state flags (XEle_GetStateFlags, XEle_AddBkImage).
enum : int {
  element_state_flag_enable = 0x0001,
  element_state_flag_disable = 0x0002,
  element_state_flag_focus = 0x0004,
  element_state_flag_focus_no = 0x0008,
  element_state_flag_leave = 0x0010,  // normal look: the mouse is elsewhere
  element_state_flag_stay = 0x0020,   // the mouse is over the element
  element_state_flag_down = 0x0040,   // the element is pressed
};

// Layout flags of XEle_SetPosition.
enum : int {
  adjustLayout_no = 0,    // move only
  adjustLayout_all = 1,   // lay the whole window out again
  adjustLayout_self = 2,  // lay out the element and its children again
};

// Event ids raised on elements (values passed between the handle and the handled flag in brackets).
enum : int {
  XE_PAINT = 2,              // (HDRAW) draw the element; handled = skip the default face
  XE_MOUSEMOVE = 5,          // (UINT key flags, POINT* in element coordinates)
  XE_MOUSESTAY = 6,          // () the mouse entered the element
  XE_MOUSEHOVER = 7,         // (UINT key flags, POINT*) the mouse rests on the element
  XE_MOUSELEAVE = 8,         // (HELE element the mouse went to, or 0)
  XE_MOUSEWHEEL = 9,         // (UINT key flags, POINT*)
  XE_LBUTTONDOWN = 10,       // (UINT, POINT*) handled = no press, no drag
  XE_LBUTTONUP = 11,         // (UINT, POINT*)
  XE_RBUTTONDOWN = 12,       // (UINT, POINT*)
  XE_RBUTTONUP = 13,         // (UINT, POINT*)
  XE_LBUTTONDBCLICK = 14,    // (UINT, POINT*)
  XE_ADJUSTLAYOUT_END = 18,  // (int layout flags, UINT adjust number)
  XE_SETFOCUS = 31,          // ()
  XE_KILLFOCUS = 32,         // ()
  XE_DESTROY = 33,           // () the element is being destroyed
  XE_BNCLICK = 34,           // () button click; handled = skip the button's own action (close, minimise)
  XE_SIZE = 36,              // (int layout flags)
  XE_SHOW = 37,              // (int shown)
  XE_KEYDOWN = 39,           // (UINT virtual key, LPARAM) handled = key not processed by the element
  XE_KEYUP = 40,             // (UINT virtual key, LPARAM)
  XE_CHAR = 41,              // (UINT character, LPARAM) handled = character not inserted
  XE_SETCAPTURE = 51,        // ()
  XE_KILLCAPTURE = 52,       // ()
  XE_SCROLLVIEW_SCROLL_V = 55,  // (int position)
  XE_PROGRESSBAR_CHANGE = 64,   // (int position)
  XE_EDIT_SET = 180,         // () the program set the text
  XE_EDIT_CHANGED = 182,     // () the text changed (typing, paste, cut, program)
  XE_EDIT_POS_CHANGED = 183, // (int caret position)
};

// Event ids raised on windows.
enum : int {
  XWM_DESTROY = 2,         // () the window is being destroyed
  XWM_MOVE = 3,            // (UINT 0, LPARAM packed client position)
  XWM_SIZE = 5,            // (UINT size type, SIZE*)
  XWM_SETFOCUS = 7,        // ()
  XWM_KILLFOCUS = 8,       // ()
  XWM_PAINT = 15,          // (HDRAW) window background; handled = skip the default background
  XWM_CLOSE = 16,          // () handled = the window stays open
  XWM_KEYDOWN = 256,       // (UINT virtual key, LPARAM) handled = no Tab/Enter/Space handling
  XWM_CHAR = 258,          // (UINT character, LPARAM)
  XWM_MOUSEMOVE = 512,     // (UINT key flags, POINT* client coordinates)
  XWM_LBUTTONDOWN = 513,   // (UINT, POINT*) handled = no press, no drag
  XWM_LBUTTONUP = 514,     // (UINT, POINT*)
  XWM_LBUTTONDBCLICK = 515,
  XWM_RBUTTONDOWN = 516,
  XWM_RBUTTONUP = 517,
  XWM_MOUSEWHEEL = 522,    // (UINT, POINT*)
  XWM_MOUSEHOVER = 673,    // (UINT, POINT*)
  XWM_MOUSELEAVE = 675,    // ()
};

// Binding record: the program's link between a registered event and its own handler. The library only
// calls it; the program creates it and frees it (through the event record's release).
class bind_event_cpp {
 public:
  // 1 when `other` designates the same handler on the same target; used to match a removal.
  virtual int Equals(bind_event_cpp* other) = 0;
  // The target object of the handler.
  virtual void* GetThis() = 0;
  // Stores the size of the handler designation in *size and returns its address.
  virtual void* GetMemberFunction(int* size) = 0;
  // Delivers an element event: (element, flag, e1, e2, e3, handled). The library always passes flag 1
  // and places the event values as follows: one value in e2; two values in e2, e3; three in e1, e2, e3.
  virtual int HandleEvent_cpp_Call(HELE element, vint flag, vint e1, vint e2, vint e3, BOOL* handled) = 0;
  // Delivers a window event, with the same argument rules as the element form.
  virtual int HandleEvent_cpp_Call(HWINDOW window, vint flag, vint e1, vint e2, vint e3, BOOL* handled) = 0;
};

// An object owned by an event record besides its binding; released by the record's release operation.
class xc_event_extra {
 public:
  // Deleting destructor: destroys the object and, when `flags` has bit 0, frees its memory.
  virtual void DeleteSelf(unsigned flags) = 0;
};

// Event record (276 bytes) handed to the registration functions. Mode 1 registers; the record of a
// removal (mode -1) is only compared and never kept. The library owns a record from the moment a
// registration accepts it and releases it exactly once, through xc_event_free, when the registration is
// removed or its element or window is destroyed (also by XExitXCGUI).
class xc_event {
 public:
  // Releases the record with everything it owns.
  virtual void xc_event_free() = 0;

  int mode;                     // 1 register, -1 remove
  bind_event_cpp* binding;      // owned by the record
  xc_event_extra* extra;        // owned by the record; may be null
  char handler_name[260];       // NUL-terminated 8-bit handler name, informative only
};
static_assert(sizeof(void*) != 4 || sizeof(xc_event) == 276, "event record layout");

// Function run on the UI thread by XC_CallUiThread.
typedef vint (*funCallUiThread)(vint data);

extern "C" {

// --- Start, loop, threads ---------------------------------------------------------------------------

// Starts the library on the calling thread, which becomes the UI thread: COM, the imaging factory,
// GDI+, window classes, the cross-thread call window. `use_d2d` is accepted and ignored. FALSE when the
// library is already running or any of these cannot be started.
BOOL XInitXCGUI(BOOL use_d2d);
// Runs the message loop; returns when the last window of the library has been closed (at once when none
// is open) or a quit message arrives.
void XRunXCGUI();
// Destroys every window, element, image and resource (releasing every event record) and stops GDI+.
// Does nothing when called from inside an event handler.
void XExitXCGUI();
// Runs `function(data)` synchronously on the UI thread and returns its result. From another thread the
// caller waits; the call is also served while the UI thread is inside a modal loop. On the UI thread the
// function runs directly. 0 when the library is not running or `function` is null.
vint XC_CallUiThread(funCallUiThread function, vint data);

// --- Archives and layouts ---------------------------------------------------------------------------

// Loads the resource pack `member` (fonts, colours, images, style sheet) from the encrypted ZIP
// `archive`. FALSE on a missing archive or member, a wrong password or a malformed pack; nothing of a
// failed pack is kept.
BOOL XC_LoadResourceZip(const wchar_t* archive, const wchar_t* member, const wchar_t* password);
// Loads the layout `member` from the encrypted ZIP `archive` and returns its root: a new (hidden) window,
// or an element added to `parent` (a window or an element). 0 on any failure; nothing is created then.
// `attach` (a native window to host the layout) is not supported and must be null.
HXCGUI XC_LoadLayoutZip(const wchar_t* archive, const wchar_t* member, const wchar_t* password,
                        HXCGUI parent, HWND attach);
// The live element or shape with this name among all loaded layouts (the earliest created one when
// several share it); 0 when none.
HXCGUI XC_GetObjectByName(const wchar_t* name);

// --- Windows ----------------------------------------------------------------------------------------

// Shows and activates, or hides, the window (windows are created centred on the work area).
BOOL XWnd_Show(HWINDOW window, BOOL show);
// Allows or forbids maximising (double-click, system menu, Win+Up).
BOOL XWnd_EnableMaxWindow(HWINDOW window, BOOL enable);
// Lets the user move the window by dragging its body (any point not over a button or an edit).
BOOL XWnd_EnableDragWindow(HWINDOW window, BOOL enable);
// Holds the window's size between the layout's minimum and maximum sizes.
BOOL XWnd_EnablemLimitWindowSize(HWINDOW window, BOOL enable);
// Sets the window's title (taskbar, Alt+Tab and title shapes of the layout).
BOOL XWnd_SetTitle(HWINDOW window, const wchar_t* title);
// The native window; owned by the library.
HWND XWnd_GetHWND(HWINDOW window);
// Lays out every element again (fill sizes) and repaints later.
BOOL XWnd_AdjustLayout(HWINDOW window);
// Repaints the window: at once when `immediate`, otherwise with the next paint.
BOOL XWnd_Redraw(HWINDOW window, BOOL immediate);
// Closes the window as its close control does (close event first); the window is destroyed unless a
// handler of the close event set handled.
BOOL XWnd_CloseWindow(HWINDOW window);

// --- Widgets and elements ---------------------------------------------------------------------------

// Shows or hides an element or shape with everything inside it.
BOOL XWidget_Show(HXCGUI widget, BOOL show);
// TRUE when the element or shape itself is set to be shown.
BOOL XWidget_IsShow(HXCGUI widget);
// Stores the element's or shape's rectangle, in its window's client coordinates, in *rect. FALSE, with
// *rect untouched, for a bad handle or a null rect.
BOOL XWidget_GetRect(HXCGUI widget, RECT* rect);

// New element of the given kind inside `parent` (a window or an element); 0 on failure. The parent owns it.
HELE XEle_Create(int x, int y, int width, int height, HXCGUI parent);
HELE XBtn_Create(int x, int y, int width, int height, const wchar_t* text, HXCGUI parent);
HELE XEdit_Create(int x, int y, int width, int height, HXCGUI parent);
HELE XSView_Create(int x, int y, int width, int height, HXCGUI parent);

// Moves the element to (x, y) in its parent; `flags` is an adjustLayout_ value; repaints when `redraw`.
BOOL XEle_SetPosition(HELE element, int x, int y, BOOL redraw, int flags, UINT adjust_number);
BOOL XEle_EnableDrawBorder(HELE element, BOOL enable);
BOOL XEle_EnableBkTransparent(HELE element, BOOL enable);
BOOL XEle_EnableDrawFocus(HELE element, BOOL enable);
// Adds a background image shown while the element's state has every flag of `state` (16 normal,
// 32 mouse over, 64 pressed); the normal images stand in for a missing state. The image stays the
// library's.
BOOL XEle_AddBkImage(HELE element, int state, HIMAGE image);
// Repaints the element: at once when `immediate`, otherwise with the next paint.
BOOL XEle_Redraw(HELE element, BOOL immediate);
// The element_state_flag_ bits of the element's current state; 0 for a bad handle.
int XEle_GetStateFlags(HELE element);
BOOL XEle_IsEnable(HELE element);
// Draws the element's default face into a drawing context passed by a draw event.
BOOL XEle_DrawEle(HELE element, HDRAW draw);

// Sets the text of an edit (first line only), caret at the end.
BOOL XEdit_SetText(HELE edit, const wchar_t* text);
// Copies the edit's text into `buffer` (at most `size` characters with the terminator); its length, or
// -1 for a bad handle.
int XEdit_GetText(HELE edit, wchar_t* buffer, int size);

// Sets the progress bar's position, clamped to 0..100.
BOOL XProgBar_SetPos(HELE progress_bar, int position);
// The progress bar's position; 0 for a bad handle.
int XProgBar_GetPos(HELE progress_bar);

// Shows `image` in a picture shape (0 clears it).
BOOL XShapePic_SetImage(HXCGUI shape, HIMAGE image);

// Replaces the text of a text shape (null: empty) and repaints it later.
BOOL XShapeText_SetText(HXCGUI shape, const wchar_t* text);

// --- Images -----------------------------------------------------------------------------------------

// Decodes PNG (alpha kept), JPEG, BMP, GIF or ICO bytes. 0 for null, empty or undecodable data. The image
// belongs to the library and lives until XExitXCGUI.
HIMAGE XImage_LoadMemory(const void* data, int size);
// Starts decoding a copy of `size` bytes at `data` on a thread of the library's own, so that a later
// XImage_LoadMemory of equal bytes takes the decoded image instead of decoding it on the UI thread. Any
// thread, also before XInitXCGUI. FALSE for null or empty data, or when the copy or the thread cannot be
// had (XImage_LoadMemory then decodes as usual). What no XImage_LoadMemory takes is dropped by XExitXCGUI.
BOOL XImage_DecodeAhead(const void* data, int size);

// --- Events -----------------------------------------------------------------------------------------

// Registers `record` (mode 1, with a binding) for event `id` on the element; nonzero when the library
// took the record over, 0 when it refused it (the caller still owns it then).
BOOL _XEle_RegEvent(HELE element, int id, xc_event* record);
// Removes the earliest registration of `id` on the element whose binding Equals the record's; the
// removed registration's record is released. The record passed is never kept. FALSE when none matched.
BOOL _XEle_RemoveEvent(HELE element, int id, xc_event* record);
// Window forms of the two functions above.
BOOL _XWnd_RegEvent(HWINDOW window, int id, xc_event* record);
BOOL _XWnd_RemoveEvent(HWINDOW window, int id, xc_event* record);

}  // extern "C"
