// gtest's own result printer, but for the messages of failures and skips, which it also hands to
// OutputDebugString. That call raises an exception for a debugger to see, and 32-bit Wine run
// through qemu-i386 (how a machine without IA-32 support runs 32-bit programs) dies dispatching
// it ("stack smashing detected"), leaving the program under test running. The messages are
// printed as gtest prints them, so ctest's skip and failure matching is unchanged.
#pragma once

#include <gtest/gtest.h>

namespace e2e {

// Replaces the default printer of `listeners` with one that wraps it.
void UseResultPrinterWithoutDebugger(::testing::TestEventListeners& listeners);

}  // namespace e2e
