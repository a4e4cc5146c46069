#pragma once
// A modal dialog built in memory: a text above a row of buttons, or a list to choose from.
// Real windows (class "#32770", static and button controls), so tests can read and press them.

#include "OvStringArray.h"

#include <windows.h>

class ButtonDialog {
public:
    // Shows title, text and the buttons; the index of the button pressed, -1 when closed otherwise.
    static int Show(HWND owner, const wchar_t* title, const wchar_t* text, const OvStringArray& buttons);
    // Shows a list box of items under the text with OK and Cancel; the index chosen or -1.
    static int Choose(HWND owner, const wchar_t* title, const wchar_t* text, const OvStringArray& items,
                      int selected);
};
