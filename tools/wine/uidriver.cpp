// uidriver [--timeout MS] VERB ARGS... [VERB ARGS...]
//
// Drives the windows of another process for GUI tests, one verb after another. Windows are
// top-level and visible, found by their exact caption (or class); verbs that need a window wait
// for it, polling every 50 ms, up to the verb's MS or the default wait (10000 ms; --timeout MS
// changes it for the verbs after it). Verbs that name a control ID use the first such window
// that has a control ID (a message box may share the window's caption). Every wait and pause is
// multiplied by the environment's VX_TIME_SCALE (a whole number, default 1): the harness sets it
// where programs run slower, under user-mode emulation.
//
//   list                             prints "HWND<TAB>class<TAB>caption" per visible window
//   wait-window CAPTION [MS]         until a window with CAPTION is visible
//   wait-class CLASS [MS]            until a window of class CLASS is visible; prints its caption
//   wait-gone CAPTION [MS]           until no window with CAPTION is visible
//   settext CAPTION ID TEXT          WM_SETTEXT to control ID of the window
//   gettext CAPTION ID               prints the text of control ID (0xFFFF: a message box's text)
//   settext-utf8 CAPTION ID HEX      WM_SETTEXT through the W call, the text given as the hex
//                                    digits of its UTF-8 bytes (a command line passes through
//                                    the code page, which may not hold it)
//   gettext-utf8 CAPTION ID          prints the text of control ID, read through the W call, as
//                                    UTF-8
//   children CAPTION                 prints "ID<TAB>class<TAB>text" per control of the window
//   rect CAPTION                     prints the window's "LEFT TOP RIGHT BOTTOM" on the screen
//   ctlrect CAPTION ID               the same for control ID of the window
//   click CAPTION ID                 BM_CLICK to control ID, posted
//   press CAPTION ID                 a left click (button down and up, posted) at the centre of
//                                    control ID: clicks static controls with SS_NOTIFY
//   keys CAPTION ID KEYS             posts key presses to control ID; KEYS is a comma-separated
//                                    list of key names (up, down, left, right, return, space,
//                                    tab, escape) or virtual-key numbers, each optionally "*N"
//                                    for N presses, e.g. up*12,down*2,return
//   hover CAPTION ID                 moves the pointer to the centre of control ID and, once
//                                    the target has had time to set its cursor, prints the
//                                    handle of the cursor shown (only good for comparing two)
//   getcheck CAPTION ID              prints BM_GETCHECK of control ID (0, 1 or 2)
//   visible CAPTION ID               prints 1 when control ID is visible, else 0
//   focus CAPTION                    prints the id of the control that has the keyboard focus
//                                    in the window's thread (0: none or not a control)
//   wait-state CAPTION ID STATE [MS] until control ID is in STATE: shown, hidden, checked,
//                                    unchecked or focused (posted clicks and keys take effect
//                                    only when the target gets round to them)
//   answer CAPTION BUTTON            clicks BUTTON (1 OK, 2 Cancel, 6 Yes, 7 No) of the dialog
//                                    box (class #32770) with CAPTION and waits until it is gone
//   box-text CAPTION [MS]            prints the message of the dialog box (class #32770) with
//                                    CAPTION once one is visible
//   close CAPTION                    WM_CLOSE, posted
//   watch EVENT [MS]                 notes the visible top-level windows, prints "watching",
//                                    then enumerates them every 50 ms until the named event
//                                    EVENT (made here when missing) is signalled; prints
//                                    "new<TAB>HWND<TAB>class<TAB>caption<TAB>process" for each
//                                    window of any process that became visible meanwhile, and
//                                    fails with status 4 when there was one (a headless run that
//                                    must never show a window)
//   layout CAPTION FRAMES            checks the geometry of the window's visible controls:
//                                    each lies whole inside its parent's client area, no two
//                                    with the same parent overlap (except that a frame, one of
//                                    the comma-separated control IDs FRAMES or "-" for none,
//                                    may hold others whole), and the window lies whole on the
//                                    screen. Prints "dpi N", then one line per fault ("clipped
//                                    ...", "overlap ...", "off-screen ..."), failing with status
//                                    3 when there is one, else "ok N controls"
//   manifest-setting EXE NAMESPACE NAME
//                                    prints the value the application manifest of EXE (its
//                                    resource 1) gives setting NAME of NAMESPACE, read the way
//                                    the system reads it (an activation context), e.g. dpiAware
//                                    of http://schemas.microsoft.com/SMI/2005/WindowsSettings;
//                                    fails with status 3 when the manifest has no such setting
//   gui-resources CAPTION            prints "gdi N user N": GetGuiResources (GR_GDIOBJECTS,
//                                    GR_USEROBJECTS) of the process that owns the window
//   gui-objects CAPTION              prints "gdi N user N" for the process that owns the window,
//                                    counted without GetGuiResources (which Wine 8 leaves at 0):
//                                    gdi, the live, non-stock entries of the process's GDI handle
//                                    table (GdiSharedHandleTable of its PEB, or of its 64-bit
//                                    PEB on 64-bit Wine, read with ReadProcessMemory); user,
//                                    the windows the process owns, top-level, child and
//                                    message-only, hidden ones included
//   sleep MS
//
// Clicks and WM_CLOSE are posted, never sent: the target may answer them by opening a modal
// box, and a sent message would wait for that box to close. Exit status: 0 when every verb
// succeeded; otherwise the verb stops the run with one line starting "uidriver:" on stderr and
// status 1 (a wait timed out), 2 (bad usage), 3 (a control missing or not answering) or 4 (a
// watch saw a new window).

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// Needs <windows.h> before it.
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Handles.h"

