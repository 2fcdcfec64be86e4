#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>

namespace gloam {
namespace {

// Texts the program shows or stores, in both encodings. Wide literals with \U are one wchar_t on
// Linux and a surrogate pair on Windows, as each platform's wchar_t holds them.
struct Pair {
    const char* utf8;
    const wchar_t* wide;
};
constexpr Pair kPairs[] = {
    {"", L""},
    {"Speed", L"Speed"},
    {"\xE8\xA8\xAD\xE5\xAE\x9A", L"\x8A2D\x5B9A"},           // 設定
    {"\xEF\xBD\xB7\xEF\xBD\xAC", L"\xFF77\xFF6C"},           // ｷｬ (half-width)
    {"\xC3\xA9", L"\xE9"},                                   // é
    {"\xF0\x9F\x90\xB1", L"\U0001F431"},                     // beyond the 16-bit plane
    {"Gloam Drift Screen Saver - \xE8\xA8\xAD\xE5\xAE\x9A",  // the dialog's title
     L"Gloam Drift Screen Saver - \x8A2D\x5B9A"},
};

TEST(TextConversion, Utf8AndWideAgreeBothWays) {
    for (const Pair& p : kPairs) {
        EXPECT_EQ(Utf8Of(p.wide), p.utf8) << p.utf8;
        EXPECT_EQ(Utf16Of(p.utf8), p.wide) << p.utf8;
    }
}

TEST(TextConversion, ASurrogatePairIsOneCharacter) {
    const wchar_t pair[] = {0xD83D, 0xDC31, 0};
    EXPECT_EQ(Utf8Of(pair), "\xF0\x9F\x90\xB1");
}

TEST(TextConversion, WhatCannotBeConvertedShowsAsTheReplacementCharacter) {
    const std::string replacement = "\xEF\xBF\xBD";
    // A lone surrogate has no UTF-8 form.
    const wchar_t lone[] = {L'a', 0xD83D, L'b', 0};
    EXPECT_EQ(Utf8Of(lone), "a" + replacement + "b");

    struct Case {
        const char* utf8;
        const wchar_t* wide;
    };
    const Case malformed[] = {
        {"a\x80z", L"a\xFFFDz"},                            // a continuation byte alone
        {"a\xE8\xA8", L"a\xFFFD\xFFFD"},                    // cut short at the end
        {"\xE8\x41", L"\xFFFD\x41"},                        // cut short by an ASCII letter
        {"\xC0\xAF", L"\xFFFD\xFFFD"},                      // overlong '/'
        {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},            // an encoded surrogate
        {"\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},  // beyond U+10FFFF
        {"\xFF", L"\xFFFD"},
    };
    for (const Case& c : malformed) EXPECT_EQ(Utf16Of(c.utf8), c.wide) << c.utf8;
}

TEST(TextConversion, AsciiKeepsAsciiAndMarksTheRest) {
    EXPECT_EQ(AsciiOf(L" 1.5e3x"), " 1.5e3x");
    // Full-width digits and other letters never pass for digits.
    EXPECT_EQ(AsciiOf(L"\xFF11\x8A2D"), "??");
    EXPECT_EQ(AsciiOf(L"2\x00B2"), "2?");
}

}  // namespace
}  // namespace gloam
