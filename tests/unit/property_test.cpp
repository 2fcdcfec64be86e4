// Generated inputs, checked against reference models written here from the documented behaviour
// alone: the leading-number parse and the conversion of stored setting texts, the mode key and the
// preview's window number of command texts, and the cats check under a clock that jumps back and
// forth.
//
// The reference models never call the code under test. They are deliberately plain: the number is
// cut out character by character and handed to strtod (whose rounding and overflow rules are the
// C library's, not from_chars'); rounding halves to even is done with floor and a comparison.
// Every generator runs from a fixed seed, so a failure names an input that reproduces.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "display/cats.h"
#include "platform/error.h"
#include "platform/local_time.h"
#include "platform/numeric.h"
#include "platform/settings.h"
#include "startup/command_line.h"
#include "tests/reference.h"

namespace gloam {
namespace {

constexpr uint64_t kSeed = 20240521;
constexpr int kStoredTexts = 20000;
constexpr int kCommandTexts = 20000;
constexpr int kClockRuns = 10000;
// Enough to see a pattern, few enough that a broken build does not drown the log.
constexpr int kFailuresShown = 8;

// ---- reference models ---------------------------------------------------------------------------

// tests/reference.h, and the mode a key names.
namespace reference = gloam_tests::reference;

std::optional<int32_t> ReferenceNearest(double value) {
    return reference::Nearest(value);
}

double ReferenceValue(std::wstring_view text) {
    return reference::Value(text);
}

Mode ReferenceMode(std::wstring_view text) {
    const std::wstring key = reference::ModeKey(text);
    if (key.size() == 2 && key[0] == L'/') {
        if (key[1] == L'S') return Mode::Screen;
        if (key[1] == L'C') return Mode::Config;
        if (key[1] == L'P') return Mode::Preview;
    }
    return Mode::None;
}

// Whole minutes since 1970 by the standard library's calendar.
int64_t ReferenceMinute(const LocalDateTime& t) {
    using namespace std::chrono;
    const sys_days date =
        year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)};
    return duration_cast<minutes>(date.time_since_epoch()).count() + t.hour * 60 + t.minute;
}

// ---- showing inputs -----------------------------------------------------------------------------

// ASCII with escapes, shortened: fit for a failure message.
std::string Shown(std::wstring_view text) {
    std::string out = "\"";
    const size_t shown = std::min<size_t>(text.size(), 60);
    for (size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<uint32_t>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
            out += static_cast<char>(c);
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
            out += buffer;
        }
    }
    out += "\"";
    if (shown < text.size()) out += "... (" + std::to_string(text.size()) + " characters)";
    return out;
}

std::string Shown(std::optional<int32_t> value) {
    return value ? std::to_string(*value) : std::string("overflow");
}

// Counts failures and shows the first few.
class Failures {
  public:
    void Add(const std::string& what) {
        if (++count_ <= kFailuresShown) ADD_FAILURE() << what;
    }
    int count() const { return count_; }

  private:
    int count_ = 0;
};

// ---- generators ---------------------------------------------------------------------------------