namespace {

using vx::platform::win32::UniqueFileHandle;
using vx::platform::win32::UniqueHandle;

constexpr int kExitTimeout = 1;
constexpr int kExitUsage = 2;
constexpr int kExitControl = 3;
constexpr int kExitWindowSeen = 4;
constexpr DWORD kPollMs = 50;
constexpr const char* kDialogClass = "#32770";

// Ends the run: the first failing verb decides the status.
struct Stop {
    int status;
};

[[noreturn]] void Fail(int status, const std::string& message) {
    std::fprintf(stderr, "uidriver: %s\n", message.c_str());
    std::fflush(stderr);
    throw Stop{status};
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    // A test may read the output while the run goes on.
    std::fflush(stdout);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::optional<unsigned long> ParseNumber(const std::string& text) {
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return std::nullopt;
    }
    char* end = nullptr;
    // Base 0: decimal, or hexadecimal with 0x (control 0xFFFF).
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (end == nullptr || *end != '\0') {
        return std::nullopt;
    }
    return value;
}

class Arguments {
public:
    Arguments(int argc, char** argv) : items_(argv + 1, argv + argc) {}

    [[nodiscard]] bool done() const { return next_ >= items_.size(); }

    std::string take(const char* what) {
        if (done()) {
            Fail(kExitUsage, std::string("missing ") + what);
        }
        return items_[next_++];
    }

    unsigned long takeNumber(const char* what) {
        const std::string text = take(what);
        const auto value = ParseNumber(text);
        if (!value) {
            Fail(kExitUsage, std::string(what) + " is not a number: " + Quoted(text));
        }
        return *value;
    }

    // A trailing time limit is told from the next verb by being a number.
    DWORD optionalMs(DWORD fallback) {
        if (!done()) {
            if (const auto value = ParseNumber(items_[next_])) {
                ++next_;
                return static_cast<DWORD>(*value);
            }
        }
        return fallback;
    }

private:
    std::vector<std::string> items_;
    std::size_t next_ = 0;
};

std::string WindowText(HWND window) {
    char buffer[512] = {};
    GetWindowTextA(window, buffer, static_cast<int>(sizeof(buffer)));
    return buffer;
}

std::string ClassName(HWND window) {
    char buffer[256] = {};
    GetClassNameA(window, buffer, static_cast<int>(sizeof(buffer)));
    return buffer;
}

// The first visible top-level window with this class and/or caption (nullptr: any).
HWND FindVisible(const char* className, const char* caption) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, caption)) != nullptr) {
        if (IsWindowVisible(window) != 0) {
            return window;
        }
    }
    return nullptr;
}

// A wait of `ms` as this machine needs it (see VX_TIME_SCALE above).
DWORD Scaled(DWORD ms) {
    static const DWORD scale = [] {
        char text[16] = {};
        const DWORD length = GetEnvironmentVariableA("VX_TIME_SCALE", text, sizeof(text));
        const auto value = length > 0 && length < sizeof(text) ? ParseNumber(text) : std::nullopt;
        return value && *value >= 1 && *value <= 100 ? static_cast<DWORD>(*value) : DWORD{1};
    }();
    return ms > MAXDWORD / scale ? MAXDWORD : ms * scale;
}

// Polls `condition` until it holds or `ms` (scaled) have passed; true when it held.
bool Poll(const std::function<bool()>& condition, DWORD unscaledMs) {
    const DWORD ms = Scaled(unscaledMs);
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        // Unsigned subtraction stays right across the 49-day wrap of the tick count.
        if (GetTickCount() - start >= ms) {
            return false;
        }
        Sleep(kPollMs);
    }
}

HWND WaitVisible(const char* className, const char* caption, DWORD ms, const std::string& what) {
    HWND found = nullptr;
    if (!Poll([&] { return (found = FindVisible(className, caption)) != nullptr; }, ms)) {
        Fail(kExitTimeout, "no visible " + what + " after " + std::to_string(Scaled(ms)) + " ms");
    }
    return found;
}

HWND WaitCaption(const std::string& caption, DWORD ms) {
    return WaitVisible(nullptr, caption.c_str(), ms, "window " + Quoted(caption));
}

