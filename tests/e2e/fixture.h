// The fixture every test of the program starts from, and readable names for parameterised cases.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "tests/case_name.h"

namespace e2e {

// Every test starts from a machine where the program never ran: no registry keys of its own, no
// window of it anywhere, the pointer resting at the centre of the primary monitor.
class ScrTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    POINT centre_{};
};

// A command text as a test name ("/c:1234" is "slash_c_colon_1234"; tests/case_name.h).
std::string CommandName(std::wstring_view command_text);

// Names cases whose parameter is a command text.
struct ByCommandText {
    std::string operator()(const ::testing::TestParamInfo<const wchar_t*>& info) const {
        return CommandName(info.param);
    }
};

using gloam_tests::ByName;

}  // namespace e2e