class Generator {
  public:
    explicit Generator(uint64_t seed) : engine_(seed) {}

    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(engine_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(engine_); }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[Below(items.size())];
    }
    std::wstring Digits(size_t count) {
        std::wstring out;
        for (size_t i = 0; i < count; ++i) out += static_cast<wchar_t>(L'0' + Below(10));
        return out;
    }

    // Characters from every corner: printable ASCII, controls, Latin-1, CJK, fullwidth forms,
    // digits of other scripts, lone surrogates, the byte-order mark.
    wchar_t AnyCharacter() {
        static const std::vector<wchar_t> odd = {
            L'\0',  L'\t',  L'\n',  L'\r',  L'\v',  L'\f',  0x7F,   0x80,   0xA0,   0xB2,
            0xB9,   0xBD,   0xFF,   0x130,  0x131,  0x17F,  0x2070, 0x2212, 0x3000, 0x3007,
            0x4E00, 0x8A2D, 0xFF0F, 0xFF10, 0xFF11, 0xFF19, 0xFF33, 0xFF53, 0xFF0E, 0xFF45,
            0x0660, 0x0661, 0x0669, 0x06F1, 0x0966, 0x2460, 0xFEFF, 0xFFFD, 0xFFFF, 0xD800,
            0xDC00, 0xDBFF, 0x0131, 0x212A, 0x0430, 0x0441, 0x0440, 0x2007};
        switch (Below(4)) {
            case 0:
            case 1:
                return static_cast<wchar_t>(0x20 + Below(0x5F));
            case 2:
                return Pick(odd);
            default:
                return static_cast<wchar_t>(0x80 + Below(0xFF00));
        }
    }
    std::wstring AnyText(size_t max_length) {
        std::wstring out;
        const size_t length = Below(max_length + 1);
        for (size_t i = 0; i < length; ++i) out += AnyCharacter();
        return out;
    }

    // A text as it might sit in the store: mostly number-like, with every kind of oddity.
    std::wstring StoredText() {
        static const std::vector<std::wstring> leads = {
            L" ",      L"  ",     L"\t",
            L" \t ",   L"\t\t",   std::wstring(40, L' '),
            L"\n",     L"\r\n",   L"\v",
            L"\f",     L"\x00A0", L"\x3000",
            L"\xFEFF", L" \n",    std::wstring(1, L'\0')};
        static const std::vector<std::wstring> signs = {L"+", L"-", L"+-", L"--", L"- ", L"+ "};
        static const std::vector<std::wstring> words = {L"NaN",
                                                        L"nan",
                                                        L"-nan",
                                                        L"Inf",
                                                        L"inf",
                                                        L"-Infinity",
                                                        L"Infinity",
                                                        L"1.#INF",
                                                        L"-1.#IND",
                                                        L"1.#QNAN",
                                                        L"1.#SNAN",
                                                        L"0x1A",
                                                        L"0X7FFFFFFF",
                                                        L"&H10",
                                                        L"&O17",
                                                        L"&B101",
                                                        L"1D2",
                                                        L"1d-2",
                                                        L"e5",
                                                        L"E",
                                                        L".e1",
                                                        L"..5",
                                                        L"1..5",
                                                        L"True",
                                                        L"False",
                                                        L"1_000",
                                                        L"1'000",
                                                        L"½",
                                                        L"\x00B2",
                                                        L"\xFF12",
                                                        L"\x0662",
                                                        L"\x06F2",
                                                        L"\x0968",
                                                        L"\x2212"
                                                        L"1",
                                                        L"\x00B9"
                                                        L"2",
                                                        L"٫5",
                                                        L"1\x2009"
                                                        L"000",
                                                        L"१२"};
        static const std::vector<std::wstring> fractions = {L"",
                                                            L".",
                                                            L".0",
                                                            L".5",
                                                            L".4999999",
                                                            L".5000001",
                                                            L".49999999999",
                                                            L".50000000001",
                                                            L".4999999999999999999",
                                                            L".9999999999",
                                                            L".25",
                                                            L".75",
                                                            L".5e0",
                                                            L".50"};
        static const std::vector<std::wstring> tails = {L"",
                                                        L"",
                                                        L"",
                                                        L",5",
                                                        L",000",
                                                        L",9",
                                                        L"abc",
                                                        L" 12",
                                                        L".5",
                                                        L"e",
                                                        L"E+",
                                                        L"e-",
                                                        L"e+x",
                                                        L"%",
                                                        L"#",
                                                        L"$",
                                                        L"\t3",
                                                        L"\x00A0"
                                                        L"9",
                                                        L"\x3000"
                                                        L"9",
                                                        L"\xFF15",
                                                        L"\x0665",
                                                        std::wstring(L"\0"
                                                                     L"9",
                                                                     2),
                                                        L"\r\n7",
                                                        L"h",
                                                        L"&",
                                                        L"d5",
                                                        L"/2",
                                                        L"*3",
                                                        L" e5",
                                                        L"E 5",
                                                        L"e--5"};

        std::wstring text;
        if (Chance(0.3)) text += Pick(leads);
        if (Chance(0.35)) text += Pick(signs).substr(0, Chance(0.7) ? 1 : 2);
        switch (Below(10)) {
            case 0:
                text += std::to_wstring(Below(11));
                break;
            case 1: {  // digits with a point anywhere, leading and trailing included
                std::wstring digits = Digits(1 + Below(25));
                if (Chance(0.6)) digits.insert(Below(digits.size() + 1), 1, L'.');
                text += digits;
                break;
            }
            case 2:
            case 3:
                text += BoundaryNumber();
                break;
            case 4: {  // exponents: small, large, huge, malformed
                text += Digits(1 + Below(6));
                if (Chance(0.5)) text += L"." + Digits(Below(8));
                text += Chance(0.5) ? L'e' : L'E';
                if (Chance(0.6)) text += Chance(0.5) ? L'+' : L'-';
                static const std::vector<size_t> lengths = {0, 1, 2, 3, 4, 10, 25, 400};
                const size_t length = Pick(lengths);
                if (length > 1 && Chance(0.3))
                    text += std::wstring(length - 1, L'0') + L"1";
                else
                    text += Digits(length);
                break;
            }
            case 5:
                text += Pick(words);
                break;
            case 6:
                text += LongNumber();
                break;
            case 7:
                text += AnyText(12);
                break;
            default: {  // the halves: n + 0.5 for small and middling n
                text += std::to_wstring(Below(2000)) + Pick(fractions);
                break;
            }
        }
        if (Chance(0.5)) text += Pick(tails);
        if (Chance(0.1)) text += AnyText(6);
        return text;
    }

    // Numbers near +/-2^31 and +/-2^31 - 1, in plain and exponent forms.
    std::wstring BoundaryNumber() {
        static const std::vector<int64_t> bases = {2147483647,  2147483648,  2147483646,
                                                   -2147483648, -2147483649, -2147483647,
                                                   4294967295,  4294967296,  1073741824};
        static const std::vector<std::wstring> fractions = {
            L"",      L".5",  L".4999999",      L".5000001",      L".49999999", L".50000001", L".0",
            L".9999", L".25", L".499999999999", L".500000000001", L".4",        L".6"};
        const int64_t base = Pick(bases) + static_cast<int64_t>(Below(5)) - 2;
        std::wstring digits = std::to_wstring(base < 0 ? -base : base);
        const std::wstring sign = base < 0 ? L"-" : L"";
        const std::wstring fraction = Pick(fractions);
        switch (Below(4)) {
            case 0:  // 2.1474836475E9
                return sign + digits.substr(0, 1) + L"." + digits.substr(1) +
                       fraction.substr(fraction.empty() ? 0 : 1) + (Chance(0.5) ? L"E" : L"e") +
                       std::to_wstring(digits.size() - 1);
            case 1:  // 21474836475e-1
                return sign + digits + fraction.substr(fraction.empty() ? 0 : 1) + L"e-" +
                       std::to_wstring(fraction.empty() ? 0 : fraction.size() - 1);
            case 2:  // leading zeros
                return sign + std::wstring(1 + Below(30), L'0') + digits + fraction;
            default:
                return sign + digits + fraction;
        }
    }

    // Thousands of characters: long digit runs, long zero runs before or after the point, long
    // runs of blanks before a small number.
    std::wstring LongNumber() {
        // A hundred thousand characters only now and then: they cost as much as a thousand texts.
        static const std::vector<size_t> lengths = {300, 310, 330, 400, 1000, 5000};
        const size_t n = Chance(0.02) ? 100000 : Pick(lengths);
        switch (Below(5)) {
            case 0:
                return Digits(n);
            case 1:
                return L"0." + std::wstring(n, L'0') + Digits(1 + Below(5));
            case 2:
                return L"1" + std::wstring(n, L'0') + L"e-" + std::to_wstring(n - Below(3));
            case 3:
                return std::wstring(n, L' ') + std::to_wstring(Below(3));
            default:
                return L"0." + std::wstring(n, L'0') + L"1e" + std::to_wstring(n + Below(3));
        }
    }

    std::wstring CommandText() {
        static const std::vector<std::wstring> heads = {L"/s",
                                                        L"/S",
                                                        L"/c",
                                                        L"/C",
                                                        L"/p",
                                                        L"/P",
                                                        L"-s",
                                                        L"s",
                                                        L"S",
                                                        L"/",
                                                        L"//",
                                                        L"/ ",
                                                        L" /s",
                                                        L"\t/S",
                                                        L"/\xFF53",
                                                        L"\xFF0F"
                                                        L"S",
                                                        L"/\x017F",
                                                        L"/\x0131",
                                                        L"/\xFF23",
                                                        L"/P:",
                                                        L"/p  ",
                                                        L"/P\t",
                                                        L":",
                                                        L"/c:1234",
                                                        L"",
                                                        L"/P ",
                                                        L"/p ",
                                                        L"/S ",
                                                        L"/C:",
                                                        L"\"/S\"",
                                                        L"/P\x3000",
                                                        std::wstring(L"/\0", 2)};
        std::wstring text = Chance(0.85) ? Pick(heads) : AnyText(3);
        switch (Below(6)) {
            case 0:
                break;
            case 1:  // the host's number
                text += L" " + StoredText();
                break;
            case 2:
                text += StoredText();
                break;
            case 3: {  // blanks and colons in odd places
                static const std::vector<std::wstring> bits = {
                    L" ", L":", L"  ", L"\t", L"1", L"23", L"-", L"/", L"x", L"\x3000"};
                for (size_t n = Below(8); n > 0; --n) text += Pick(bits);
                break;
            }
            case 4:
                text += AnyText(40);
                break;
            default: {  // long lines
                static const std::vector<size_t> lengths = {200, 1000, 2000, 5000};
                const size_t n = Chance(0.01) ? (Chance(0.5) ? 32767 : 100000) : Pick(lengths);
                text += Chance(0.5) ? std::wstring(n, Chance(0.5) ? L' ' : L'x') : Digits(n);
                break;
            }
        }
        return text;
    }

    LocalDateTime Time() {
        LocalDateTime t;
        t.year = 1990 + static_cast<int32_t>(Below(111));
        t.month = 1 + static_cast<int32_t>(Below(12));
        const std::chrono::year_month_day_last last{
            std::chrono::year{t.year} / std::chrono::month{static_cast<unsigned>(t.month)} /
            std::chrono::last};
        t.day = 1 + static_cast<int32_t>(Below(static_cast<unsigned>(last.day())));
        t.hour = static_cast<int32_t>(Below(24));
        t.minute = static_cast<int32_t>(Below(60));
        t.second = static_cast<int32_t>(Below(60));
        return t;
    }

  private:
    std::mt19937_64 engine_;
};

