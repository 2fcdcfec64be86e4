// The settings dialog as a user meets it: started with "/C", it opens with the stored choices
// checked, answers the mouse and the keyboard the way a dialog box does, writes both settings on
// OK and nothing on Cancel, Esc or the close box, and ends the process when it goes.
#include <cmath>

#include "harness.h"

namespace e2e {
namespace {

// The design in twips; a framed control is placed relative to its frame.
struct TwipsBox {
    double left, top, width, height;
};
constexpr TwipsBox kClient{0, 0, 5055, 2520};
constexpr TwipsBox kFraSpeed{135, 90, 3090, 885};
constexpr TwipsBox kFraSize{135, 1125, 3090, 885};
constexpr TwipsBox kOptSpeed[3] = {
    {255, 345, 765, 255}, {1200, 345, 765, 255}, {2145, 345, 765, 255}};
constexpr TwipsBox kOptSize[3] = {
    {255, 390, 900, 255}, {1200, 390, 900, 255}, {2145, 390, 900, 255}};
constexpr TwipsBox kCmdOK{3525, 180, 1410, 375};
constexpr TwipsBox kCmdCancel{3525, 630, 1410, 375};
constexpr TwipsBox kLabel1{30, 2205, 4980, 255};

const wchar_t* const kSpeedCaptions[3] = {L"遅い", L"普通", L"速い"};
const wchar_t* const kSizeCaptions[3] = {L"小さい", L"普通", L"大きい"};
constexpr wchar_t kFraSpeedCaption[] = L"速度(&S)";
constexpr wchar_t kFraSizeCaption[] = L"サイズ(&W)";
constexpr wchar_t kOKCaption[] = L"&OK";
constexpr wchar_t kCancelCaption[] = L"ｷｬﾝｾﾙ";
constexpr wchar_t kLabelStart[] = L"Gloam Drift Screen Saver v1.00";

constexpr std::uint32_t kLabelBackPixel = 0xC0C0FFu;  // RGB(192, 192, 255)

// Wine's font replacements: a missing face name served by an installed font.
constexpr wchar_t kFontReplacements[] = L"Software\\Wine\\Fonts\\Replacements";

// A control's rectangle in the form's client area at `dpi`.
RECT ExpectedRect(int dpi, const TwipsBox& box, const TwipsBox* frame = nullptr) {
    int left = PxAt(box.left, dpi), top = PxAt(box.top, dpi);
    if (frame) {
        left += PxAt(frame->left, dpi);
        top += PxAt(frame->top, dpi);
    }
    return RECT{left, top, left + PxAt(box.width, dpi), top + PxAt(box.height, dpi)};
}

std::string Describe(const RECT& r) {
    // (left, top, right, bottom)
    std::string text = "(";
    for (const LONG v : {r.left, r.top, r.right, r.bottom}) {
        text += std::to_string(v);
        text += ", ";
    }
    text.resize(text.size() - 2);
    text += ")";
    return text;
}

std::wstring TextOf(HWND hwnd) {
    return DescribeWindow(hwnd).title;
}

// The dialog's controls, found by what they are rather than by any private id.
struct Dialog {
    HWND form = nullptr;
    HWND fraSpeed = nullptr, fraSize = nullptr, cmdOK = nullptr, cmdCancel = nullptr,
         Label1 = nullptr;
    HWND optSpeed[3] = {}, optSize[3] = {};