HWND Control(HWND window, const std::string& caption, unsigned long id) {
    HWND control = GetDlgItem(window, static_cast<int>(id));
    if (control == nullptr) {
        Fail(kExitControl, "window " + Quoted(caption) + " has no control " + std::to_string(id));
    }
    return control;
}

// Control ID of the first visible window with CAPTION that has one. A program's message boxes
// usually carry its window's caption: while one is closing it may still be found first.
HWND WaitControl(const std::string& caption, unsigned long id, DWORD ms) {
    HWND control = nullptr;
    bool windowSeen = false;
    const bool found = Poll(
        [&] {
            HWND window = nullptr;
            while ((window = FindWindowExA(nullptr, window, nullptr, caption.c_str())) != nullptr) {
                if (IsWindowVisible(window) == 0) {
                    continue;
                }
                windowSeen = true;
                if ((control = GetDlgItem(window, static_cast<int>(id))) != nullptr) {
                    return true;
                }
            }
            return false;
        },
        ms);
    if (!found) {
        Fail(windowSeen ? kExitControl : kExitTimeout, "no visible window " + Quoted(caption) +
                                                           " with control " + std::to_string(id) +
                                                           " after " + std::to_string(Scaled(ms)) + " ms");
    }
    return control;
}

// SendMessageTimeout, so that a hung target fails the verb instead of the whole test run.
LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD ms,
                   const std::string& what) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, Scaled(ms),
                            &result) == 0) {
        Fail(kExitControl, what + ": no answer (error " + std::to_string(GetLastError()) + ")");
    }
    return static_cast<LRESULT>(result);
}

LRESULT SendWideOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD ms,
                       const std::string& what) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, Scaled(ms),
                            &result) == 0) {
        Fail(kExitControl, what + ": no answer (error " + std::to_string(GetLastError()) + ")");
    }
    return static_cast<LRESULT>(result);
}

void PostOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const std::string& what) {
    if (PostMessageA(window, message, wParam, lParam) == 0) {
        Fail(kExitControl, what + ": cannot post (error " + std::to_string(GetLastError()) + ")");
    }
}

std::string ControlText(HWND control, DWORD ms, const std::string& what) {
    const LRESULT length = SendOrFail(control, WM_GETTEXTLENGTH, 0, 0, ms, what);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = SendOrFail(control, WM_GETTEXT, text.size(),
                                   reinterpret_cast<LPARAM>(text.data()), ms, what);
    text.resize(static_cast<std::size_t>(got));
    return text;
}

// Collects the handles only: nothing may throw through the system's enumeration.
BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    try {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// Every verb reads its own arguments; `timeout` is the default wait, which --timeout changes.
struct Session {
    Arguments& args;
    DWORD timeout;
};

void List(Session&) {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (const HWND window : windows) {
        if (IsWindowVisible(window) != 0) {
            char handle[32] = {};
            std::snprintf(handle, sizeof(handle), "0x%08lx",
                          static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
            Print(std::string(handle) + "\t" + ClassName(window) + "\t" + WindowText(window));
        }
    }
}

void WaitWindow(Session& s) {
    const std::string caption = s.args.take("caption");
    WaitCaption(caption, s.args.optionalMs(s.timeout));
}

void WaitClass(Session& s) {
    const std::string className = s.args.take("class name");
    const HWND window = WaitVisible(className.c_str(), nullptr, s.args.optionalMs(s.timeout),
                                    "window of class " + Quoted(className));
    Print(WindowText(window));
}

void WaitGone(Session& s) {
    const std::string caption = s.args.take("caption");
    const DWORD ms = s.args.optionalMs(s.timeout);
    if (!Poll([&] { return FindVisible(nullptr, caption.c_str()) == nullptr; }, ms)) {
        Fail(kExitTimeout,
             "window " + Quoted(caption) + " still visible after " + std::to_string(Scaled(ms)) + " ms");
    }
}

void SetText(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    const std::string text = s.args.take("text");
    const HWND control = WaitControl(caption, id, s.timeout);
    SendOrFail(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), s.timeout,
               "settext " + std::to_string(id));
}

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                        length, nullptr, nullptr);
    return text;
}

std::string BytesFromHex(const std::string& hex) {
    if (hex.size() % 2 != 0 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        Fail(kExitUsage, "settext-utf8: " + Quoted(hex) + " is not an even run of hex digits");
    }
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

void SetTextUtf8(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    const std::wstring text = WideFromUtf8(BytesFromHex(s.args.take("hex text")));
    const HWND control = WaitControl(caption, id, s.timeout);
    SendWideOrFail(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), s.timeout,
                   "settext-utf8 " + std::to_string(id));
}