// A narrow copy in which every non-ASCII character becomes a byte above 0x7F, none of which is a
// digit, a sign, a point or a blank: the parse must stop there as it does at any other letter.
std::string Bytes(std::wstring_view text) {
    std::string out;
    for (const wchar_t c : text) {
        const auto u = static_cast<uint32_t>(c);
        out += static_cast<char>(u < 0x80 ? u : 0x80 | (u & 0x7F));
    }
    return out;
}

// ---- stored setting texts -----------------------------------------------------------------------

TEST(GeneratedStoredTexts, ParseAndConversionMatchTheReference) {
    Generator gen(kSeed);
    Failures failures;
    int overflows = 0;
    for (int n = 0; n < kStoredTexts; ++n) {
        const std::wstring text = gen.StoredText();
        const double expected_value = ReferenceValue(text);
        const std::optional<int32_t> expected = ReferenceNearest(expected_value);
        if (!expected) ++overflows;

        const double value = ParseLeadingNumber(Bytes(text));
        // -0 equals 0 here, as it should: both give the index 0.
        if (!(value == expected_value)) {
            failures.Add("input #" + std::to_string(n) + " " + Shown(text) + ": parsed " +
                         NumberForReport(value) + ", reference " + NumberForReport(expected_value));
            continue;
        }
        const std::optional<int32_t> rounded = TryNearest(value);
        if (rounded != expected) {
            failures.Add("input #" + std::to_string(n) + " " + Shown(text) + ": " +
                         NumberForReport(value) + " converts to " + Shown(rounded) +
                         ", reference " + Shown(expected));
            continue;
        }
        std::optional<int32_t> index;
        std::string error;
        try {
            index = SettingIndexFromText(kSpeedKey, text);
        } catch (const RuntimeError& e) {
            error = e.what();
        }
        if (index != expected) {
            failures.Add("input #" + std::to_string(n) + " " + Shown(text) + ": index " +
                         Shown(index) + ", reference " + Shown(expected));
        } else if (!expected && error.find("Speed") == std::string::npos) {
            failures.Add("input #" + std::to_string(n) + " " + Shown(text) +
                         ": the overflow report does not name the setting: " + error);
        }
    }
    EXPECT_EQ(failures.count(), 0) << "of " << kStoredTexts << " texts, seed " << kSeed;
    // The generator is meant to hit both outcomes often; if it stops doing so it tests less.
    EXPECT_GT(overflows, kStoredTexts / 50);
    EXPECT_LT(overflows, kStoredTexts / 2);
}