    // A control's rectangle in the form's client coordinates.
    RECT ClientRect(HWND control) const {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    bool Checked(HWND option) const {
        return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // The member index of the checked option of a group, -1 when none or several are checked.
    int CheckedIndex(const HWND (&group)[3]) const {
        int found = -1;
        for (int i = 0; i < 3; ++i) {
            if (!Checked(group[i])) continue;
            if (found >= 0) return -1;
            found = i;
        }
        return found;
    }
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info)) return nullptr;
        return info.hwndFocus;
    }
};

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

Dialog ReadDialog(HWND form) {
    Dialog d;
    d.form = form;
    const std::vector<HWND> children = ChildWindowsOf(form);
    std::vector<HWND> options;
    for (HWND child : children) {
        const WindowInfo info = DescribeWindow(child);
        const LONG_PTR type = info.style & BS_TYPEMASK;
        if (EqualsNoCase(info.cls, L"Static")) {
            EXPECT_EQ(d.Label1, nullptr) << "a second label";
            d.Label1 = child;
        } else if (!EqualsNoCase(info.cls, L"Button")) {
            ADD_FAILURE() << "unexpected control of class " << Narrow(info.cls);
        } else if (type == BS_GROUPBOX) {
            (info.title == kFraSpeedCaption ? d.fraSpeed : d.fraSize) = child;
        } else if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
            options.push_back(child);
        } else if (info.title == kOKCaption) {
            d.cmdOK = child;
        } else {
            d.cmdCancel = child;
        }
    }
    if (!d.fraSpeed || !d.fraSize || !d.cmdOK || !d.cmdCancel || !d.Label1 || options.size() != 6) {
        ADD_FAILURE() << "the dialog does not hold two frames, six option buttons, two buttons "
                         "and a label ("
                      << children.size() << " controls)";
        return d;
    }
    // A group is the options lying inside its frame, indexed from left to right.
    RECT speed{}, size{};
    GetWindowRect(d.fraSpeed, &speed);
    GetWindowRect(d.fraSize, &size);
    std::vector<std::pair<LONG, HWND>> in_speed, in_size;
    for (HWND option : options) {
        RECT r{};
        GetWindowRect(option, &r);
        if (Contains(speed, r)) in_speed.push_back({r.left, option});
        if (Contains(size, r)) in_size.push_back({r.left, option});
    }
    if (in_speed.size() != 3 || in_size.size() != 3) {
        ADD_FAILURE() << "each frame should hold three option buttons: " << in_speed.size()
                      << " and " << in_size.size();
        return d;
    }
    std::sort(in_speed.begin(), in_speed.end());
    std::sort(in_size.begin(), in_size.end());
    for (int i = 0; i < 3; ++i) {
        d.optSpeed[i] = in_speed[static_cast<size_t>(i)].second;
        d.optSize[i] = in_size[static_cast<size_t>(i)].second;
    }
    return d;
}

std::string Shown(const std::optional<std::wstring>& value) {
    if (!value) return "absent";
    std::string text = "\"";
    text += Narrow(*value);
    text += "\"";
    return text;
}

class ConfigTest : public ScrTest {
  protected:
    void SetUp() override {
        ScrTest::SetUp();
        // Wine has no "MS UI Gothic"; give the name to the installed IPA Gothic so that the
        // captions show in a Japanese font with Latin letters, as on Windows. Windows ignores it.
        WriteRegString(kFontReplacements, L"MS UI Gothic", L"IPAGothic");
        WriteRegString(kFontReplacements, L"Times New Roman", L"Liberation Serif");
    }

    // Starts "/C" and waits for the dialog to be up, in front and with the focus in it.
    void Open() {
        scr_.emplace(L"/C");
        auto form = scr_->WaitForVisibleWindow(kConfigClass, kConfigTitle);
        ASSERT_TRUE(form.has_value()) << "no settings dialog; the program "
                                      << (scr_->Running() ? "runs without it" : "ended");
        dialog_ = ReadDialog(form->hwnd);
        ASSERT_FALSE(HasFailure());
        ASSERT_TRUE(WaitUntil(
            [&] { return GetForegroundWindow() == dialog_.form && IsChild(dialog_.form, Focus()); },
            5s))
            << "the dialog is not in front with the focus on a control";
    }

    HWND Focus() const { return dialog_.Focus(); }

    // Clicks option `index` of `group` and waits until it is the group's choice. Wine on a loaded
    // machine has once been seen to leave an option unchosen after a synthesized click; a second
    // click on an option already chosen changes nothing, so one more is tried before failing.
    void Choose(const HWND (&group)[3], int index) {
        const auto chosen = [&] { return dialog_.CheckedIndex(group) == index; };
        for (int attempt = 0; attempt < 2; ++attempt) {
            ClickOn(group[index]);
            if (WaitUntil(chosen, 1500ms)) return;
        }
        FAIL() << "two clicks did not choose \"" << Narrow(TextOf(group[index]))
               << "\"; the group's choice is option " << dialog_.CheckedIndex(group);
    }