void GetTextUtf8(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    const HWND control = WaitControl(caption, id, s.timeout);
    const std::string what = "gettext-utf8 " + std::to_string(id);
    const LRESULT length = SendWideOrFail(control, WM_GETTEXTLENGTH, 0, 0, s.timeout, what);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendWideOrFail(control, WM_GETTEXT, text.size(),
                                       reinterpret_cast<LPARAM>(text.data()), s.timeout, what);
    text.resize(static_cast<std::size_t>(got));
    Print(Utf8FromWide(text));
}

void GetText(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    const HWND control = WaitControl(caption, id, s.timeout);
    Print(ControlText(control, s.timeout, "gettext " + std::to_string(id)));
}

void Children(Session& s) {
    const std::string caption = s.args.take("caption");
    std::vector<HWND> controls;
    EnumChildWindows(WaitCaption(caption, s.timeout), CollectWindow,
                     reinterpret_cast<LPARAM>(&controls));
    for (const HWND control : controls) {
        const std::string id = std::to_string(GetDlgCtrlID(control));
        Print(id + "\t" + ClassName(control) + "\t" +
              ControlText(control, s.timeout, "children: control " + id));
    }
}

void Rect(Session& s) {
    const std::string caption = s.args.take("caption");
    RECT bounds{};
    if (GetWindowRect(WaitCaption(caption, s.timeout), &bounds) == 0) {
        Fail(kExitControl, "rect " + Quoted(caption) + ": error " + std::to_string(GetLastError()));
    }
    Print(std::to_string(bounds.left) + " " + std::to_string(bounds.top) + " " +
          std::to_string(bounds.right) + " " + std::to_string(bounds.bottom));
}

void ControlRect(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    RECT bounds{};
    if (GetWindowRect(WaitControl(caption, id, s.timeout), &bounds) == 0) {
        Fail(kExitControl,
             "ctlrect " + std::to_string(id) + ": error " + std::to_string(GetLastError()));
    }
    Print(std::to_string(bounds.left) + " " + std::to_string(bounds.top) + " " +
          std::to_string(bounds.right) + " " + std::to_string(bounds.bottom));
}

void Click(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    PostOrFail(WaitControl(caption, id, s.timeout), BM_CLICK, 0, 0, "click " + std::to_string(id));
}

// A click where the control's own hit test sees it: button down and up at its client centre.
void Press(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    const HWND control = WaitControl(caption, id, s.timeout);
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
    const std::string what = "press " + std::to_string(id);
    PostOrFail(control, WM_LBUTTONDOWN, MK_LBUTTON, centre, what);
    PostOrFail(control, WM_LBUTTONUP, 0, centre, what);
}

UINT KeyCode(const std::string& name) {
    static const std::pair<const char*, UINT> kNames[] = {
        {"up", VK_UP},         {"down", VK_DOWN},   {"left", VK_LEFT}, {"right", VK_RIGHT},
        {"return", VK_RETURN}, {"space", VK_SPACE}, {"tab", VK_TAB},   {"escape", VK_ESCAPE},
    };
    for (const auto& [known, code] : kNames) {
        if (name == known) {
            return code;
        }
    }
    const auto number = ParseNumber(name);
    if (!number || *number == 0 || *number > 0xFE) {
        Fail(kExitUsage, "unknown key " + Quoted(name));
    }
    return static_cast<UINT>(*number);
}

void Keys(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    const std::string keys = s.args.take("keys");
    const HWND control = WaitControl(caption, id, s.timeout);
    std::size_t start = 0;
    while (start <= keys.size()) {
        const std::size_t comma = std::min(keys.find(',', start), keys.size());
        std::string key = keys.substr(start, comma - start);
        start = comma + 1;
        unsigned long count = 1;
        if (const std::size_t star = key.find('*'); star != std::string::npos) {
            const auto parsed = ParseNumber(key.substr(star + 1));
            if (!parsed) {
                Fail(kExitUsage, "bad repeat count in " + Quoted(key));
            }
            count = *parsed;
            key.resize(star);
        }
        const UINT code = KeyCode(key);
        const UINT scan = MapVirtualKeyA(code, 0);
        for (unsigned long i = 0; i < count; ++i) {
            // Repeat count 1 and the scan code in the low word and bits 16-23, as a keyboard
            // sends them; bits 30 and 31 mark the release.
            const LPARAM down = static_cast<LPARAM>(1u | (scan << 16));
            const LPARAM up = static_cast<LPARAM>(1u | (scan << 16) | 0xC0000000u);
            PostOrFail(control, WM_KEYDOWN, code, down, "keys " + key);
            PostOrFail(control, WM_KEYUP, code, up, "keys " + key);
        }
    }
}

