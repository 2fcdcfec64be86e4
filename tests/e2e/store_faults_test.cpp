// A settings store that refuses writes, and stored values the program did not write: values of
// other registry types, very long texts, texts with a NUL, a tab or characters of other scripts.
//
// A refused write of the install record stops every start with the error report before any form
// shows; a stored value gives the index that the registry store's reading of each value type
// and the leading-number parse make of it, seen in which speed button the settings dialog checks,
// or the error report when that index is unusable. Every key the tests lock or fill is put back.
#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "harness.h"

namespace e2e {
namespace {

// ---- a store that refuses the install record ----------------------------------------------------

// The install key exists with stale values, and its security descriptor denies everyone the right
// to set values or create subkeys; reading and deleting stay allowed, so the test can look and put
// everything back.
class DeniedInstallKey : NoCopy {
  public:
    DeniedInstallKey() {
        WriteRegString(kInstallKey, L"ApplicationPath", L"C:\\Stale\\Folder");
        WriteRegString(kInstallKey, L"CurrentVersion", L"0.99.0001");
        SetDacl(true);
    }
    ~DeniedInstallKey() { SetDacl(false); }

    bool Applied() const { return applied_; }

  private:
    void SetDacl(bool deny) {
        HKEY opened = nullptr;
        LSTATUS rc =
            RegOpenKeyExW(HKEY_CURRENT_USER, kInstallKey, 0, READ_CONTROL | WRITE_DAC, &opened);
        const gloam::unique_hkey key(opened);
        if (rc != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot open the install key to change its access, error " << rc;
            return;
        }
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        alignas(DWORD) BYTE acl_bytes[512];
        auto* acl = reinterpret_cast<PACL>(acl_bytes);
        InitializeAcl(acl, sizeof acl_bytes, ACL_REVISION);
        // A deny entry goes before the allow entries, as the canonical order wants.
        if (deny)
            AddAccessDeniedAce(acl, ACL_REVISION, KEY_SET_VALUE | KEY_CREATE_SUB_KEY, everyone);
        AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone);
        SECURITY_DESCRIPTOR sd;
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        rc = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &sd);
        FreeSid(everyone);
        if (rc != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot set the install key's access, error " << rc;
            return;
        }
        applied_ = deny;
    }

    bool applied_ = false;
};

// The install record's application key exists but is volatile, and a volatile key can hold only
// volatile subkeys: the program's section cannot be created under it.
class VolatileInstallRoot : NoCopy {
  public:
    VolatileInstallRoot() {
        DeleteRegTree(kInstallRoot);
        HKEY created = nullptr;
        const LSTATUS rc =
            RegCreateKeyExW(HKEY_CURRENT_USER, kInstallRoot, 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_READ, nullptr, &created, nullptr);
        const gloam::unique_hkey key(created);
        if (rc != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot create a volatile install key, error " << rc;
            return;
        }
        // Make sure this registry really refuses: the test means nothing otherwise.
        HKEY child = nullptr;
        refuses_ = RegCreateKeyExW(HKEY_CURRENT_USER, kInstallKey, 0, nullptr, 0, KEY_SET_VALUE,
                                   nullptr, &child, nullptr) != ERROR_SUCCESS;
        if (gloam::unique_hkey made{child}) {
            made.reset();
            RegDeleteKeyW(HKEY_CURRENT_USER, kInstallKey);
        }
    }
    ~VolatileInstallRoot() { DeleteRegTree(kInstallRoot); }

    bool Refuses() const { return refuses_; }

  private:
    bool refuses_ = false;
};

// The starts a host or a user can make.
const wchar_t* const kEveryStart[] = {L"/S", L"", L"/C", L"/P 0", L"/p 1234", L"-s", L"/x"};

using StoreRefusesWrites = ScrTest;

// The first write of every start is the install record's folder: the report names it and its key.
void ExpectReportOnTheInstallRecord(ScrProcess& scr) {
    ExpectReportOnly(AwaitErrorReport(scr), scr,
                     {L"ApplicationPath", L"Gloam Drift SCR\\UpdateInfo"});
}

