// frmConfig: the settings dialog. Two groups of three option buttons (speed, size), OK and Cancel,
// and an about line. Form_Load checks the stored choices; OK writes them and unloads the form,
// Cancel, Esc and the close box unload it without writing. With the form gone the process ends.
//
// The controls are plain children of the form, not of their frames, in tab order, so the dialog
// manager (IsDialogMessage, run from the process's message filter) gives Tab, the arrow keys,
// Enter, Esc and the access keys their usual meaning. The form answers the messages a dialog box
// would (DM_GETDEFID, WM_NEXTDLGCTL) because it is an ordinary window, not a dialog box.
#pragma once

#include <windows.h>

#include <array>

#include "config/config_layout.h"
#include "config/config_rules.h"
#include "platform/handles_win.h"
#include "platform/window_win.h"

namespace gloam {

class FrmConfig : public BaseWindow<FrmConfig> {
  public:
    static constexpr wchar_t kTitle[] = L"Gloam Drift Screen Saver - \u8a2d\u5b9a";

    // Creates the hidden window with its controls and runs Form_Load with the two settings.
    void Load(int32_t speed_index, int32_t size_index);
    // Shows the loaded dialog, modeless.
    void Show();

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    void Form_Load(int32_t speed_index, int32_t size_index);
    void cmdOK_Click();
    void cmdCancel_Click();
    void SaveSettings();

    void CreateControls();
    // Places the controls, gives them fonts, gives the window its icons and sizes it for `dpi`; at
    // `suggested` when the system gives a place (WM_DPICHANGED), else where the window is.
    void LayOut(UINT dpi, const RECT* suggested);
    void OnCommand(int id, int code);
    LRESULT OnControlColor(HDC dc, HWND control);
    void SyncTabStops();
    void SyncDefaultButton();
    void FocusNextControl(bool previous);
    static bool FilterMessage(MSG& message);

    HWND owner_ = nullptr;  // hidden, keeps the form off the taskbar; lives with the process
    std::array<HWND, kOptionCount> optSpeed{};
    std::array<HWND, kOptionCount> optSize{};
    HWND fraSpeed = nullptr;
    HWND fraSize = nullptr;
    HWND cmdOK = nullptr;
    HWND cmdCancel = nullptr;
    HWND Label1 = nullptr;
    std::array<HWND, kConfigControls.size()> in_tab_order_{};
    unique_hfont font_;
    unique_hfont label_font_;
    unique_hbrush label_brush_;
    unique_hicon icon_;  // the class's, at the system's density
    unique_hicon small_icon_;
    unique_hicon window_icon_;  // the window's, at its own
    unique_hicon window_small_icon_;
    HWND focus_ = nullptr;  // the control to give the focus back to on reactivation
};

FrmConfig& frmConfig();

}  // namespace gloam