void Hover(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    RECT bounds{};
    GetWindowRect(WaitControl(caption, id, s.timeout), &bounds);
    // Under Wine the cursor a window sets for a move shows only from the next pointer event
    // on: the pointer is put in place twice, with time for the target to answer each time.
    for (int move = 0; move < 2; ++move) {
        if (SetCursorPos((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2) == 0) {
            Fail(kExitControl,
                 "hover " + std::to_string(id) + ": error " + std::to_string(GetLastError()));
        }
        Sleep(Scaled(200));
    }
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    if (GetCursorInfo(&cursor) == 0) {
        Fail(kExitControl,
             "hover " + std::to_string(id) + ": error " + std::to_string(GetLastError()));
    }
    char handle[32] = {};
    std::snprintf(handle, sizeof(handle), "0x%08lx",
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(cursor.hCursor)));
    Print(handle);
}

void GetCheck(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    const HWND control = WaitControl(caption, id, s.timeout);
    Print(std::to_string(
        SendOrFail(control, BM_GETCHECK, 0, 0, s.timeout, "getcheck " + std::to_string(id))));
}

void Visible(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    const HWND control = WaitControl(caption, id, s.timeout);
    Print(IsWindowVisible(control) != 0 ? "1" : "0");
}

HWND FocusOf(HWND window, const std::string& caption) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) == 0) {
        Fail(kExitControl,
             "focus " + Quoted(caption) + ": error " + std::to_string(GetLastError()));
    }
    return info.hwndFocus != nullptr && IsChild(window, info.hwndFocus) != 0 ? info.hwndFocus
                                                                             : nullptr;
}

void Focus(Session& s) {
    const std::string caption = s.args.take("caption");
    const HWND focus = FocusOf(WaitCaption(caption, s.timeout), caption);
    Print(std::to_string(focus != nullptr ? GetDlgCtrlID(focus) : 0));
}

void WaitState(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("control id");
    const std::string state = s.args.take("state");
    const DWORD ms = s.args.optionalMs(s.timeout);
    const HWND control = WaitControl(caption, id, s.timeout);
    const HWND window = GetAncestor(control, GA_ROOT);
    std::function<bool()> holds;
    if (state == "shown" || state == "hidden") {
        const bool shown = state == "shown";
        holds = [=] { return (IsWindowVisible(control) != 0) == shown; };
    } else if (state == "checked" || state == "unchecked") {
        const LRESULT want = state == "checked" ? BST_CHECKED : BST_UNCHECKED;
        holds = [=] { return SendOrFail(control, BM_GETCHECK, 0, 0, ms, "wait-state") == want; };
    } else if (state == "focused") {
        holds = [=] { return FocusOf(window, caption) == control; };
    } else {
        Fail(kExitUsage, "unknown state " + Quoted(state));
    }
    if (!Poll(holds, ms)) {
        Fail(kExitTimeout, "control " + std::to_string(id) + " of " + Quoted(caption) + " not " +
                               state + " after " + std::to_string(Scaled(ms)) + " ms");
    }
}

void Answer(Session& s) {
    const std::string caption = s.args.take("caption");
    const unsigned long id = s.args.takeNumber("button id");
    const HWND box =
        WaitVisible(kDialogClass, caption.c_str(), s.timeout, "dialog box " + Quoted(caption));
    PostOrFail(Control(box, caption, id), BM_CLICK, 0, 0, "answer " + std::to_string(id));
    // The next verb may look for the next box with the same caption: this one must be gone.
    if (!Poll([&] { return IsWindow(box) == 0 || IsWindowVisible(box) == 0; }, s.timeout)) {
        Fail(kExitTimeout, "dialog box " + Quoted(caption) + " still open after answering it");
    }
}

void BoxText(Session& s) {
    const std::string caption = s.args.take("caption");
    const DWORD ms = s.args.optionalMs(s.timeout);
    const HWND box =
        WaitVisible(kDialogClass, caption.c_str(), ms, "dialog box " + Quoted(caption));
    Print(ControlText(Control(box, caption, 0xFFFF), s.timeout, "box-text"));
}

void Close(Session& s) {
    const std::string caption = s.args.take("caption");
    PostOrFail(WaitCaption(caption, s.timeout), WM_CLOSE, 0, 0, "close " + Quoted(caption));
}

std::vector<HWND> VisibleWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::erase_if(windows, [](HWND window) { return IsWindowVisible(window) == 0; });
    return windows;
}

// The executable name of a process, or its id when the system no longer lists it.
std::string ProcessName(DWORD processId) {
    const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    if (snapshot && Process32First(snapshot.get(), &entry) != 0) {
        do {
            if (entry.th32ProcessID == processId) {
                return entry.szExeFile;
            }
        } while (Process32Next(snapshot.get(), &entry) != 0);
    }
    return "process " + std::to_string(processId);
}

