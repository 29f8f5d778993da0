#include <new>

#include "common/DebugLog.h"
#include "common/ReportHeaders.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using DebugLog = SimTest;
using Lines = std::vector<std::string>;

TEST_F(DebugLog, EveryArgumentIsPrecededByATab) {
    DPrint();
    DPrint("");
    DPrint("a", "b");
    DPrint("n=", 42, " ", true, false, -7L);
    EXPECT_EQ((Lines{"", "\t", "\ta\tb", "\tn=\t42\t \tTrue\tFalse\t-7"}), lines());
}

TEST_F(DebugLog, InformationIsATitleLineAndADetailLine) {
    Info("GetCmdLine", "Command passed:  -rem");
    EXPECT_EQ((Lines{"\tGetCmdLine: Info", "\t\t- Command passed:  -rem"}), lines());
}

TEST_F(DebugLog, ErrorReportNamesProcedureNumberDescriptionAndParameters) {
    ReportError(report::kShellX, {53, "File not found"},
                {{"sShell", "reg.exe delete x"}, Labelled("Key", "HKLM\\A=B"), {"bWait", "True"}});
    EXPECT_EQ((Lines{"\tCommonModule\\ShellX VB ERROR: 53 File not found",
                     "\t\t- sShell=reg.exe delete x", "\t\t- Key: HKLM\\A=B", "\t\t- bWait=True"}),
              lines());
}

TEST_F(DebugLog, TrappedFailuresKeepTheirNumberAndText) {
    const auto trap = [](auto raise) {
        try {
            raise();
        } catch (...) {
            return CurrentError();
        }
        return TrappedError{};
    };
    const auto system = trap([] { ThrowSystemError(5); });
    EXPECT_EQ(5, system.number);
    EXPECT_EQ("Access is denied.", system.description);
    EXPECT_EQ(7, trap([] { throw std::bad_alloc(); }).number);
    EXPECT_EQ(13, trap([] { throw std::invalid_argument("x"); }).number);
    EXPECT_EQ(51, trap([] { throw 3; }).number);
}

}  // namespace
}  // namespace vx::test
