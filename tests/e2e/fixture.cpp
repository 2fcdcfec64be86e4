#include "fixture.h"

#include "environment.h"
#include "input.h"
#include "process.h"
#include "registry.h"
#include "window_query.h"

namespace e2e {

void ScrTest::SetUp() {
    ResetProgramRegistry();
    const bool clear = WaitUntil(
        [] {
            return FindTopLevelWindows(L"", kDisplayClass).empty() &&
                   FindTopLevelWindows(L"", kCoverClass).empty() &&
                   FindTopLevelWindows(L"", kConfigClass).empty() &&
                   FindTopLevelWindows(kDisplayTitle, L"").empty() &&
                   FindTopLevelWindows(kConfigTitle, L"").empty();
        },
        5s);
    ASSERT_TRUE(clear) << "a window of GloamDrift (or one with its title) is already open; "
                          "a left-over process from an earlier run?";
    const ScreenSize screen = PrimaryScreen();
    centre_ = {screen.width / 2, screen.height / 2};
    MoveCursorTo(centre_.x, centre_.y);
}

void ScrTest::TearDown() {
    ResetProgramRegistry();
}

std::string CommandName(std::wstring_view command_text) {
    if (command_text.empty()) return "empty";
    std::string name;
    const auto word = [&name](const std::string& w) {
        if (!name.empty() && name.back() != '_') name += '_';
        name += w;
        name += '_';
    };
    for (const wchar_t c : command_text) {
        if ((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) {
            name += static_cast<char>(c);
            continue;
        }
        switch (c) {
            case L'/':
                word("slash");
                break;
            case L' ':
                word("blank");
                break;
            case L':':
                word("colon");
                break;
            case L'-':
                word("dash");
                break;
            default: {
                std::string code = "u";
                code += std::to_string(static_cast<unsigned>(c));
                word(code);
                break;
            }
        }
    }
    if (name.back() == '_') name.pop_back();
    return name;
}

}  // namespace e2e