void Watch(Session& s) {
    const std::string eventName = s.args.take("event name");
    const DWORD ms = s.args.optionalMs(s.timeout);
    // Manual reset: a signal given before the first look is not lost.
    const UniqueHandle stop(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    if (!stop) {
        Fail(kExitControl, "watch: no event " + Quoted(eventName) + " (error " +
                               std::to_string(GetLastError()) + ")");
    }
    std::vector<HWND> known = VisibleWindows();
    Print("watching");
    bool seen = false;
    const auto look = [&] {
        for (const HWND window : VisibleWindows()) {
            if (std::find(known.begin(), known.end(), window) != known.end()) {
                continue;
            }
            known.push_back(window);
            seen = true;
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            char handle[32] = {};
            std::snprintf(handle, sizeof(handle), "0x%08lx",
                          static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
            Print(std::string("new\t") + handle + "\t" + ClassName(window) + "\t" +
                  WindowText(window) + "\t" + ProcessName(processId));
        }
    };
    // One more look after the signal: a window shown just before it still counts.
    const bool stopped = Poll(
        [&] {
            const bool signalled = WaitForSingleObject(stop.get(), 0) == WAIT_OBJECT_0;
            look();
            return signalled;
        },
        ms);
    if (!stopped) {
        Fail(kExitTimeout, "watch: event " + Quoted(eventName) + " not signalled after " +
                               std::to_string(Scaled(ms)) + " ms");
    }
    if (seen) {
        Fail(kExitWindowSeen, "watch: a new window became visible");
    }
}

std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::vector<int> FrameIds(const std::string& list) {
    std::vector<int> ids;
    if (list == "-") {
        return ids;
    }
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const auto id = ParseNumber(list.substr(start, comma - start));
        if (!id) {
            Fail(kExitUsage, "layout: frames must be control ids, e.g. 107,110, or \"-\"");
        }
        ids.push_back(static_cast<int>(*id));
        start = comma + 1;
    }
    return ids;
}

void Layout(Session& s) {
    struct Placed {
        HWND handle;
        HWND parent;
        int id;
        RECT bounds;  // on the screen
    };
    const std::string caption = s.args.take("caption");
    const std::vector<int> frames = FrameIds(s.args.take("frames"));
    const HWND window = WaitCaption(caption, s.timeout);
    {
        const HDC screen = GetDC(nullptr);
        Print("dpi " + std::to_string(GetDeviceCaps(screen, LOGPIXELSY)));
        ReleaseDC(nullptr, screen);
    }
    const auto isFrame = [&](int id) {
        return std::find(frames.begin(), frames.end(), id) != frames.end();
    };
    const auto name = [](const Placed& control) {
        return std::to_string(control.id) + " " + ClassName(control.handle) + " " +
               RectText(control.bounds);
    };
    int faults = 0;
    const auto fault = [&](const std::string& line) {
        Print(line);
        ++faults;
    };

    RECT windowBounds{};
    RECT desktop{};
    GetWindowRect(window, &windowBounds);
    GetWindowRect(GetDesktopWindow(), &desktop);
    if (!Contains(desktop, windowBounds)) {
        fault("off-screen window " + RectText(windowBounds) + " on the screen " +
              RectText(desktop));
    }

    std::vector<HWND> all;
    EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<Placed> controls;
    for (const HWND handle : all) {
        if (IsWindowVisible(handle) == 0) {
            continue;
        }
        Placed control{handle, GetParent(handle), GetDlgCtrlID(handle), {}};
        GetWindowRect(handle, &control.bounds);
        controls.push_back(control);
        RECT client{};
        GetClientRect(control.parent, &client);
        MapWindowPoints(control.parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
        if (!Contains(client, control.bounds)) {
            fault("clipped " + name(control) + " by its parent's client area " + RectText(client));
        }
    }
    for (std::size_t a = 0; a < controls.size(); ++a) {
        for (std::size_t b = a + 1; b < controls.size(); ++b) {
            const Placed& first = controls[a];
            const Placed& second = controls[b];
            RECT common{};
            if (first.parent != second.parent ||
                IntersectRect(&common, &first.bounds, &second.bounds) == 0) {
                continue;
            }
            if ((isFrame(first.id) && Contains(first.bounds, second.bounds)) ||
                (isFrame(second.id) && Contains(second.bounds, first.bounds))) {
                continue;
            }
            fault("overlap " + name(first) + " and " + name(second));
        }
    }
    if (faults > 0) {
        Fail(kExitControl, "layout: " + std::to_string(faults) + " faults");
    }
    Print("ok " + std::to_string(controls.size()) + " controls");
}

std::wstring Widened(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    return wide;
}

void ManifestSetting(Session& s) {
    const std::string exe = s.args.take("program path");
    const std::wstring space = Widened(s.args.take("namespace"));
    const std::wstring name = Widened(s.args.take("setting name"));
    // Newer than the headers this tree builds against: looked up, as the program does.
    using CreateContext = HANDLE(WINAPI*)(const ACTCTXA*);
    using ReleaseContext = void(WINAPI*)(HANDLE);
    using QuerySettings = BOOL(WINAPI*)(DWORD, HANDLE, LPCWSTR, LPCWSTR, LPWSTR, SIZE_T, SIZE_T*);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto create = reinterpret_cast<CreateContext>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "CreateActCtxA")));
    const auto release = reinterpret_cast<ReleaseContext>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "ReleaseActCtx")));
    const auto query = reinterpret_cast<QuerySettings>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "QueryActCtxSettingsW")));
    if (create == nullptr || release == nullptr || query == nullptr) {
        Fail(kExitControl, "manifest-setting: the system has no activation-context settings");
    }
    ACTCTXA request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = exe.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    const HANDLE context = create(&request);
    if (context == INVALID_HANDLE_VALUE) {
        Fail(kExitControl, "manifest-setting: no manifest in " + Quoted(exe) + " (error " +
                               std::to_string(GetLastError()) + ")");
    }
    wchar_t value[256] = {};
    SIZE_T length = 0;
    const BOOL found = query(0, context, space.c_str(), name.c_str(), value,
                             sizeof(value) / sizeof(value[0]), &length);
    const DWORD error = GetLastError();
    release(context);
    if (found == 0) {
        Fail(kExitControl, "manifest-setting: the manifest of " + Quoted(exe) +
                               " does not set it (error " + std::to_string(error) + ")");
    }
    char narrow[256] = {};
    WideCharToMultiByte(CP_ACP, 0, value, -1, narrow, sizeof(narrow), nullptr, nullptr);
    Print(narrow);
}

