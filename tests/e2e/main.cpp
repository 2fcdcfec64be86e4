#include <cstdio>

#include "harness.h"
#include "result_printer.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    e2e::UseResultPrinterWithoutDebugger(::testing::UnitTest::GetInstance()->listeners());
    // Pixels, not scaled coordinates, in every window and pointer call.
    SetProcessDPIAware();
    // Listing the tests needs no program; running them does.
    if (GetFileAttributesW(e2e::ScrPath().c_str()) == INVALID_FILE_ATTRIBUTES &&
        !::testing::GTEST_FLAG(list_tests)) {
        std::fprintf(stderr, "gloam_e2e: %s not found (set GLOAM_SCR to use another)\n",
                     e2e::Narrow(e2e::ScrPath()).c_str());
        return 2;
    }
    return RUN_ALL_TESTS();
}
