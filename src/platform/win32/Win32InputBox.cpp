#include "platform/win32/Win32InputBox.h"

#include <windows.h>

#include <initializer_list>
#include <vector>

#include "platform/TextMode.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Window.h"

namespace vx::platform::win32 {
namespace {

// Dialog units for "MS Shell Dlg" 8: about 360 x 150 pixels at 96 DPI with the frame.
constexpr short kDialogWidth = 236;
constexpr short kDialogHeight = 83;

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

struct ItemLayout {
    DWORD style;
    DWORD extendedStyle;
    short x, y, width, height;
    WORD id;
    WORD classAtom;
};

// DLGTEMPLATE and its DLGITEMTEMPLATEs in one WORD stream. Every string is left empty: the
// texts are set through the A functions once the dialog exists, which spares converting
// them to the template's UTF-16.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height, WORD itemCount) {
        putDword(style);
        putDword(0);
        words_.push_back(itemCount);
        putShorts({0, 0, width, height});
        words_.insert(words_.end(), {0, 0, 0});  // no menu, the dialog class, no title
        words_.push_back(8);                     // DS_SETFONT: point size, then face name
        for (const char* c = "MS Shell Dlg"; *c != '\0'; ++c) {
            words_.push_back(static_cast<WORD>(*c));
        }
        words_.push_back(0);
    }

    void add(const ItemLayout& item) {
        if (words_.size() % 2 != 0) words_.push_back(0);  // items start on a DWORD boundary
        putDword(item.style);
        putDword(item.extendedStyle);
        putShorts({item.x, item.y, item.width, item.height});
        words_.insert(words_.end(), {item.id, 0xFFFF, item.classAtom, 0, 0});  // no text, no data
    }

    // The vector's storage comes from operator new, aligned for any type: DWORD alignment
    // of the template holds.
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void putDword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void putShorts(std::initializer_list<short> values) {
        for (short value : values) words_.push_back(static_cast<WORD>(value));
    }

    std::vector<WORD> words_;
};

class InputBoxDialog final : public Window {
public:
    InputBoxDialog(const std::string& prompt, const std::string& title,
                   const std::string& defaultText)
        : prompt_(prompt), title_(title), defaultText_(defaultText) {}

    std::optional<std::string> run() {
        constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
        DialogTemplate layout(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT |
                                  DS_CENTER | DS_SETFOREGROUND,
                              kDialogWidth, kDialogHeight, 4);
        layout.add(
            {kChild | SS_LEFT | SS_NOPREFIX, 0, 7, 7, 170, 50, kInputBoxPromptId, kStaticClass});
        // First in the tab order: it takes the focus, its text selected.
        layout.add({kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 7, 63, 222, 13,
                    kInputBoxEditId, kEditClass});
        layout.add({kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 183, 7, 46, 14, IDOK, kButtonClass});
        layout.add(
            {kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 183, 25, 46, 14, IDCANCEL, kButtonClass});
        const INT_PTR result =
            runModal(::GetModuleHandleA(nullptr), layout.get(), ::GetActiveWindow());
        if (result != IDOK) return std::nullopt;
        return answer_;
    }

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_INITDIALOG:
                return onInitDialog();
            case WM_COMMAND:
                return onCommand(LOWORD(wParam));
            default:
                return defaultProcedure(message, wParam, lParam);
        }
    }

    INT_PTR onInitDialog() {
        const HWND dialog = handle();
        ::SetWindowTextA(dialog, title_.c_str());
        ::SetDlgItemTextA(dialog, kInputBoxPromptId, prompt_.c_str());
        ::SetDlgItemTextA(dialog, kInputBoxEditId, defaultText_.c_str());
        ::SetDlgItemTextA(dialog, IDOK, "OK");
        ::SetDlgItemTextA(dialog, IDCANCEL, "Cancel");
        return TRUE;  // focus to the first tab stop
    }

    // Escape and the close box arrive as IDCANCEL.
    INT_PTR onCommand(WORD id) {
        if (id == IDOK) {
            answer_ = editText();
        } else if (id != IDCANCEL) {
            return FALSE;
        }
        ::EndDialog(handle(), id);
        return TRUE;
    }

    std::string editText() const {
        const HWND dialog = handle();
        const int length = ::GetWindowTextLengthA(::GetDlgItem(dialog, kInputBoxEditId));
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        const UINT copied = ::GetDlgItemTextA(dialog, kInputBoxEditId, text.data(), length + 1);
        text.resize(copied);
        // The answer is compared with seam text.
        return TextIsUtf8() ? Utf8FromAnsiCodePage(text) : text;
    }

    const std::string& prompt_;
    const std::string& title_;
    const std::string& defaultText_;
    std::optional<std::string> answer_;
};

}  // namespace

std::optional<std::string> ShowInputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) {
    return InputBoxDialog(prompt, title, defaultText).run();
}

}  // namespace vx::platform::win32