// The process that owns the window with CAPTION, opened to read its counts and memory.
UniqueHandle OwnerOf(const std::string& caption, DWORD ms, DWORD* processId,
                     DWORD* threadId = nullptr) {
    const HWND window = WaitCaption(caption, ms);
    const DWORD thread = GetWindowThreadProcessId(window, processId);
    if (threadId != nullptr) {
        *threadId = thread;
    }
    UniqueHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, *processId));
    if (!process) {
        Fail(kExitControl, "cannot open the process of " + Quoted(caption) + " (error " +
                               std::to_string(GetLastError()) + ")");
    }
    return process;
}

void GuiResources(Session& s) {
    const std::string caption = s.args.take("caption");
    DWORD processId = 0;
    const UniqueHandle process = OwnerOf(caption, s.timeout, &processId);
    Print("gdi " + std::to_string(GetGuiResources(process.get(), GR_GDIOBJECTS)) + " user " +
          std::to_string(GetGuiResources(process.get(), GR_USEROBJECTS)));
}

// One entry of the GDI handle table as gdi32 lays it out (the same on 32- and 64-bit).
struct GdiHandleEntry {
    ULONGLONG object;
    ULONG owner;
    UCHAR type;  // 0: a free entry; the top bit marks a stock object
    UCHAR flags;
    ULONGLONG userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiHandleEntries = 0x10000;
constexpr UCHAR kGdiStockFlag = 0x80;
// Where a 32-bit process keeps the address of its GDI handle table: in its PEB; or, a 32-bit
// process on 64-bit Wine, in the 64-bit PEB, found through the 64-bit TEB whose address the
// 32-bit TEB keeps in GdiBatchCount (where gdi32 itself looks).
constexpr std::size_t kPebGdiTableOffset = 0x94;
constexpr std::size_t kTebGdiBatchCountOffset = 0xF70;
constexpr std::size_t kTeb64PebOffset = 0x60;
constexpr std::size_t kPeb64GdiTableOffset = 0xF8;

template <typename T>
T ReadAt(HANDLE process, ULONG_PTR address) {
    T value{};
    SIZE_T got = 0;
    if (address == 0 || ReadProcessMemory(process, reinterpret_cast<const void*>(address), &value,
                                          sizeof(value), &got) == 0) {
        return T{};
    }
    return value;
}

using NtQueryFunction = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

NtQueryFunction NtCall(const char* name) {
    return reinterpret_cast<NtQueryFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

ULONG_PTR GdiTableOf(HANDLE process, DWORD threadId) {
    struct ProcessBasic {
        LONG exitStatus;
        ULONG_PTR peb;
        ULONG_PTR affinity;
        LONG basePriority;
        ULONG_PTR processId;
        ULONG_PTR parentProcessId;
    };
    struct ThreadBasic {
        LONG exitStatus;
        ULONG_PTR teb;
        ULONG_PTR process;
        ULONG_PTR thread;
        ULONG_PTR affinity;
        LONG priority;
        LONG basePriority;
    };
    const NtQueryFunction queryProcess = NtCall("NtQueryInformationProcess");
    const NtQueryFunction queryThread = NtCall("NtQueryInformationThread");
    ProcessBasic processInfo{};
    if (queryProcess != nullptr &&
        queryProcess(process, 0, &processInfo, sizeof(processInfo), nullptr) == 0) {
        if (const auto table = ReadAt<DWORD>(process, processInfo.peb + kPebGdiTableOffset)) {
            return table;
        }
    }
    const UniqueHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId));
    ThreadBasic threadInfo{};
    if (!thread || queryThread == nullptr ||
        queryThread(thread.get(), 0, &threadInfo, sizeof(threadInfo), nullptr) != 0) {
        return 0;
    }
    const auto teb64 = ReadAt<DWORD>(process, threadInfo.teb + kTebGdiBatchCountOffset);
    const auto peb64 = ReadAt<ULONGLONG>(process, teb64 == 0 ? 0 : teb64 + kTeb64PebOffset);
    const auto table = ReadAt<ULONGLONG>(
        process, peb64 == 0 ? 0 : static_cast<ULONG_PTR>(peb64) + kPeb64GdiTableOffset);
    // A 32-bit process's objects all lie below 4 GB.
    return table <= MAXDWORD ? static_cast<ULONG_PTR>(table) : 0;
}

