// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdexcept>

#include "shell/ErrorLocations.h"
#include "shell/ErrorReport.h"
#include "shell/Failure.h"
#include "support/FakeWindowLayer.h"

namespace mirelune {
namespace {

TEST(ErrorReport, TextIsBuiltByteForByte) {
    struct Case {
        const char* supportAddress;
        const char* expected;
    };
    const Case cases[] = {
        {"help@example.org",
         "File not found\r\n"
         "in Quillbrook2021/08/31.Form1.PushButton2_Click at line 152\r\r"
         "Please email screenshot of this message to help@example.org"},
        // A build that names no address asks nobody for an e-mail.
        {"",
         "File not found\r\n"
         "in Quillbrook2021/08/31.Form1.PushButton2_Click at line 152"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.supportAddress);
        const QString text =
            ErrorReportText(QStringLiteral("File not found"),
                            QString::fromUtf8(location::kPushButton2Click), 152, c.supportAddress);
        EXPECT_EQ(text.toStdString(), c.expected);
    }
}

TEST(ErrorReport, IsAnOkBoxWithWarningIconTitledApplicationError) {
    test::FakeWindowLayer window;
    window.setApplicationTitle(QStringLiteral("Not this title"));

    ShowErrorReport(window, QStringLiteral("Overflow"), QString::fromUtf8(location::kFormLoad),
                    170);

    ASSERT_EQ(window.boxes().size(), 1u);
    const test::Box& box = window.boxes()[0];
    EXPECT_EQ(box.title, QStringLiteral("Application Error"));
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(box.text, ErrorReportText(QStringLiteral("Overflow"),
                                        QString::fromUtf8(location::kFormLoad), 170));
}

TEST(ErrorReport, LocationTextsNameTheOperationAndEndInABlank) {
    const std::pair<const char*, const char*> cases[] = {
        {location::kFormLoad, "in Quillbrook2021/08/31.Form1.Form_Load "},
        {location::kFormQueryUnload, "in Quillbrook2021/08/31.Form1.Form_QueryUnload "},
        {location::kPushButton1Click, "in Quillbrook2021/08/31.Form1.PushButton1_Click "},
        {location::kPushButton2Click, "in Quillbrook2021/08/31.Form1.PushButton2_Click "},
        {location::kPushButton3Click, "in Quillbrook2021/08/31.Form1.PushButton3_Click "},
        {location::kPushButton4Click, "in Quillbrook2021/08/31.Form1.PushButton4_Click "},
        {location::kPushButton5Click, "in Quillbrook2021/08/31.Form1.PushButton5_Click "},
        {location::kPushButton7Click, "in Quillbrook2021/08/31.Form1.PushButton7_Click "},
        {location::kGetSubDirectories2016,
         "in Harrowdene2021/08/31.AddFolder.GetSubDirectories2016 "},
    };
    for (const auto& [constant, expected] : cases) {
        EXPECT_STREQ(constant, expected);
    }
    EXPECT_EQ(location::FormHandler(QStringLiteral("ListView1_KeyDown")),
              QStringLiteral("in Quillbrook2021/08/31.Form1.ListView1_KeyDown "));
}

TEST(ErrorReport, DescribesEachKindOfFailure) {
    const auto describe = [](auto thrown) {
        try {
            throw thrown;
        } catch (...) {
            return DescribeFailure(std::current_exception());
        }
    };

    EXPECT_EQ(describe(std::out_of_range("index out of range")),
              QStringLiteral("index out of range"));
    EXPECT_EQ(describe(Failure(QStringLiteral("Dossier « Musique » introuvable"))),
              QStringLiteral("Dossier « Musique » introuvable"));
    // Whatever is thrown, the user gets a sentence, never an empty line.
    EXPECT_EQ(describe(42), QStringLiteral("Unexpected failure of unknown kind"));
    EXPECT_EQ(DescribeFailure(nullptr), QStringLiteral("Unexpected failure of unknown kind"));
}

}  // namespace
}  // namespace mirelune