// The reference itself, on the worked examples of the stored texts (blanks, points, commas,
// halves to even, 32-bit edges): a wrong model would pass wrong code.
TEST(GeneratedStoredTexts, TheReferenceGivesTheWorkedExamples) {
    struct Case {
        const wchar_t* text;
        std::optional<int32_t> index;
    };
    const Case cases[] = {
        {L"0", 0},
        {L"2", 2},
        {L"", 0},
        {L" 2", 2},
        {L"2abc", 2},
        {L"abc", 0},
        {L"1.5", 2},
        {L"2.5", 2},
        {L"0.5", 0},
        {L"2,9", 2},
        {L"-1", -1},
        {L"3", 3},
        {L"1E10", {}},
        {L"\t-2.5", -2},
        {L"2147483647", 2147483647},
        {L"2147483647.5", {}},
        {L"-2147483648.5", -2147483647 - 1},
        {L"-2147483649", {}},
        {L"1e-400", 0},
        {L"inf", 0},
        {L"1.#INF", 1},
        {L"\xFF12", 0},
        {L"1e", 1},
        {L".5", 0},
        {L"1E+1x", 10},
        {L"+1.5e0", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReferenceNearest(ReferenceValue(c.text)), c.index) << Shown(c.text);
    }
}

// ---- command texts ------------------------------------------------------------------------------

