// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "shell/SettingsConversions.h"

namespace mirelune {
namespace {

TEST(SettingsConversions, BooleansAreStoredAsTrueAndFalse) {
    EXPECT_EQ(BooleanText(true), QStringLiteral("True"));
    EXPECT_EQ(BooleanText(false), QStringLiteral("False"));
}

TEST(SettingsConversions, IndexReadsDecimalTextInThe16BitRange) {
    const std::pair<const char*, qint16> cases[] = {
        {"8", 8},         {"0", 0},           {"13", 13}, {"-1", -1}, {"+7", 7},
        {"32767", 32767}, {"-32768", -32768}, {" 8 ", 8}, {"008", 8},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ToIndex16(QString::fromUtf8(text)), expected) << text;
    }
}

TEST(SettingsConversions, IndexRefusesAnythingElse) {
    const char* cases[] = {"abc",
                           "70000",
                           "-40000",
                           "32768",
                           "-32769",
                           "",
                           "8.5",
                           "1e3",
                           "0x10",
                           "8 kbps",
                           "99999999999999999999999"};
    for (const char* text : cases) {
        EXPECT_THROW(ToIndex16(QString::fromUtf8(text)), ConversionFailure) << text;
    }
}

TEST(SettingsConversions, BooleanReadsTrueFalseInAnyCaseOrANumber) {
    const std::pair<const char*, bool> cases[] = {
        {"True", true}, {"False", false}, {"true", true}, {"FALSE", false}, {" True ", true},
        {"1", true},    {"0", false},     {"-1", true},   {"2.5", true},    {"0.0", false},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ToBoolean(QString::fromUtf8(text)), expected) << text;
    }
}

TEST(SettingsConversions, BooleanRefusesAnythingElse) {
    const char* cases[] = {"yes", "no", "", "Tru", "True1", "nan", "inf", "on"};
    for (const char* text : cases) {
        EXPECT_THROW(ToBoolean(QString::fromUtf8(text)), ConversionFailure) << text;
    }
}

TEST(SettingsConversions, FailureTextNamesTheValueForTheReport) {
    try {
        ToIndex16(QStringLiteral("70000"));
        FAIL() << "70000 is outside the 16-bit range";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("\"70000\""), std::string::npos) << e.what();
    }
    try {
        ToBoolean(QStringLiteral("yes"));
        FAIL() << "yes is not a boolean text";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("\"yes\""), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace mirelune
