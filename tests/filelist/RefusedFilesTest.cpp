// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/RefusedFiles.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

#include "support/FakeWindowLayer.h"
#include "support/ListTestSupport.h"

namespace mirelune {
namespace {

// count files, the first with reason.
RefusedFiles Refusing(int count, const QString& reasonOfFirst = QString()) {
    RefusedFiles refused;
    for (int k = 1; k <= count; ++k) {
        refused.add(QStringLiteral("/m/%1.jpg").arg(k), k == 1 ? reasonOfFirst : QString());
    }
    return refused;
}

TEST(RefusedFiles, OneTextNamesUpToTwentyPathsInTheOrderMet) {
    QStringList twenty;
    for (int k = 1; k <= 20; ++k) {
        twenty.append(QStringLiteral("/m/%1.jpg").arg(k));
    }
    const struct {
        RefusedFiles refused;
        QString text;
    } cases[] = {
        {Refusing(0), ""},
        {Refusing(1, "out of range"), "Not a valid MP3 file\r\n/m/1.jpg (out of range)"},
        {Refusing(2, "overflow"),
         "2 files are not valid MP3 files:\r\n/m/1.jpg (overflow)\r\n/m/2.jpg"},
        {Refusing(20), "20 files are not valid MP3 files:\r\n" + twenty.join("\r\n")},
        {Refusing(2000),
         "2000 files are not valid MP3 files:\r\n" + twenty.join("\r\n") + "\r\nand 1980 more"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused.entries().size());
        EXPECT_EQ(c.refused.summaryText(), c.text);
    }
    // Beside a file left out for what it is, a malformed one says both.
    RefusedFiles mixed = Refusing(1, "out of range");
    mixed.leaveOut(QStringLiteral("/m/gone.mp3"), QStringLiteral("no longer exists"));
    EXPECT_EQ(mixed.summaryText(),
              "2 files were left out:\r\n/m/1.jpg (not a valid MP3 file: out of range)\r\n"
              "/m/gone.mp3 (no longer exists)");
}

TEST(RefusedFiles, ShowsOnePlainBoxOnlyWhenSomethingWasRefusedAndTheWindowStays) {
    test::FakeWindowLayer window;
    Refusing(0).show(window);
    EXPECT_TRUE(window.boxes().empty());

    Refusing(3).show(window);
    EXPECT_EQ(window.boxes(),
              (std::vector<test::Box>{{window.applicationTitle(), Refusing(3).summaryText(),
                                       MessageButtons::Ok, MessageIcon::None}}));

    window.setClosing();
    Refusing(3).show(window);
    EXPECT_EQ(window.boxes().size(), 1u);
}

}  // namespace
}  // namespace mirelune