TEST(GeneratedCommandTexts, ModeAndPreviewNumberMatchTheReference) {
    Generator gen(kSeed + 1);
    Failures failures;
    int modes[4] = {};
    int handles = 0;
    for (int n = 0; n < kCommandTexts; ++n) {
        const std::wstring text = gen.CommandText();
        const std::string shown = "input #" + std::to_string(n) + " " + Shown(text);

        const std::wstring command_text = CommandTextOrDefault(text);
        if (command_text != (text.empty() ? std::wstring(L"/S") : text)) {
            failures.Add(shown + ": command text " + Shown(command_text));
        }
        const Mode expected_mode = ReferenceMode(command_text);
        ++modes[static_cast<int>(expected_mode)];
        if (ModeKey(command_text) != reference::ModeKey(command_text)) {
            failures.Add(shown + ": mode key " + Shown(ModeKey(command_text)) + ", reference " +
                         Shown(reference::ModeKey(command_text)));
        }
        if (ModeOf(command_text) != expected_mode) {
            failures.Add(shown + ": mode " +
                         std::to_string(static_cast<int>(ModeOf(command_text))) + ", reference " +
                         std::to_string(static_cast<int>(expected_mode)));
        }

        const std::wstring expected_number_text = reference::PreviewNumberText(command_text);
        if (PreviewNumberText(command_text) != expected_number_text) {
            failures.Add(shown + ": number text " + Shown(PreviewNumberText(command_text)) +
                         ", reference " + Shown(expected_number_text));
            continue;
        }
        const std::optional<int32_t> expected_handle =
            ReferenceNearest(ReferenceValue(expected_number_text));
        if (expected_handle && *expected_handle != 0) ++handles;
        std::optional<int32_t> handle;
        try {
            handle = PreviewHostHandle(command_text);
        } catch (const RuntimeError&) {
        }
        if (handle != expected_handle) {
            failures.Add(shown + ": handle " + Shown(handle) + ", reference " +
                         Shown(expected_handle));
        }
    }
    EXPECT_EQ(failures.count(), 0) << "of " << kCommandTexts << " texts, seed " << kSeed + 1;
    for (int mode = 0; mode < 4; ++mode) {
        EXPECT_GT(modes[mode], kCommandTexts / 20) << "mode " << mode << " seldom generated";
    }
    EXPECT_GT(handles, kCommandTexts / 20);
}

