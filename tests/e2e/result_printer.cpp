#include "result_printer.h"

#include <cstdio>
#include <memory>

namespace e2e {
namespace {

using ::testing::TestEventListener;

class ResultPrinter : public TestEventListener {
  public:
    explicit ResultPrinter(TestEventListener* inner) : inner_(inner) {}

    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (result.type() == ::testing::TestPartResult::kSuccess) return;
        std::printf("%s:%d: %s\n%s\n", result.file_name() ? result.file_name() : "unknown file",
                    result.line_number(), result.skipped() ? "Skipped" : "Failure",
                    result.message());
        std::fflush(stdout);
    }

    void OnTestProgramStart(const ::testing::UnitTest& u) override {
        inner_->OnTestProgramStart(u);
    }
    void OnTestIterationStart(const ::testing::UnitTest& u, int i) override {
        inner_->OnTestIterationStart(u, i);
    }
    void OnEnvironmentsSetUpStart(const ::testing::UnitTest& u) override {
        inner_->OnEnvironmentsSetUpStart(u);
    }
    void OnEnvironmentsSetUpEnd(const ::testing::UnitTest& u) override {
        inner_->OnEnvironmentsSetUpEnd(u);
    }
    void OnTestSuiteStart(const ::testing::TestSuite& s) override { inner_->OnTestSuiteStart(s); }
    void OnTestCaseStart(const ::testing::TestCase& s) override { inner_->OnTestCaseStart(s); }
    void OnTestStart(const ::testing::TestInfo& t) override { inner_->OnTestStart(t); }
    void OnTestDisabled(const ::testing::TestInfo& t) override { inner_->OnTestDisabled(t); }
    void OnTestEnd(const ::testing::TestInfo& t) override { inner_->OnTestEnd(t); }
    void OnTestSuiteEnd(const ::testing::TestSuite& s) override { inner_->OnTestSuiteEnd(s); }
    void OnTestCaseEnd(const ::testing::TestCase& s) override { inner_->OnTestCaseEnd(s); }
    void OnEnvironmentsTearDownStart(const ::testing::UnitTest& u) override {
        inner_->OnEnvironmentsTearDownStart(u);
    }
    void OnEnvironmentsTearDownEnd(const ::testing::UnitTest& u) override {
        inner_->OnEnvironmentsTearDownEnd(u);
    }
    void OnTestIterationEnd(const ::testing::UnitTest& u, int i) override {
        inner_->OnTestIterationEnd(u, i);
    }
    void OnTestProgramEnd(const ::testing::UnitTest& u) override { inner_->OnTestProgramEnd(u); }

  private:
    std::unique_ptr<TestEventListener> inner_;
};

}  // namespace

void UseResultPrinterWithoutDebugger(::testing::TestEventListeners& listeners) {
    if (TestEventListener* printer = listeners.Release(listeners.default_result_printer())) {
        listeners.Append(new ResultPrinter(printer));
    }
}

}  // namespace e2e