std::size_t LiveGdiObjects(HANDLE process, DWORD threadId, const std::string& caption) {
    const ULONG_PTR table = GdiTableOf(process, threadId);
    if (table == 0) {
        Fail(kExitControl,
             "gui-objects: the process of " + Quoted(caption) + " shows no GDI handle table");
    }
    SIZE_T got = 0;
    std::vector<GdiHandleEntry> entries(kGdiHandleEntries);
    if (ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                          entries.size() * sizeof(GdiHandleEntry), &got) == 0) {
        Fail(kExitControl, "gui-objects: cannot read the GDI handle table (error " +
                               std::to_string(GetLastError()) + ")");
    }
    return static_cast<std::size_t>(
        std::count_if(entries.begin(), entries.end(),
                      [](const auto& e) { return e.type != 0 && (e.type & kGdiStockFlag) == 0; }));
}

// Every window of the process: top-level ones, their children, and message-only ones.
std::size_t OwnedWindows(DWORD processId) {
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    HWND messageOnly = nullptr;
    while ((messageOnly = FindWindowExA(HWND_MESSAGE, messageOnly, nullptr, nullptr)) != nullptr) {
        all.push_back(messageOnly);
    }
    std::size_t count = 0;
    for (const HWND top : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(top, &owner);
        if (owner != processId) {
            continue;
        }
        std::vector<HWND> children;
        EnumChildWindows(top, CollectWindow, reinterpret_cast<LPARAM>(&children));
        count += 1 + children.size();
    }
    return count;
}

void GuiObjects(Session& s) {
    const std::string caption = s.args.take("caption");
    DWORD processId = 0;
    DWORD threadId = 0;
    const UniqueHandle process = OwnerOf(caption, s.timeout, &processId, &threadId);
    Print("gdi " + std::to_string(LiveGdiObjects(process.get(), threadId, caption)) + " user " +
          std::to_string(OwnedWindows(processId)));
}

void Pause(Session& s) { Sleep(Scaled(static_cast<DWORD>(s.args.takeNumber("milliseconds")))); }

void SetTimeout(Session& s) { s.timeout = static_cast<DWORD>(s.args.takeNumber("milliseconds")); }

struct Verb {
    const char* name;
    void (*run)(Session&);
};

constexpr Verb kVerbs[] = {
    {"list", List},
    {"wait-window", WaitWindow},
    {"wait-class", WaitClass},
    {"wait-gone", WaitGone},
    {"settext", SetText},
    {"gettext", GetText},
    {"settext-utf8", SetTextUtf8},
    {"gettext-utf8", GetTextUtf8},
    {"children", Children},
    {"rect", Rect},
    {"ctlrect", ControlRect},
    {"click", Click},
    {"press", Press},
    {"keys", Keys},
    {"hover", Hover},
    {"getcheck", GetCheck},
    {"visible", Visible},
    {"focus", Focus},
    {"wait-state", WaitState},
    {"answer", Answer},
    {"box-text", BoxText},
    {"close", Close},
    {"watch", Watch},
    {"layout", Layout},
    {"manifest-setting", ManifestSetting},
    {"gui-resources", GuiResources},
    {"gui-objects", GuiObjects},
    {"sleep", Pause},
    {"--timeout", SetTimeout},
};

void RunVerb(const std::string& name, Session& session) {
    for (const Verb& verb : kVerbs) {
        if (name == verb.name) {
            verb.run(session);
            return;
        }
    }
    Fail(kExitUsage, "unknown verb " + Quoted(name));
}

}  // namespace

int main(int argc, char** argv) {
    // Console output of a program under Wine is text mode: no CR before each LF, please.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) {
        std::fprintf(stderr, "usage: uidriver [--timeout MS] VERB ARGS... [VERB ARGS...]\n");
        return kExitUsage;
    }
    Arguments args(argc, argv);
    Session session{args, 10000};
    try {
        while (!args.done()) {
            const std::string verb = args.take("verb");
            RunVerb(verb, session);
        }
    } catch (const Stop& stop) {
        return stop.status;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "uidriver: %s\n", error.what());
        return kExitControl;
    }
    return 0;
}