    bool WaitFocusOn(HWND control) {
        return WaitUntil([&] { return Focus() == control; }, 3s);
    }

    void ExpectEndedNormally() {
        ASSERT_TRUE(scr_->WaitExit()) << "the program still runs after the dialog should be gone";
        EXPECT_EQ(scr_->ExitCode(), std::optional<DWORD>(0));
        EXPECT_TRUE(FindTopLevelWindows(kConfigTitle, L"").empty());
    }

    void ExpectStored(const wchar_t* speed, const wchar_t* size) {
        EXPECT_EQ(Shown(StoredSpeed()), Shown(std::wstring(speed)));
        EXPECT_EQ(Shown(StoredSize()), Shown(std::wstring(size)));
    }

    std::optional<ScrProcess> scr_;
    Dialog dialog_;
};

// ---- the window as designed ---------------------------------------------------------------------

// What the label shows on the screen: its lavender background and navy text.
struct LabelInk {
    size_t back = 0;   // pixels of the background colour
    size_t navy = 0;   // text pixels: dark, blue above red and green
    size_t total = 0;  // pixels of the label
    int rows = 0;      // rows with text pixels: the height of the lettering
};

LabelInk WaitForLabelInk(HWND label) {
    RECT r{};
    GetWindowRect(label, &r);
    LabelInk ink;
    WaitUntil(
        [&] {
            const Surface shot = CaptureScreen(r);
            ink = LabelInk{};
            for (int y = 0; y < shot.Height(); ++y) {
                bool lettered = false;
                for (int x = 0; x < shot.Width(); ++x) {
                    const std::uint32_t p = shot.At(x, y);
                    const int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
                    ++ink.total;
                    if (p == kLabelBackPixel) ++ink.back;
                    if (red < 96 && green < 96 && blue >= 96 && blue > red + 32) {
                        ++ink.navy;
                        lettered = true;
                    }
                }
                if (lettered) ++ink.rows;
            }
            return ink.back > ink.total / 2 && ink.navy > 20;
        },
        3s);
    return ink;
}