TEST_F(StoreRefusesWrites, EveryStartReportsTheDeniedInstallRecord) {
    WriteRegString(kSettingsKey, L"Speed", L"2");
    WriteRegString(kSettingsKey, L"Size", L"0");
    const auto speed = ReadRaw(kSettingsKey, L"Speed");
    const auto size = ReadRaw(kSettingsKey, L"Size");
    {
        DeniedInstallKey denied;
        ASSERT_TRUE(denied.Applied());
        {
            HKEY opened = nullptr;
            const LSTATUS rc =
                RegOpenKeyExW(HKEY_CURRENT_USER, kInstallKey, 0, KEY_SET_VALUE, &opened);
            const gloam::unique_hkey key(opened);
            if (rc == ERROR_SUCCESS) {
                GTEST_SKIP() << "this registry does not enforce a key's access list";
            }
        }
        for (const wchar_t* args : kEveryStart) {
            ScrProcess scr(args);
            ExpectReportOnTheInstallRecord(scr);
        }
        // Nothing else changed: the stale record, the settings as they were, no new keys.
        EXPECT_EQ(ReadRegString(kInstallKey, L"ApplicationPath"),
                  std::optional<std::wstring>(L"C:\\Stale\\Folder"));
        EXPECT_EQ(ReadRegString(kInstallKey, L"CurrentVersion"),
                  std::optional<std::wstring>(L"0.99.0001"));
    }
    EXPECT_EQ(ReadRaw(kSettingsKey, L"Speed"), speed);
    EXPECT_EQ(ReadRaw(kSettingsKey, L"Size"), size);
    EXPECT_FALSE(FindTopLevelWindows(kDisplayTitle, kDisplayClass).size());
}

TEST_F(StoreRefusesWrites, EveryStartReportsTheSectionThatCannotBeCreated) {
    WriteRegString(kSettingsKey, L"Speed", L"0");
    const auto speed = ReadRaw(kSettingsKey, L"Speed");
    {
        VolatileInstallRoot root;
        if (!root.Refuses()) GTEST_SKIP() << "this registry lets a volatile key hold any subkey";
        for (const wchar_t* args : kEveryStart) {
            ScrProcess scr(args);
            ExpectReportOnTheInstallRecord(scr);
            EXPECT_FALSE(KeyExists(kInstallKey))
                << "the section appeared after \"" << Narrow(args) << "\"";
        }
    }
    EXPECT_EQ(ReadRaw(kSettingsKey, L"Speed"), speed);
    EXPECT_FALSE(ReadRaw(kSettingsKey, L"Size").has_value()) << "the size was written";
}

// ---- stored values the program did not write ----------------------------------------------------

struct StoredSpeedCase {
    const char* name;
    RawValue value;
    int index;              // the speed button checked, -1: the error report instead
    const wchar_t* quoted;  // what the report quotes beside "Speed", nullptr: nothing particular
};

void PrintTo(const StoredSpeedCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<StoredSpeedCase> StoredSpeeds() {
    const std::wstring long_tail = L"2" + std::wstring(99999, L'x');
    const std::wstring long_digits(100000, L'9');
    const std::wstring long_blanks = std::wstring(99999, L' ') + L"2";
    RawValue short_dword{REG_DWORD, {2, 0}};
    RawValue odd_length = Utf16Value(REG_SZ, L"2x");
    odd_length.data.resize(3);  // "2" and half a character
    return {
        // Numbers: REG_DWORD and REG_QWORD read as their decimal text.
        {"dword_2", DwordValue(REG_DWORD, 2), 2, nullptr},
        {"dword_0", DwordValue(REG_DWORD, 0), 0, nullptr},
        {"dword_3", DwordValue(REG_DWORD, 3), -1, L"3"},
        {"dword_all_ones", DwordValue(REG_DWORD, 0xFFFFFFFF), -1, L"4294967295"},
        {"qword_1", RawValue{REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}}, 1, nullptr},
        {"qword_beyond_32_bits", RawValue{REG_QWORD, {0, 0, 0, 0, 0, 1, 0, 0}}, -1,
         L"1099511627776"},
        {"expand_sz", Utf16Value(REG_EXPAND_SZ, L"2"), 2, nullptr},
        {"expand_sz_not_expanded", Utf16Value(REG_EXPAND_SZ, L"%NUMBER_OF_PROCESSORS%"), 0,
         nullptr},
        // Types that hold no text read as absent: the default, 1.
        {"binary", RawValue{REG_BINARY, {'2', 0, 0, 0}}, 1, nullptr},
        {"multi_sz", Utf16Value(REG_MULTI_SZ, std::wstring(L"2\0", 2)), 1, nullptr},
        {"none", RawValue{REG_NONE, {'2', 0}}, 1, nullptr},
        {"dword_big_endian", RawValue{REG_DWORD_BIG_ENDIAN, {0, 0, 0, 2}}, 1, nullptr},
        {"dword_too_short", short_dword, 1, nullptr},
        // Very long texts.
        {"long_tail", Utf16Value(REG_SZ, long_tail), 2, nullptr},
        {"long_digits", Utf16Value(REG_SZ, long_digits), -1, L"99999999"},
        {"long_blanks", Utf16Value(REG_SZ, long_blanks), 2, nullptr},
        // Odd characters: the text ends at its first NUL; a tab is a blank, another script's
        // blank is none. Other scripts' digits are no digits: a unit table (settings_test).
        {"nul_inside",
         Utf16Value(REG_SZ, std::wstring(L"2\0"
                                         L"1",
                                         3)),
         2, nullptr},
        {"no_bytes_at_all", RawValue{REG_SZ, {}}, 0, nullptr},
        {"nul_first",
         Utf16Value(REG_SZ, std::wstring(L"\0"
                                         L"2",
                                         2)),
         0, nullptr},
        {"unterminated", Utf16Value(REG_SZ, L"2", false), 2, nullptr},
        {"odd_length", odd_length, 2, nullptr},
        {"tab", Utf16Value(REG_SZ, L"\t2"), 2, nullptr},
        {"two_then_kanji", Utf16Value(REG_SZ, L"2\x65E5"), 2, nullptr},
        {"ideographic_space",
         Utf16Value(REG_SZ,
                    L"\x3000"
                    L"2"),
         0, nullptr},
    };
}

