// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QString>

#include "folders/NameRules.h"

namespace mirelune {
namespace {

struct NameCase {
    QString name;
    bool unsafe;
};

TEST(HasUnsafeNameChars, ControlCharactersOnCodePoints) {
    const NameCase cases[] = {
        {"plain name", false},
        {QString(QChar(0x01)) + "start", true},
        {"end" + QString(QChar(0x1F)), true},
        {"tab\there", true},
        {" ", false},
        {"tilde~", false},
        {"del" + QString(QChar(0x7F)), true},
        {"c1" + QString(QChar(0x80)), true},
        {"next line" + QString(QChar(0x85)), true},
        {"c1 end" + QString(QChar(0x9F)), true},
        {"no-break" + QString(QChar(0xA0)) + "space", false},
        {QString::fromUtf8("caf\xC3\xA9"), false},
        {QString::fromUtf8("en \xE2\x80\x93 dash and \xE2\x80\x9Cquotes\xE2\x80\x9D"), false},
        {QString::fromUtf8("music \xF0\x9F\x8E\xB5"), false},
        {"Who Are You?", false},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(HasUnsafeNameChars(c.name), c.unsafe) << c.name.toStdString();
    }
}

TEST(IsWalkableFolderName, DotNamesUnsafeNamesAndOverlongNamesAreRefused) {
    const struct {
        QString name;
        bool walkable;
    } cases[] = {
        {".", false},
        {"..", false},
        {"...", true},
        {".hidden", true},
        {"~backup", true},
        {"a?b", true},
        {QString(QChar(0x85)), false},
        {QString(255, QLatin1Char('x')), true},
        {QString(256, QLatin1Char('x')), false},
        // The limit counts the bytes the system stores: two per "é".
        {QString(128, QChar(0xE9)), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWalkableFolderName(c.name), c.walkable) << c.name.toStdString();
    }
}

}  // namespace
}  // namespace mirelune
