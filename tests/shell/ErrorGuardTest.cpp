// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QObject>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/Failure.h"
#include "support/FakeWindowLayer.h"

namespace mirelune {
namespace {

using test::Box;

class ErrorGuardTest : public ::testing::Test {
  protected:
    static Box ReportBox(const char* failure, const QString& location, int step) {
        return Box{QStringLiteral("Application Error"),
                   ErrorReportText(QString::fromUtf8(failure), location, step), MessageButtons::Ok,
                   MessageIcon::Warning};
    }

    const QString jobLocation = QString::fromUtf8(location::kPushButton2Click);
    test::FakeWindowLayer window;
    std::vector<std::string> trace;
};

[[noreturn]] void Fail(const char* text) {
    throw Failure(QString::fromUtf8(text));
}

// Three calls deep, none guarded: the failure surfaces in the calling step.
int ReadRow(int row) {
    if (row > 2) {
        throw std::out_of_range("index out of range");
    }
    return row;
}
int ReadRowText(int row) {
    return ReadRow(row) * 10;
}
int ReadSourcePath(int row) {
    return ReadRowText(row) + 1;
}

TEST_F(ErrorGuardTest, FailedStepIsReportedAndTheNextStepRuns) {
    int output = 7;
    ErrorGuard g(window, jobLocation);
    g.step(100, [&] { trace.push_back("100"); });
    g.step(102, [&] {
        trace.push_back("102 begun");
        output = ReadSourcePath(5);
        trace.push_back("102 finished");
    });
    g.step(104, [&] { trace.push_back("104"); });

    EXPECT_EQ(trace, (std::vector<std::string>{"100", "102 begun", "104"}));
    EXPECT_EQ(output, 7) << "a failed step leaves what it would have set";
    EXPECT_EQ(window.boxes(),
              (std::vector<Box>{ReportBox("index out of range", jobLocation, 102)}));
}

TEST_F(ErrorGuardTest, StepsWithoutFailureShowNothing) {
    ErrorGuard g(window, jobLocation);
    g.step(100, [&] { trace.push_back("100"); });
    EXPECT_EQ(g.currentStep(), 100);
    EXPECT_TRUE(window.interactions().empty());
}

TEST_F(ErrorGuardTest, TestsChooseTheirBranchAndAFailedTestTakesTheThenBranch) {
    struct Case {
        const char* name;
        std::function<bool()> predicate;
        const char* branch;
        std::size_t boxes;
    };
    const Case cases[] = {
        {"true", [] { return true; }, "then", 0},
        {"false", [] { return false; }, "else", 0},
        {"throws", []() -> bool { Fail("Type mismatch"); }, "then", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.clearRecord();
        ErrorGuard g(window, QString::fromUtf8(location::kPushButton4Click));
        const char* branch = g.test(100, c.predicate) ? "then" : "else";
        EXPECT_STREQ(branch, c.branch);
        ASSERT_EQ(window.boxes().size(), c.boxes);
    }
    EXPECT_EQ(window.boxes()[0],
              ReportBox("Type mismatch", QString::fromUtf8(location::kPushButton4Click), 100));
}

TEST_F(ErrorGuardTest, CalleeFailureCarriesTheCallersLocationAndCurrentStep) {
    ErrorGuard g(window, jobLocation);
    g.step(116, [] {});
    g.step(118, [&] { ReadSourcePath(3); });

    ASSERT_EQ(window.boxes().size(), 1u);
    EXPECT_EQ(window.boxes()[0], ReportBox("index out of range", jobLocation, 118));
}

TEST_F(ErrorGuardTest, GuardedCalleeReportsItselfAndItsCallerGoesOn) {
    const QString walk = QString::fromUtf8(location::kGetSubDirectories2016);
    const QString scan = QString::fromUtf8(location::kPushButton3Click);
    const auto collectSubFolders = [&] {
        ErrorGuard inner(window, walk);
        inner.step(108, [] { Fail("Permission denied"); });
        inner.step(110, [&] { trace.push_back("inner 110"); });
    };

    ErrorGuard outer(window, scan);
    outer.step(118, [&] {
        collectSubFolders();
        trace.push_back("outer 118 finished");
    });

    EXPECT_EQ(trace, (std::vector<std::string>{"inner 110", "outer 118 finished"}));
    EXPECT_EQ(window.boxes(), (std::vector<Box>{ReportBox("Permission denied", walk, 108)}));
}

TEST_F(ErrorGuardTest, FailureInsideALoopGoesOnWithTheNextRound) {
    ErrorGuard g(window, jobLocation);
    for (int row = 1; row <= 4; ++row) {
        int source = 0;
        g.step(118, [&] { source = ReadSourcePath(row); });
        g.step(152, [&] { trace.push_back("encode " + std::to_string(source)); });
    }

    // Row 3 and 4 fail to read; their encode steps still run with the value
    // the failed step did not replace.
    EXPECT_EQ(trace, (std::vector<std::string>{"encode 11", "encode 21", "encode 0", "encode 0"}));
    EXPECT_EQ(window.boxes(),
              (std::vector<Box>{ReportBox("index out of range", jobLocation, 118),
                                ReportBox("index out of range", jobLocation, 118)}));
}

TEST_F(ErrorGuardTest, TwoFailuresGiveTwoBoxesInOrder) {
    ErrorGuard g(window, jobLocation);
    g.step(104, [] { Fail("first"); });
    g.step(106, [] {});
    if (g.test(108, []() -> bool { Fail("second"); })) {
        trace.push_back("then");
    }

    EXPECT_EQ(trace, (std::vector<std::string>{"then"}));
    EXPECT_EQ(window.boxes(), (std::vector<Box>{ReportBox("first", jobLocation, 104),
                                                ReportBox("second", jobLocation, 108)}));
}

TEST_F(ErrorGuardTest, ReportsTheLastStepBegunWhenAStepContainsSteps) {
    ErrorGuard g(window, jobLocation);
    g.step(114, [&] {
        g.step(116, [] {});
        Fail("after the inner step");
    });
    EXPECT_EQ(window.boxes(),
              (std::vector<Box>{ReportBox("after the inner step", jobLocation, 116)}));
}

// A window layer whose boxes fail: nothing may escape the guard all the same.
class BrokenWindowLayer : public test::FakeWindowLayer {
  public:
    MessageAnswer messageBox(const QString&, const QString&, MessageButtons, MessageIcon) override {
        throw std::runtime_error("no display");
    }
};

TEST_F(ErrorGuardTest, AFailingReportBoxDoesNotStopTheOperation) {
    BrokenWindowLayer broken;
    ErrorGuard g(broken, jobLocation);
    g.step(100, [] { Fail("first"); });
    g.step(102, [&] { trace.push_back("102"); });
    EXPECT_EQ(trace, (std::vector<std::string>{"102"}));
    EXPECT_FALSE(CatchAll(broken, jobLocation, [] { Fail("again"); }));
}

TEST_F(ErrorGuardTest, CatchAllReportsUnguardedHandlersUnderTheirOwnName) {
    const QString handler = location::FormHandler(QStringLiteral("ListView1_KeyDown"));

    EXPECT_TRUE(CatchAll(window, handler, [&] { trace.push_back("ran"); }));
    EXPECT_FALSE(CatchAll(window, handler, [] { throw 7; }));

    EXPECT_EQ(trace, (std::vector<std::string>{"ran"}));
    EXPECT_EQ(window.boxes(),
              (std::vector<Box>{ReportBox("Unexpected failure of unknown kind", handler, 0)}));
}

TEST_F(ErrorGuardTest, CatchAllKeepsFailuresFromCrossingASignal) {
    const QString handler = location::FormHandler(QStringLiteral("Option1_Click"));
    QObject sender;
    QObject::connect(&sender, &QObject::objectNameChanged, [&](const QString& name) {
        CatchAll(window, handler, [&] { throw Failure(QStringLiteral("cannot save ") + name); });
    });

    sender.setObjectName(QStringLiteral("Option1"));

    EXPECT_EQ(window.boxes(), (std::vector<Box>{ReportBox("cannot save Option1", handler, 0)}));
}

}  // namespace
}  // namespace mirelune