// The reference itself, on the worked examples of command texts (switches in either case, the
// preview's number after the first blank).
TEST(GeneratedCommandTexts, TheReferenceGivesTheWorkedExamples) {
    struct Case {
        const wchar_t* text;
        Mode mode;
        std::optional<int32_t> handle;
    };
    const Case cases[] = {
        {L"/P 1234", Mode::Preview, 1234},
        {L"/p 1234", Mode::Preview, 1234},
        {L"/P  1234", Mode::Preview, 1234},
        {L"/P", Mode::Preview, 0},
        {L"/P:1234", Mode::Preview, 0},
        {L"/c:1234", Mode::Config, 0},
        {L"/Sxyz", Mode::Screen, 0},
        {L"-s", Mode::None, 0},
        {L"/", Mode::None, 0},
        {L"/\x017F", Mode::None, 0},
        {L"/P 99999999999", Mode::Preview, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReferenceMode(c.text), c.mode) << Shown(c.text);
        EXPECT_EQ(reference::PreviewHostNumber(c.text), c.handle) << Shown(c.text);
    }
}

// ---- the cats check under a clock that jumps --------------------------------------------------

// Each run starts the display at a random moment and then reads the clock at ticks that mostly
// go forward by a few seconds but sometimes jump back (minutes, hours, across midnight and the
// new year) or forward. The cats are due at the first tick whose minute lies three or more clock
// minutes after the start's, once.
TEST(GeneratedClockRuns, CatsWaitWhileTheClockIsSetBack) {
    Generator gen(kSeed + 2);
    Failures failures;
    int set_back = 0;
    int shown_after_set_back = 0;
    for (int run = 0; run < kClockRuns; ++run) {
        DisplayState state;
        state.dtStart = gen.Time();
        if (gen.Chance(0.1)) {  // just before a new year
            state.dtStart = LocalDateTime{2023 + static_cast<int32_t>(gen.Below(3)),
                                          12,
                                          31,
                                          23,
                                          58 + static_cast<int32_t>(gen.Below(2)),
                                          static_cast<int32_t>(gen.Below(60))};
        }
        const int64_t start_minute = ReferenceMinute(state.dtStart);
        int64_t now = start_minute * 60 + state.dtStart.second;  // seconds
        bool went_back = false;
        for (int tick = 0; tick < 40; ++tick) {
            switch (gen.Below(40)) {
                case 0:
                case 1:
                case 2:
                    now -= 60 * static_cast<int64_t>(1 + gen.Below(90));
                    went_back = true;
                    break;
                case 3:
                    now -= 86400 * static_cast<int64_t>(1 + gen.Below(400));
                    went_back = true;
                    break;
                case 4:
                case 5:
                case 6:
                case 7:
                    now += 60 * static_cast<int64_t>(1 + gen.Below(60));
                    break;
                default:
                    now += static_cast<int64_t>(gen.Below(40));
                    break;
            }
            using namespace std::chrono;
            const sys_seconds at{seconds{now}};
            const sys_days midnight = floor<days>(at);
            const year_month_day ymd{midnight};
            const hh_mm_ss<seconds> clock{at - midnight};
            const LocalDateTime t{static_cast<int32_t>(int{ymd.year()}),
                                  static_cast<int32_t>(unsigned{ymd.month()}),
                                  static_cast<int32_t>(unsigned{ymd.day()}),
                                  static_cast<int32_t>(clock.hours().count()),
                                  static_cast<int32_t>(clock.minutes().count()),
                                  static_cast<int32_t>(clock.seconds().count())};
            const bool expected = !state.blnCatsShown && ReferenceMinute(t) - start_minute >= 3;
            bool due = false;
            try {
                due = CatsDue(state, t);
            } catch (const std::exception& e) {
                failures.Add(std::string("the cats check failed: ") + e.what());
                break;
            }
            if (due != expected) {
                failures.Add("run " + std::to_string(run) + " tick " + std::to_string(tick) +
                             ": due " + std::to_string(due) + ", reference " +
                             std::to_string(expected) + " (" +
                             std::to_string(ReferenceMinute(t) - start_minute) +
                             " minutes after the start)");
                break;
            }
            if (due) {
                state.blnCatsShown = true;
                if (went_back) ++shown_after_set_back;
            }
        }
        if (went_back) ++set_back;
    }
    EXPECT_EQ(failures.count(), 0) << "of " << kClockRuns << " runs, seed " << kSeed + 2;
    EXPECT_GT(set_back, kClockRuns / 2);
    EXPECT_GT(shown_after_set_back, kClockRuns / 20);
}

}  // namespace
}  // namespace gloam