class StoredValue : public ScrTest, public ::testing::WithParamInterface<StoredSpeedCase> {};

// The index of the checked speed button of the settings dialog, -1 when not exactly one is.
int CheckedSpeed(HWND dialog) {
    const std::vector<HWND> children = ChildWindowsOf(dialog);
    RECT frame{};
    for (HWND child : children) {
        const WindowInfo info = DescribeWindow(child);
        if ((info.style & BS_TYPEMASK) == BS_GROUPBOX && info.title == L"速度(&S)")
            frame = info.rect;
    }
    std::vector<WindowInfo> options;
    for (HWND child : children) {
        const WindowInfo info = DescribeWindow(child);
        const LONG_PTR type = info.style & BS_TYPEMASK;
        if (!EqualsNoCase(info.cls, L"Button")) continue;
        if (type != BS_AUTORADIOBUTTON && type != BS_RADIOBUTTON) continue;
        const POINT middle{(info.rect.left + info.rect.right) / 2,
                           (info.rect.top + info.rect.bottom) / 2};
        if (PtInRect(&frame, middle)) options.push_back(info);
    }
    if (options.size() != 3) return -1;
    std::sort(options.begin(), options.end(),
              [](const WindowInfo& a, const WindowInfo& b) { return a.rect.left < b.rect.left; });
    int checked = -1;
    for (int i = 0; i < 3; ++i) {
        if (SendMessageW(options[i].hwnd, BM_GETCHECK, 0, 0) != BST_CHECKED) continue;
        if (checked >= 0) return -1;
        checked = i;
    }
    return checked;
}

// Clicks the dialog's Cancel button the way the mouse does.
void Cancel(HWND dialog) {
    if (HWND cancel = ChildWithText(dialog, L"ｷｬﾝｾﾙ")) {
        PostMessageW(cancel, BM_CLICK, 0, 0);
        return;
    }
    ADD_FAILURE() << "the dialog has no Cancel button";
}

TEST_P(StoredValue, GivesTheDocumentedIndex) {
    const StoredSpeedCase& c = GetParam();
    WriteRaw(kSettingsKey, L"Speed", c.value);
    WriteRegString(kSettingsKey, L"Size", L"1");

    ScrProcess scr(L"/C");
    if (c.index < 0) {
        ExpectReportOnly(AwaitErrorReport(scr), scr, {L"Speed", c.quoted ? c.quoted : L"Speed"});
    } else {
        const auto dialog = scr.WaitForVisibleWindow(kConfigClass, kConfigTitle);
        ASSERT_TRUE(dialog.has_value()) << "no settings dialog";
        EXPECT_EQ(CheckedSpeed(dialog->hwnd), c.index);
        Cancel(dialog->hwnd);
        ASSERT_TRUE(scr.WaitExitObserving()) << "the dialog did not end on Cancel";
        EXPECT_EQ(scr.ExitCode(), std::optional<DWORD>(0));
        EXPECT_EQ(scr.SeenVisibleClasses().count(kMessageBoxClass), 0u) << "an error report";
    }
    // The stored value stays exactly as it was: a start only reads the settings.
    EXPECT_EQ(ReadRaw(kSettingsKey, L"Speed"), std::optional<RawValue>(c.value));
}

INSTANTIATE_TEST_SUITE_P(Registry, StoredValue, ::testing::ValuesIn(StoredSpeeds()), ByName());

}  // namespace
}  // namespace e2e
