#pragma once

// The About dialog as a person uses it, driven from another thread than the one
// that runs its modal loop: every call is a message the dialog's thread handles.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class AboutWindow {
public:
    explicit AboutWindow(HWND dialog) : dialog_(dialog) {}

    HWND Handle() const { return dialog_; }
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    // Still on the screen (EndDialog hides it at once).
    bool Open() const { return IsWindow(dialog_) && IsWindowVisible(dialog_); }

    std::vector<std::string> Lines() const;
    int Selection() const;
    LRESULT ItemData(int index) const;
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

    // Selects a line as a click on it does: the selection, then LBN_SELCHANGE.
    void Select(int index) const;
    // A double-click on a line: its first click selects it.
    void DoubleClick(int index) const;
    void Click(int id) const;
    // Posts a key press to the dialog's focus window; the modal loop's dialog
    // message handling turns Enter and Esc into commands. Returns at once.
    void PressKey(UINT key) const;
    void Command(int id, int notification) const;
    // Moves the keyboard focus to a control, as Tab does.
    void Focus(int id) const;

private:
    HWND dialog_;
};

// The caption the dialog is found by.
extern const char kAboutCaption[];

struct DialogRun {
    int result = 0;          // what `show` returned
    bool appeared = false;   // the dialog was found on the screen
    bool closedByDriver = false;  // gone after `drive`, without the fallback WM_CLOSE
};

// Calls `show`, which runs the dialog's modal loop on this thread. A second thread
// waits for the dialog to appear, calls `drive` with it and, if the dialog is still
// open a while after `drive` returns, closes it so no test hangs.
DialogRun RunDialog(const std::function<int()>& show, const std::function<void(const AboutWindow&)>& drive);

// Waits until `condition` holds or about five seconds have passed.
bool WaitFor(const std::function<bool()>& condition);

std::string CaptionOf(HWND window);

// The text a fake plug-in logs for a window handle.
std::string PointerText(const void* pointer);
