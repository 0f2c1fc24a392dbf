// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/NaturalNameOrder.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <clocale>

namespace mirelune {
namespace {

struct OrderCase {
    const char* what;
    const char* before;  // UTF-8
    const char* after;
};

// Each pair in the order a file manager shows it.
const OrderCase kOrdered[] = {
    {"digits by value", "Track 2", "Track 10"},
    {"digits by value, longer runs", "Track 99", "Track 100"},
    {"a number bigger than any integer type", "9999999999999999999999", "10000000000000000000000"},
    {"letter case ignored", "apple", "Banana"},
    {"letter case ignored, capital first", "Apple", "banana"},
    {"Unicode case folding", "\xC3\xA9t\xC3\xA9 1", "\xC3\x89T\xC3\x89 2"},
    {"case folding, not lower-casing: the final sigma is a sigma",
     "\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x9F\xCE\xA3 2", "\xCF\x83\xCE\xBF\xCF\x86\xCE\xBF\xCF\x82 10"},
    {"leading zeros only break a tie", "Track 01", "Track 1"},
    {"leading zeros do not outweigh the value", "Track 002", "Track 10"},
    {"same folded text: the bytes decide", "TRACK", "track"},
    {"same folded text: the bytes decide, beyond ASCII", "\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
    {"a prefix comes first", "Track", "Track 1"},
    {"digits before letters", "1 intro", "a song"},
    {"a space before digits", "Disc 1", "Disc1"},
    {"numbers inside the name", "a2b10", "a10b2"},
    {"later numbers when the first agree", "v1.2.9", "v1.2.10"},
    {"non-ASCII digits are plain characters", "Track \xD9\xA1\xD9\xA0", "Track \xD9\xA9"},
    {"empty name first", "", "a"},
};

TEST(NaturalNameLess, OrdersAsAFileManagerShows) {
    for (const OrderCase& c : kOrdered) {
        SCOPED_TRACE(c.what);
        const QString before = QString::fromUtf8(c.before);
        const QString after = QString::fromUtf8(c.after);
        EXPECT_TRUE(NaturalNameLess(before, after));
        EXPECT_FALSE(NaturalNameLess(after, before));
        EXPECT_FALSE(NaturalNameLess(before, before));
    }
}

TEST(NaturalNameLess, SortingGivesTheSameOrderInEveryLocale) {
    // "Track 1" and "track 01" are one name to the eye: their bytes decide.
    const QStringList expected{"Disc 1",  "disc 2",  "Disc 10",  "Track 1",  "track 01",
                               "track 2", "Track 3", "TRACK 12", "track 12", "track12"};
    QStringList shuffled{"track 12", "Track 3",  "disc 2",   "track12", "Track 1",
                         "Disc 10",  "TRACK 12", "track 01", "Disc 1",  "track 2"};
    for (const char* locale : {"C", "C.UTF-8", "tr_TR.UTF-8"}) {
        SCOPED_TRACE(locale);
        std::setlocale(LC_ALL, locale);
        QStringList names = shuffled;
        SortNaturally(names);
        EXPECT_EQ(names, expected);
        names = shuffled;
        std::sort(names.begin(), names.end(), NaturalNameLess);
        EXPECT_EQ(names, expected);
    }
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace mirelune
