#include "ButtonDialog.h"

#include <vector>

namespace {

constexpr int kFirstButtonId = 1000;
constexpr int kListId = 900;
constexpr int kTextId = 901;

// Builds a DLGTEMPLATE with its items in dialog units.
class TemplateWriter {
public:
    void Dialog(const wchar_t* title, short cx, short cy, WORD items)
    {
        Align(4);
        DLGTEMPLATE t = {};
        t.style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        t.cdit = items;
        t.cx = cx;
        t.cy = cy;
        Raw(&t, sizeof t);
        Word(0);   // no menu
        Word(0);   // standard class
        Text(title);
        Word(9);
        Text(L"MS Shell Dlg");
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const wchar_t* text)
    {
        Align(4);
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Raw(&item, sizeof item);
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0);
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

private:
    void Raw(const void* p, size_t n)
    {
        const BYTE* b = static_cast<const BYTE*>(p);
        data_.insert(data_.end(), b, b + n);
    }
    void Word(WORD w) { Raw(&w, sizeof w); }
    void Text(const wchar_t* s) { Raw(s, (wcslen(s) + 1) * sizeof(wchar_t)); }
    void Align(size_t n)
    {
        while (data_.size() % n) data_.push_back(0);
    }
    std::vector<BYTE> data_;
};

struct DialogState {
    int result = -1;
    int buttons = 0;
    bool list = false;
    const OvStringArray* items = nullptr;
    int selected = 0;
};

// Sizes the text control to the text as drawn and moves the buttons and the frame to match.
void FitText(HWND dialog)
{
    HWND text = GetDlgItem(dialog, kTextId);
    RECT textRect;
    GetWindowRect(text, &textRect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&textRect), 2);
    const int width = textRect.right - textRect.left;
    int length = GetWindowTextLengthW(text);
    std::vector<wchar_t> content(length + 1);
    GetWindowTextW(text, content.data(), length + 1);
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
    RECT measured = {0, 0, width, 0};
    DrawTextW(dc, content.data(), length, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    const int delta = (measured.bottom - measured.top) - (textRect.bottom - textRect.top);
    SetWindowPos(text, nullptr, 0, 0, width, measured.bottom - measured.top, SWP_NOMOVE | SWP_NOZORDER);
    for (HWND child = GetWindow(text, GW_HWNDFIRST); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == text) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left, r.top + delta, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT frame;
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, frame.left, frame.top - delta / 2, frame.right - frame.left,
                 frame.bottom - frame.top + delta, SWP_NOZORDER);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        state = reinterpret_cast<DialogState*>(lParam);
        if (state->list) {
            HWND list = GetDlgItem(dialog, kListId);
            for (const OvString& item : *state->items) SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)item.c_str());
            SendMessageW(list, LB_SETCURSEL, state->selected, 0);
        }
        else
            FitText(dialog);
        SetForegroundWindow(dialog);
        return TRUE;
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (state->list) {
            if (id == IDOK || (id == kListId && HIWORD(wParam) == LBN_DBLCLK)) {
                state->result = static_cast<int>(SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0));
                EndDialog(dialog, 1);
            } else if (id == IDCANCEL) {
                EndDialog(dialog, 0);
            }
            return TRUE;
        }
        if (id >= kFirstButtonId && id < kFirstButtonId + state->buttons) {
            state->result = id - kFirstButtonId;
            EndDialog(dialog, 1);
        } else if (id == IDCANCEL) {
            // Escape or the close box: no answer
            EndDialog(dialog, 0);
        } else if (id == IDOK && state->buttons == 1) {
            state->result = 0;
            EndDialog(dialog, 1);
        }
        return TRUE;
    }
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

// Height in dialog units that the text needs at the given width.
short TextHeight(const wchar_t* text, short width)
{
    int lines = 1;
    int column = 0;
    const int perLine = width / 4;   // about four dialog units a character
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'\n') {
            ++lines;
            column = 0;
        } else if (*p != L'\r' && ++column > perLine) {
            ++lines;
            column = 0;
        }
    }
    return static_cast<short>(lines * 9 + 4);
}

}  // namespace

int ButtonDialog::Show(HWND owner, const wchar_t* title, const wchar_t* text, const OvStringArray& buttons)
{
    const short buttonWidth = 56, gap = 6, margin = 10;
    const int count = buttons.GetCount();
    short width = 240;
    const short rowWidth = static_cast<short>(count * buttonWidth + (count - 1) * gap);
    if (rowWidth + 2 * margin > width) width = static_cast<short>(rowWidth + 2 * margin);
    const short textHeight = TextHeight(text, static_cast<short>(width - 2 * margin));
    const short buttonsY = static_cast<short>(margin + textHeight + 8);

    TemplateWriter writer;
    writer.Dialog(title, width, static_cast<short>(buttonsY + 14 + margin), static_cast<WORD>(count + 1));
    writer.Item(SS_LEFT | SS_NOPREFIX, margin, margin, static_cast<short>(width - 2 * margin), textHeight, kTextId,
                0x0082, text);
    short x = static_cast<short>(width - margin - rowWidth);
    for (int i = 0; i < count; ++i) {
        DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        writer.Item(style, x, buttonsY, buttonWidth, 14, static_cast<WORD>(kFirstButtonId + i), 0x0080, buttons[i]);
        x = static_cast<short>(x + buttonWidth + gap);
    }
    DialogState state;
    state.buttons = count;
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), owner, DialogProc,
                            reinterpret_cast<LPARAM>(&state));
    return state.result;
}

int ButtonDialog::Choose(HWND owner, const wchar_t* title, const wchar_t* text, const OvStringArray& items,
                         int selected)
{
    TemplateWriter writer;
    writer.Dialog(title, 200, 150, 4);
    writer.Item(SS_LEFT | SS_NOPREFIX, 10, 10, 180, 12, kTextId, 0x0082, text);
    writer.Item(WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, 10, 26, 180, 86, kListId, 0x0083, L"");
    writer.Item(WS_TABSTOP | BS_DEFPUSHBUTTON, 78, 122, 54, 14, IDOK, 0x0080, L"OK");
    writer.Item(WS_TABSTOP | BS_PUSHBUTTON, 136, 122, 54, 14, IDCANCEL, 0x0080, L"Cancel");
    DialogState state;
    state.list = true;
    state.items = &items;
    state.selected = selected;
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), owner, DialogProc,
                            reinterpret_cast<LPARAM>(&state));
    return state.result;
}