// The width of `text` without its access-key marks, in the dialog's font at `font_pixels`.
int CaptionWidth(std::wstring text, const std::wstring& face, int font_pixels, bool italic) {
    std::erase(text, L'&');
    const gloam::unique_hdc dc(CreateCompatibleDC(nullptr));
    const gloam::unique_hfont font(CreateFontW(
        -font_pixels, 0, 0, 0, FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
    const gloam::select_object_guard select(dc.get(), font.get());
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The form as designed at the density it starts with: 96 DPI, and 144 and 192 DPI (150 % and
// 200 %), where the design's twips become more pixels and nothing may be cut off.
class DialogAtDpi : public ConfigTest, public ::testing::WithParamInterface<int> {};

TEST_P(DialogAtDpi, WindowAndControlsAsDesigned) {
    const int dpi = GetParam();
    std::optional<LogPixels> density;
    if (dpi != 96) density.emplace(dpi);
    ASSERT_NO_FATAL_FAILURE(Open());
    const WindowInfo form = DescribeWindow(dialog_.form);
    EXPECT_EQ(Narrow(form.title), Narrow(kConfigTitle));
    EXPECT_TRUE(form.style & WS_CAPTION);
    EXPECT_TRUE(form.style & WS_SYSMENU);
    EXPECT_FALSE(form.style & WS_THICKFRAME) << "resizable";
    EXPECT_FALSE(form.style & WS_MINIMIZEBOX);
    EXPECT_FALSE(form.style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(form.style & WS_CHILD);
    // The taskbar shows unowned windows without WS_EX_TOOLWINDOW and any WS_EX_APPWINDOW one.
    const bool in_taskbar =
        (form.exStyle & WS_EX_APPWINDOW) ||
        (GetWindow(dialog_.form, GW_OWNER) == nullptr && !(form.exStyle & WS_EX_TOOLWINDOW));
    EXPECT_FALSE(in_taskbar);
    if (HWND owner = GetWindow(dialog_.form, GW_OWNER)) {
        EXPECT_FALSE(IsWindowVisible(owner)) << "the dialog's owner shows";
        EXPECT_TRUE(TextOf(owner).empty()) << "the owner carries a title";
    }

    RECT client{};
    GetClientRect(dialog_.form, &client);
    EXPECT_EQ(client.right, PxAt(kClient.width, dpi));
    EXPECT_EQ(client.bottom, PxAt(kClient.height, dpi));

    // Room a caption needs besides its text: an option's check circle and gap, a frame's or a
    // button's margins; all scale with the density.
    const int check = PxAt(13 * 15 + 4 * 15, dpi);
    const int margins = PxAt(2 * 8 * 15, dpi);
    struct Expected {
        HWND control;
        RECT rect;
        std::wstring caption;
        int room;
    };
    const Expected expected[] = {
        {dialog_.fraSpeed, ExpectedRect(dpi, kFraSpeed), kFraSpeedCaption, margins},
        {dialog_.optSpeed[0], ExpectedRect(dpi, kOptSpeed[0], &kFraSpeed), kSpeedCaptions[0],
         check},
        {dialog_.optSpeed[1], ExpectedRect(dpi, kOptSpeed[1], &kFraSpeed), kSpeedCaptions[1],
         check},
        {dialog_.optSpeed[2], ExpectedRect(dpi, kOptSpeed[2], &kFraSpeed), kSpeedCaptions[2],
         check},
        {dialog_.fraSize, ExpectedRect(dpi, kFraSize), kFraSizeCaption, margins},
        {dialog_.optSize[0], ExpectedRect(dpi, kOptSize[0], &kFraSize), kSizeCaptions[0], check},
        {dialog_.optSize[1], ExpectedRect(dpi, kOptSize[1], &kFraSize), kSizeCaptions[1], check},
        {dialog_.optSize[2], ExpectedRect(dpi, kOptSize[2], &kFraSize), kSizeCaptions[2], check},
        {dialog_.cmdOK, ExpectedRect(dpi, kCmdOK), kOKCaption, margins},
        {dialog_.cmdCancel, ExpectedRect(dpi, kCmdCancel), kCancelCaption, margins},
    };
    const std::wstring face =
        ReadRegString(kFontReplacements, L"MS UI Gothic").value_or(L"MS UI Gothic");
    const int font_pixels = PxAt(195, dpi);
    for (const Expected& e : expected) {
        const RECT actual = dialog_.ClientRect(e.control);
        EXPECT_EQ(Describe(actual), Describe(e.rect)) << Narrow(e.caption);
        EXPECT_EQ(Narrow(TextOf(e.control)), Narrow(e.caption));
        // Nothing cut off: the caption and what it needs besides fit the control.
        EXPECT_LE(CaptionWidth(e.caption, face, font_pixels, false) + e.room,
                  actual.right - actual.left)
            << "\"" << Narrow(e.caption) << "\" does not fit at " << dpi << " DPI";
        EXPECT_LE(font_pixels, actual.bottom - actual.top) << Narrow(e.caption);
    }
    EXPECT_EQ(Describe(dialog_.ClientRect(dialog_.Label1)), Describe(ExpectedRect(dpi, kLabel1)));
    const std::wstring about = TextOf(dialog_.Label1);
    EXPECT_EQ(about.rfind(kLabelStart, 0), 0u) << Narrow(about);
    const std::wstring label_face =
        ReadRegString(kFontReplacements, L"Times New Roman").value_or(L"Times New Roman");
    const RECT label = dialog_.ClientRect(dialog_.Label1);
    EXPECT_LE(CaptionWidth(about, label_face, font_pixels, true), label.right - label.left)
        << "the about line does not fit at " << dpi << " DPI";
    // The lettering on the screen is as tall as the font at this density makes it: capitals and
    // descenders span well over half the font's pixel height.
    const LabelInk ink = WaitForLabelInk(dialog_.Label1);
    EXPECT_GE(ink.rows, font_pixels / 2)
        << "the label's text is drawn too small for " << dpi << " DPI";
    EXPECT_GT(about.size(), std::wstring(kLabelStart).size()) << "no authorship after the version";
    EXPECT_TRUE(DescribeWindow(dialog_.Label1).style & SS_CENTER);
    // Enter's button: OK is the default push button while no push button has the focus.
    EXPECT_EQ(DescribeWindow(dialog_.cmdOK).style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(DescribeWindow(dialog_.cmdCancel).style & BS_TYPEMASK, BS_PUSHBUTTON);
}

INSTANTIATE_TEST_SUITE_P(Config, DialogAtDpi, ::testing::Values(96, 144, 192),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return "dpi" + std::to_string(param.param);
                         });

// The captions must show as Japanese: the font the dialog asks for has every glyph, Latin
// letters included, and the label shows navy text on lavender. Wine reads its font replacements
// when a process starts, so the face is looked up the way the dialog's fresh process sees it.
TEST_F(ConfigTest, CaptionsHaveGlyphsAndTheLabelItsColours) {
    ASSERT_NO_FATAL_FAILURE(Open());
    std::wstring wanted = L"MS UI Gothic";
    if (auto replacement = ReadRegString(kFontReplacements, L"MS UI Gothic")) {
        wanted = *replacement;
    }
    const gloam::unique_hdc memory(CreateCompatibleDC(nullptr));
    const gloam::unique_hfont font(CreateFontW(
        -Px(195), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, wanted.c_str()));
    const HDC dc = memory.get();
    const gloam::select_object_guard selected(dc, font.get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_TRUE(EqualsNoCase(face, wanted))
        << "the font " << Narrow(wanted) << " is not installed; got " << Narrow(face);
    for (HWND control : {dialog_.fraSpeed, dialog_.fraSize, dialog_.optSpeed[0],
                         dialog_.optSpeed[1], dialog_.optSpeed[2], dialog_.optSize[0],
                         dialog_.optSize[2], dialog_.cmdOK, dialog_.cmdCancel}) {
        std::wstring text = TextOf(control);
        std::erase(text, L'&');
        std::vector<WORD> glyphs(text.size());
        GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS);
        for (size_t i = 0; i < text.size(); ++i) {
            EXPECT_NE(glyphs[i], 0xFFFF)
                << "face " << Narrow(face) << " has no glyph for \"" << Narrow(text.substr(i, 1))
                << "\" of \"" << Narrow(text) << "\"";
        }
    }

    const LabelInk ink = WaitForLabelInk(dialog_.Label1);
    EXPECT_GT(ink.back, ink.total / 2) << "the label's background is not RGB(192, 192, 255)";
    EXPECT_GT(ink.navy, 20u) << "no navy text in the label";
}

// ---- what it opens with -------------------------------------------------------------------------

struct StoredCase {
    const char* name;
    const wchar_t* speed;  // nullptr: nothing stored
    const wchar_t* size;
    int speed_index;
    int size_index;
};

class OpensWith : public ConfigTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(OpensWith, TheStoredChoicesChecked) {
    const StoredCase c = GetParam();
    if (c.speed) WriteRegString(kSettingsKey, L"Speed", c.speed);
    if (c.size) WriteRegString(kSettingsKey, L"Size", c.size);
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(dialog_.CheckedIndex(dialog_.optSpeed), c.speed_index)
        << "speed: exactly one option should be checked";
    EXPECT_EQ(dialog_.CheckedIndex(dialog_.optSize), c.size_index)
        << "size: exactly one option should be checked";
    // The focus starts in the first group, on its checked option.
    EXPECT_EQ(Focus(), dialog_.optSpeed[c.speed_index]);
    // Opening writes nothing.
    EXPECT_EQ(Shown(StoredSpeed()), c.speed ? Shown(std::wstring(c.speed)) : "absent");
    EXPECT_EQ(Shown(StoredSize()), c.size ? Shown(std::wstring(c.size)) : "absent");
}

INSTANTIATE_TEST_SUITE_P(Config, OpensWith,
                         ::testing::Values(StoredCase{"nothing_stored", nullptr, nullptr, 1, 1},
                                           StoredCase{"fast_small", L"2", L"0", 2, 0},
                                           StoredCase{"slow_large", L"0", L"2", 0, 2},
                                           StoredCase{"rounded_and_no_number", L"1.5", L"abc", 2,
                                                      0},
                                           StoredCase{"blank_and_comma", L" 0", L"2,9", 0, 2}),
                         ByName());

// ---- OK -----------------------------------------------------------------------------------------

TEST_F(ConfigTest, OKWithoutAChangeRewritesBothKeys) {
    WriteRegString(kSettingsKey, L"Speed", L" 2xyz");
    WriteRegString(kSettingsKey, L"Size", L"0.4");
    ASSERT_NO_FATAL_FAILURE(Open());
    ClickOn(dialog_.cmdOK);
    ASSERT_NO_FATAL_FAILURE(ExpectEndedNormally());
    ExpectStored(L"2", L"0");
}

TEST_F(ConfigTest, OKWithNothingStoredWritesTheDefaults) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ClickOn(dialog_.cmdOK);
    ASSERT_NO_FATAL_FAILURE(ExpectEndedNormally());
    ExpectStored(L"1", L"1");
}

TEST_F(ConfigTest, ClickedChoicesAreStoredOnOK) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NO_FATAL_FAILURE(Choose(dialog_.optSpeed, 0));
    ASSERT_NO_FATAL_FAILURE(Choose(dialog_.optSize, 2));
    EXPECT_EQ(dialog_.CheckedIndex(dialog_.optSpeed), 0) << "choosing a size changed the speed";
    EXPECT_FALSE(StoredSpeed().has_value()) << "written before OK";
    ClickOn(dialog_.cmdOK);
    ASSERT_NO_FATAL_FAILURE(ExpectEndedNormally());
    ExpectStored(L"0", L"2");
}

// ---- leaving without writing --------------------------------------------------------------------

enum class Leave { Esc, CancelClick, CancelByEnter, CloseCommand, AltF4 };

struct LeaveCase {
    const char* name;
    Leave how;
};

class LeavesTheStore : public ConfigTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeavesTheStore, AfterAChange) {
    WriteRegString(kSettingsKey, L"Speed", L"1");  // Size stays absent
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NO_FATAL_FAILURE(Choose(dialog_.optSpeed, 2));
    ASSERT_NO_FATAL_FAILURE(Choose(dialog_.optSize, 0));
    switch (GetParam().how) {
        case Leave::Esc:
            Press(VK_ESCAPE);
            break;
        case Leave::CancelClick:
            ClickOn(dialog_.cmdCancel);
            break;
        case Leave::CancelByEnter:
            // A focused push button is the one Enter presses.
            Press(VK_TAB);
            Press(VK_TAB);
            ASSERT_TRUE(WaitFocusOn(dialog_.cmdCancel));
            Press(VK_RETURN);
            break;
        case Leave::CloseCommand:
            // What the close box sends.
            PostMessageW(dialog_.form, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case Leave::AltF4:
            PressWith(VK_MENU, VK_F4);
            break;
    }
    ASSERT_NO_FATAL_FAILURE(ExpectEndedNormally());
    EXPECT_EQ(Shown(StoredSpeed()), "\"1\"");
    EXPECT_EQ(Shown(StoredSize()), "absent");
}

INSTANTIATE_TEST_SUITE_P(Config, LeavesTheStore,
                         ::testing::Values(LeaveCase{"Esc", Leave::Esc},
                                           LeaveCase{"CancelClicked", Leave::CancelClick},
                                           LeaveCase{"EnterOnCancel", Leave::CancelByEnter},
                                           LeaveCase{"CloseCommand", Leave::CloseCommand},
                                           LeaveCase{"AltF4", Leave::AltF4}),
                         ByName());

// ---- the keyboard -------------------------------------------------------------------------------

TEST_F(ConfigTest, EnterOnAnOptionButtonPressesOK) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_EQ(Focus(), dialog_.optSpeed[1]);
    // An arrow moves within the group and checks what it lands on.
    Press(VK_RIGHT);
    ASSERT_TRUE(WaitFocusOn(dialog_.optSpeed[2]));
    ASSERT_TRUE(WaitUntil([&] { return dialog_.CheckedIndex(dialog_.optSpeed) == 2; }, 3s));
    Press(VK_TAB);
    ASSERT_TRUE(WaitFocusOn(dialog_.optSize[1]));
    Press(VK_UP);
    ASSERT_TRUE(WaitFocusOn(dialog_.optSize[0]));
    ASSERT_TRUE(WaitUntil([&] { return dialog_.CheckedIndex(dialog_.optSize) == 0; }, 3s));
    EXPECT_EQ(dialog_.CheckedIndex(dialog_.optSpeed), 2) << "the groups are not separate";
    Press(VK_RETURN);
    ASSERT_NO_FATAL_FAILURE(ExpectEndedNormally());
    ExpectStored(L"2", L"0");
}

TEST_F(ConfigTest, TabVisitsGroupsAndButtonsInOrder) {
    WriteRegString(kSettingsKey, L"Speed", L"0");
    WriteRegString(kSettingsKey, L"Size", L"2");
    ASSERT_NO_FATAL_FAILURE(Open());
    // A group is entered at its checked option; frames and the label take no focus.
    const HWND forward[] = {dialog_.optSize[2], dialog_.cmdOK, dialog_.cmdCancel,
                            dialog_.optSpeed[0]};
    ASSERT_EQ(Focus(), dialog_.optSpeed[0]);
    for (HWND next : forward) {
        Press(VK_TAB);
        EXPECT_TRUE(WaitFocusOn(next)) << "Tab went to \"" << Narrow(TextOf(Focus()))
                                       << "\" instead of \"" << Narrow(TextOf(next)) << "\"";
    }
    const HWND backward[] = {dialog_.cmdCancel, dialog_.cmdOK, dialog_.optSize[2],
                             dialog_.optSpeed[0]};
    for (HWND next : backward) {
        PressWith(VK_SHIFT, VK_TAB);
        EXPECT_TRUE(WaitFocusOn(next)) << "Shift+Tab went to \"" << Narrow(TextOf(Focus()))
                                       << "\" instead of \"" << Narrow(TextOf(next)) << "\"";
    }
    // A focused push button is the default one; leaving it gives the role back to OK.
    Press(VK_TAB);
    Press(VK_TAB);
    Press(VK_TAB);
    ASSERT_TRUE(WaitFocusOn(dialog_.cmdCancel));
    EXPECT_TRUE(WaitUntil(
        [&] { return (DescribeWindow(dialog_.cmdCancel).style & BS_TYPEMASK) == BS_DEFPUSHBUTTON; },
        2s));
    EXPECT_EQ(DescribeWindow(dialog_.cmdOK).style & BS_TYPEMASK, BS_PUSHBUTTON);
    Press(VK_TAB);
    ASSERT_TRUE(WaitFocusOn(dialog_.optSpeed[0]));
    // The focus is recorded before the buttons hear of it.
    EXPECT_TRUE(WaitUntil(
        [&] { return (DescribeWindow(dialog_.cmdOK).style & BS_TYPEMASK) == BS_DEFPUSHBUTTON; },
        2s));
    EXPECT_EQ(DescribeWindow(dialog_.cmdCancel).style & BS_TYPEMASK, BS_PUSHBUTTON);
    // Nothing was changed by moving around; nothing was written.
    EXPECT_EQ(dialog_.CheckedIndex(dialog_.optSpeed), 0);
    EXPECT_EQ(dialog_.CheckedIndex(dialog_.optSize), 2);
    EXPECT_EQ(Shown(StoredSpeed()), "\"0\"");
}

TEST_F(ConfigTest, AccessKeysOfTheFramesMoveTheFocusIntoTheirGroup) {
    WriteRegString(kSettingsKey, L"Speed", L"2");
    WriteRegString(kSettingsKey, L"Size", L"1");
    ASSERT_NO_FATAL_FAILURE(Open());
    PressWith(VK_MENU, 'W');
    EXPECT_TRUE(WaitFocusOn(dialog_.optSize[1])) << "Alt+W: focus on " << Narrow(TextOf(Focus()));
    PressWith(VK_MENU, 'S');
    EXPECT_TRUE(WaitFocusOn(dialog_.optSpeed[2])) << "Alt+S: focus on " << Narrow(TextOf(Focus()));
    // Without Alt too, as nothing in the dialog takes typed characters.
    Press('W');
    EXPECT_TRUE(WaitFocusOn(dialog_.optSize[1])) << "W: focus on " << Narrow(TextOf(Focus()));
    Press('S');
    EXPECT_TRUE(WaitFocusOn(dialog_.optSpeed[2])) << "S: focus on " << Narrow(TextOf(Focus()));
    // Moving the focus into a group does not change its choice.
    EXPECT_EQ(dialog_.CheckedIndex(dialog_.optSpeed), 2);
    EXPECT_EQ(dialog_.CheckedIndex(dialog_.optSize), 1);
    EXPECT_TRUE(scr_->Running()) << "an access key of a frame ended the dialog";
    ExpectStored(L"2", L"1");
}

TEST_F(ConfigTest, AccessKeyOPressesOK) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NO_FATAL_FAILURE(Choose(dialog_.optSize, 2));
    PressWith(VK_MENU, 'O');
    ASSERT_NO_FATAL_FAILURE(ExpectEndedNormally());
    ExpectStored(L"1", L"2");
}

// ---- a stored index that names no option --------------------------------------------------------

struct UnusableCase {
    const char* name;
    const wchar_t* speed;
    const wchar_t* size;
    const wchar_t* named;
    const wchar_t* value;
};

class UnusableIndex : public ConfigTest, public ::testing::WithParamInterface<UnusableCase> {};

TEST_P(UnusableIndex, ReportsAndShowsNoDialog) {
    const UnusableCase c = GetParam();
    if (c.speed) WriteRegString(kSettingsKey, L"Speed", c.speed);
    if (c.size) WriteRegString(kSettingsKey, L"Size", c.size);
    ScrProcess scr(L"/C");
    ExpectReportOnly(AwaitErrorReport(scr), scr, {c.named, c.value});
    // Nothing written: what was stored stays, what was absent stays absent.
    EXPECT_EQ(Shown(StoredSpeed()), c.speed ? Shown(std::wstring(c.speed)) : "absent");
    EXPECT_EQ(Shown(StoredSize()), c.size ? Shown(std::wstring(c.size)) : "absent");
}

INSTANTIATE_TEST_SUITE_P(
    Config, UnusableIndex,
    ::testing::Values(UnusableCase{"speed_5", L"5", nullptr, L"Speed", L"5"},
                      UnusableCase{"speed_minus_1", L"-1", L"0", L"Speed", L"-1"},
                      UnusableCase{"size_3", nullptr, L"3", L"Size", L"3"},
                      // Beyond 16 bits; truncated it would name option 0.
                      UnusableCase{"speed_beyond_16_bits", L"65536", L"1", L"Speed", L"65536"},
                      UnusableCase{"size_below_16_bits", L"1", L"-40000", L"Size", L"-40000"},
                      // Speed is looked up first.
                      UnusableCase{"speed_7_before_size_9", L"7", L"9", L"Speed", L"7"}),
    ByName());

// ---- the open dialog refuses further starts -----------------------------------------------------

class BesideOpenDialog : public ConfigTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(BesideOpenDialog, AnotherStartEndsAtOnce) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ScrProcess second(GetParam());
    ExpectEndsAtOnceShowingNothing(second);
    EXPECT_TRUE(scr_->Running()) << "the open dialog ended";
    EXPECT_EQ(FindTopLevelWindows(kConfigTitle, kConfigClass).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Config, BesideOpenDialog,
                         ::testing::Values(L"/C", L"/c:1234", L"/S", L"", L"/P 1234"),
                         ByCommandText());

}  // namespace
}  // namespace e2e
