#include "filelist/RefusedFiles.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

#include "support/FakeWindowLayer.h"
#include "support/ListTestSupport.h"

namespace mirelune {
namespace {

RefusedFiles Refusing(int count, const QString& reasonOfSecond = QString()) {
    RefusedFiles refused;
    for (int k = 1; k <= count; ++k) {
        refused.add(QStringLiteral("/m/%1.jpg").arg(k), k == 2 ? reasonOfSecond : QString());
    }
    return refused;
}

QString Lines(int from, int to) {
    QStringList lines;
    for (int k = from; k <= to; ++k) {
        lines.append(QStringLiteral("/m/%1.jpg").arg(k));
    }
    return lines.join("\r\n");
}

TEST(RefusedFiles, OneTextNamesUpToTwentyPathsInTheOrderMet) {
    const struct {
        const char* what;
        RefusedFiles refused;
        QString text;
    } cases[] = {
        {"nothing", Refusing(0), ""},
        {"one", Refusing(1), "Not a valid MP3 file\r\n/m/1.jpg"},
        {"one with its failure",
         [] {
             RefusedFiles one;
             one.add("/m/bad.mp3", "out of range");
             return one;
         }(),
         "Not a valid MP3 file\r\n/m/bad.mp3 (out of range)"},
        {"two, one with its failure", Refusing(2, "overflow"),
         "2 files are not valid MP3 files:\r\n/m/1.jpg\r\n/m/2.jpg (overflow)"},
        {"twenty", Refusing(20), "20 files are not valid MP3 files:\r\n" + Lines(1, 20)},
        {"twenty-one", Refusing(21),
         "21 files are not valid MP3 files:\r\n" + Lines(1, 20) + "\r\nand 1 more"},
        {"two thousand", Refusing(2000),
         "2000 files are not valid MP3 files:\r\n" + Lines(1, 20) + "\r\nand 1980 more"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.refused.summaryText(), c.text);
    }
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
