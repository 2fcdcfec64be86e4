#include "config/frm_config_win.h"

#include <string>

#include "config/config_layout.h"
#include "platform/app_win.h"
#include "platform/dpi_win.h"
#include "platform/registry_win.h"
#include "platform/resources_win.h"
#include "platform/settings.h"
#include "platform/text.h"
#include "resource.h"

namespace gloam {
namespace {

constexpr wchar_t kClassName[] = L"GloamDriftConfig";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = 0;

// Control ids. OK and Cancel carry the ids the dialog manager sends for Enter and Esc.
constexpr int kFirstSpeedId = 101;
constexpr int kFirstSizeId = 111;
constexpr int kFraSpeedId = 201;
constexpr int kFraSizeId = 202;
constexpr int kLabel1Id = 301;

constexpr COLORREF kLabelBack = RGB(192, 192, 255);
constexpr COLORREF kLabelText = RGB(0, 0, 128);

unique_hfont CreateFormFont(const wchar_t* face, int pixel_height, bool italic, BYTE charset) {
    return unique_hfont(::CreateFontW(-pixel_height, 0, 0, 0, FW_NORMAL, italic, FALSE, FALSE,
                                      charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
}

bool IsCheckedOption(HWND option) {
    return ::SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The window's size for the design's client area at `dpi`.
SIZE WindowSizeAt(UINT dpi) {
    const ConfigLayout layout = ConfigLayoutAt(static_cast<int32_t>(dpi));
    const RECT frame =
        WindowRectForClient(layout.client_width, layout.client_height, kStyle, kExStyle, dpi);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

FrmConfig& frmConfig() {
    return OnlyInstance<FrmConfig>();
}

void FrmConfig::Load(int32_t speed_index, int32_t size_index) {
    if (Window()) return;
    icon_.reset(LoadIconResource(IDI_CONFIG, ::GetSystemMetrics(SM_CXICON)));
    small_icon_.reset(LoadIconResource(IDI_CONFIG, ::GetSystemMetrics(SM_CXSMICON)));
    RegisterWindowClass(kClassName, 0, icon_.get(), small_icon_.get(),
                        ::LoadCursorW(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));

    // An unowned top-level window gets a taskbar button; one owned by a hidden window does not.
    // The owner is no form: it neither keeps the process alive nor carries a title.
    owner_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               app::Instance(), nullptr);

    // Sized for the system's density first; once the window is placed, it lays itself out at the
    // density of the monitor it landed on.
    const SIZE size = WindowSizeAt(SystemDpi());
    CreateFormWindow(kClassName, kTitle, kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx,
                     size.cy, owner_);
    label_brush_.reset(::CreateSolidBrush(kLabelBack));
    CreateControls();
    LayOut(WindowDpi(Window()), nullptr);
    app::SetMessageFilter(&FrmConfig::FilterMessage);
    Form_Load(speed_index, size_index);
}

void FrmConfig::Show() {
    ::ShowWindow(Window(), SW_SHOWNORMAL);
    ::SetForegroundWindow(Window());
    // Activation has normally put the focus on the first tab stop already.
    if (!::IsChild(Window(), ::GetFocus())) FocusNextControl(false);
    ::UpdateWindow(Window());
}

void FrmConfig::CreateControls() {
    // Created in tab order: the order of the children is the order the dialog manager walks.
    // Each group begins with WS_GROUP; the option buttons' tab stop follows their check mark.
    // LayOut places them and gives them their fonts.
    for (size_t i = 0; i < kConfigControls.size(); ++i) {
        const ControlDesign& design = kConfigControls[i];
        const wchar_t* control_class = L"BUTTON";
        DWORD style = WS_CHILD | WS_VISIBLE;
        int id = 0;
        HWND* slot = nullptr;
        const std::string name = design.name;
        switch (design.kind) {
            case ControlKind::Frame:
                style |= BS_GROUPBOX | WS_GROUP;
                id = name == "fraSpeed" ? kFraSpeedId : kFraSizeId;
                slot = name == "fraSpeed" ? &fraSpeed : &fraSize;
                break;
            case ControlKind::Option:
                style |= BS_AUTORADIOBUTTON | (design.index == 0 ? WS_GROUP : 0);
                if (name == "optSpeed") {
                    id = kFirstSpeedId + design.index;
                    slot = &optSpeed[static_cast<size_t>(design.index)];
                } else {
                    id = kFirstSizeId + design.index;
                    slot = &optSize[static_cast<size_t>(design.index)];
                }
                break;
            case ControlKind::Button:
                style |=
                    WS_TABSTOP | WS_GROUP | (name == "cmdOK" ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
                id = name == "cmdOK" ? IDOK : IDCANCEL;
                slot = name == "cmdOK" ? &cmdOK : &cmdCancel;
                break;
            case ControlKind::Label:
                control_class = L"STATIC";
                style |= SS_CENTER | SS_NOPREFIX | WS_GROUP;
                id = kLabel1Id;
                slot = &Label1;
                break;
        }
        const std::wstring caption = Utf16Of(design.caption);
        *slot = ::CreateWindowExW(0, control_class, caption.c_str(), style, 0, 0, 0, 0, Window(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  app::Instance(), nullptr);
        if (!*slot) throw RuntimeError("The control " + name + " cannot be created.");
        in_tab_order_[i] = *slot;
    }
}

void FrmConfig::LayOut(UINT dpi, const RECT* suggested) {
    const ConfigLayout layout = ConfigLayoutAt(static_cast<int32_t>(dpi));
    // The controls take the new fonts before the old ones are deleted.
    unique_hfont font =
        CreateFormFont(L"MS UI Gothic", layout.font_pixels, false, SHIFTJIS_CHARSET);
    unique_hfont label_font =
        CreateFormFont(L"Times New Roman", layout.font_pixels, true, ANSI_CHARSET);
    for (size_t i = 0; i < kConfigControls.size(); ++i) {
        const PixelBox& box = layout.controls[i];
        HWND control = in_tab_order_[i];
        ::MoveWindow(control, box.left, box.top, box.width, box.height, FALSE);
        const HFONT control_font = control == Label1 ? label_font.get() : font.get();
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(control_font), FALSE);
    }
    font_ = std::move(font);
    label_font_ = std::move(label_font);

    // The title bar's and the taskbar's icons drawn for this density, not scaled from another.
    unique_hicon icon(LoadIconResource(IDI_CONFIG, SystemMetricAt(SM_CXICON, dpi)));
    unique_hicon small_icon(LoadIconResource(IDI_CONFIG, SystemMetricAt(SM_CXSMICON, dpi)));
    ::SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
    ::SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon.get()));
    window_icon_ = std::move(icon);
    window_small_icon_ = std::move(small_icon);

    const SIZE size = WindowSizeAt(dpi);
    if (suggested) {
        ::SetWindowPos(Window(), nullptr, suggested->left, suggested->top, size.cx, size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        ::SetWindowPos(Window(), nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(Window(), nullptr, TRUE);
}

void FrmConfig::Form_Load(int32_t speed_index, int32_t size_index) {
    const int32_t speed = OptionMemberFor(kSpeedKey, speed_index);
    ::CheckRadioButton(Window(), kFirstSpeedId, kFirstSpeedId + kOptionCount - 1,
                       kFirstSpeedId + speed);
    const int32_t size = OptionMemberFor(kSizeKey, size_index);
    ::CheckRadioButton(Window(), kFirstSizeId, kFirstSizeId + kOptionCount - 1,
                       kFirstSizeId + size);
    SyncTabStops();
}

void FrmConfig::SaveSettings() {
    OptionChecks speed{};
    OptionChecks size{};
    for (size_t i = 0; i < kOptionCount; ++i) {
        speed[i] = IsCheckedOption(optSpeed[i]);
        size[i] = IsCheckedOption(optSize[i]);
    }
    RegistryStore store;
    WriteChoices(store, ChoicesFrom(speed, size));
}

void FrmConfig::cmdOK_Click() {
    SaveSettings();
    ::DestroyWindow(Window());
}

void FrmConfig::cmdCancel_Click() {
    ::DestroyWindow(Window());
}

// Tab enters an option group at its checked member, as in a dialog box.
void FrmConfig::SyncTabStops() {
    for (const auto* group : {&optSpeed, &optSize}) {
        for (HWND option : *group) {
            const LONG_PTR style = ::GetWindowLongPtrW(option, GWL_STYLE);
            const LONG_PTR wanted =
                IsCheckedOption(option) ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
            if (wanted != style) ::SetWindowLongPtrW(option, GWL_STYLE, wanted);
        }
    }
}

// The focused push button is the one Enter presses and is drawn as the default; with the focus
// anywhere else that is OK. Checked after the dialog manager has handled each message, because
// it moves the default look around itself when the focus moves.
void FrmConfig::SyncDefaultButton() {
    const HWND focus = ::GetFocus();
    for (HWND button : {cmdOK, cmdCancel}) {
        const bool is_default = focus == cmdCancel ? button == cmdCancel : button == cmdOK;
        const LONG_PTR wanted = is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) != wanted) {
            ::SendMessageW(button, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
        }
    }
}

void FrmConfig::FocusNextControl(bool previous) {
    HWND focus = ::GetFocus();
    if (focus != nullptr && !::IsChild(Window(), focus)) focus = nullptr;
    if (HWND next = ::GetNextDlgTabItem(Window(), focus, previous)) ::SetFocus(next);
}

void FrmConfig::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if (id == IDOK) {
        cmdOK_Click();
    } else if (id == IDCANCEL) {
        cmdCancel_Click();
    } else if ((id >= kFirstSpeedId && id < kFirstSpeedId + kOptionCount) ||
               (id >= kFirstSizeId && id < kFirstSizeId + kOptionCount)) {
        SyncTabStops();
    }
}

LRESULT FrmConfig::OnControlColor(HDC dc, HWND control) {
    if (control == Label1) {
        ::SetTextColor(dc, kLabelText);
        ::SetBkColor(dc, kLabelBack);
        return reinterpret_cast<LRESULT>(label_brush_.get());
    }
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

bool FrmConfig::FilterMessage(MSG& message) {
    FrmConfig& self = frmConfig();
    if (self.Window() == nullptr) return false;
    const bool handled = ::IsDialogMessageW(self.Window(), &message);
    if (self.Window() != nullptr) self.SyncDefaultButton();
    return handled;
}

LRESULT FrmConfig::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_GETDPISCALEDSIZE: {
            // The size the window will take at the new density, asked before it moves there: the
            // design's, so that a dialog lying across two monitors is not sized to and fro.
            const auto dpi = static_cast<UINT>(wparam);
            if (dpi == 0) return FALSE;
            *reinterpret_cast<SIZE*>(lparam) = WindowSizeAt(dpi);
            return TRUE;
        }
        case WM_DPICHANGED:
            // Moved to a monitor of another density: the suggested place, the design's size there.
            LayOut(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnControlColor(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
        case DM_GETDEFID:
            // Enter presses OK unless a push button has the focus.
            return MAKELRESULT(IDOK, DC_HASDEFID);
        case WM_NEXTDLGCTL:
            // What a dialog box does for the dialog manager (access keys of the frames).
            if (LOWORD(lparam)) {
                ::SetFocus(reinterpret_cast<HWND>(wparam));
            } else {
                FocusNextControl(wparam != 0);
            }
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus != nullptr && ::IsChild(Window(), focus)) focus_ = focus;
                return 0;
            }
            if (focus_ != nullptr && ::IsWindow(focus_)) {
                ::SetFocus(focus_);
            } else {
                FocusNextControl(false);
            }
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(Window(), message, wparam, lparam);
}

}  // namespace gloam
