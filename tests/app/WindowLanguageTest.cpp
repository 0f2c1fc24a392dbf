// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QCoreApplication>
#include <QTranslator>
#include <optional>
#include <vector>

#include "app/WindowLanguage.h"
#include "app/WindowTestSupport.h"
#include "filelist/FileListFiller.h"
#include "mp3/MP3Info.h"
#include "reduce/DoneMessage.h"
#include "reduce/LargerResults.h"
#include "reduce/ReduceOptions.h"

namespace mirelune::test {
namespace {

TEST(WindowLanguage, IsTheFirstUserLanguageThatIsEnglishOrTranslated) {
    const QStringList translated{"de", "es", "fr"};
    const struct {
        QStringList user;
        QString expected;
    } cases[] = {
        {{"de-DE", "de"}, "de"},
        {{"fr_CA"}, "fr"},
        {{"ES"}, "es"},
        {{"pt-BR", "pt", "es-ES"}, "es"},
        {{"en-GB", "de-DE"}, ""},
        {{"ja-JP"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WindowLanguage(c.user, translated), c.expected) << c.user.join(',').toStdString();
    }
}

TEST(WindowLanguage, TheBuiltInTranslationsAreGermanSpanishAndFrench) {
    EXPECT_EQ(TranslatedLanguages(), QStringList({"de", "es", "fr"}));
}

void RemoveInstalledTranslations() {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

class TranslatedWindowTest : public WindowTest {
  protected:
    void TearDown() override { RemoveInstalledTranslations(); }
};

// The window's own texts and Qt's standard buttons speak the same language;
// English installs nothing, so every text stays as written.
TEST_F(TranslatedWindowTest, WindowTextsAndStandardButtonsFollowTheLanguage) {
    const struct {
        QStringList user;
        QString language, clearList, yes;
    } cases[] = {
        {{"de-DE"}, "de", "Liste leeren", "&Ja"},
        {{"es-ES"}, "es", "Vaciar la lista", "&Sí"},
        {{"fr-FR"}, "fr", "Vider la liste", "&Oui"},
        {{"en-US", "de-DE"}, "", "Clear List", "&Yes"},
        // Qt has Italian buttons, but the window speaks German.
        {{"it-IT", "it", "de-DE"}, "de", "Liste leeren", "&Ja"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InstallWindowTranslations(*qApp, c.user), c.language);
        EXPECT_EQ(QCoreApplication::translate("Form1", "Clear List"), c.clearList);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), c.yes);
        RemoveInstalledTranslations();
    }
}

TEST(WindowLocale, IsTheUsersNumberLocaleWhenItSpeaksTheWindowsLanguageElseTheLanguagesOwn) {
    const struct {
        QString language;
        QString numbers;
        QString expected;
    } cases[] = {
        {"de", "de_CH", "de_CH"}, {"de", "en_US", "de_DE"}, {"fr", "fr_CA", "fr_CA"},
        {"es", "C", "es_ES"},     {"", "en_GB", "en_GB"},   {"", "C", "en_US"},
        {"", "de_DE", "en_US"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WindowLocale(c.language, QLocale(c.numbers)).name(), c.expected)
            << c.language.toStdString() << " with " << c.numbers.toStdString();
    }
}

// LANGUAGE names what the window speaks, never how numbers are written.
TEST(WindowLocale, TheUsersNumberLocaleComesFromLcAllThenLcNumericThenLang) {
    const struct {
        const char* lcAll;
        const char* lcNumeric;
        const char* lang;
        QString expected;
    } cases[] = {
        {"", "", "en_US.UTF-8", "en_US"},
        {"", "de_CH.UTF-8", "en_US.UTF-8", "de_CH"},
        {"fr_CA.UTF-8", "de_CH.UTF-8", "en_US.UTF-8", "fr_CA"},
        {"", "", "", "C"},
    };
    const char* const variables[] = {"LC_ALL", "LC_NUMERIC", "LANG", "LANGUAGE"};
    std::vector<std::optional<QByteArray>> saved;
    for (const char* variable : variables) {
        saved.push_back(qEnvironmentVariableIsSet(variable)
                            ? std::optional<QByteArray>(qgetenv(variable))
                            : std::nullopt);
    }
    qputenv("LANGUAGE", "es:de");
    for (const auto& c : cases) {
        qputenv("LC_ALL", c.lcAll);
        qputenv("LC_NUMERIC", c.lcNumeric);
        qputenv("LANG", c.lang);
        EXPECT_EQ(NumberLocaleOfUser().name(), c.expected) << c.lcAll << c.lcNumeric << c.lang;
    }
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i]) {
            qputenv(variables[i], *saved[i]);
        } else {
            qunsetenv(variables[i]);
        }
    }
}

// The window writes its numbers and units as its language does; the command
// line, given the C locale, as it always has.
TEST_F(TranslatedWindowTest, BitratesSizesAndAnalysisFailuresSpeakTheWindowsLanguage) {
    const QString outOfRange =
        ToQString(scratch_.Write("out-of-range.mp3", Frames({0xFF, 0xF3, 0x10, 0x00}, 26, 3)));
    const struct {
        QString language;
        QString bitrate, sizes, failure, line, more;
    } cases[] = {
        {"", "128 kbps", "23.6 KiB → 3.1 MiB", "out of range", "a.mp3: r", "and 1,234 more"},
        {"de", "128 kbit/s", "23,6 KiB → 3,1 MiB", "außerhalb des Bereichs", "a.mp3: r",
         "und 1.234 weitere"},
        {"fr", "128 kbit/s", "23,6 Kio → 3,1 Mio", "hors limites", "a.mp3\u00A0: r",
         "et 1\u202F234 de plus"},
        {"es", "128 kbps", "23,6 KiB → 3,1 MiB", "fuera de rango", "a.mp3: r", "y 1234 más"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language.toStdString());
        InstallWindowTranslations(*qApp, {c.language.isEmpty() ? "en" : c.language});
        const QLocale locale = WindowLocale(c.language, QLocale::c());
        EXPECT_EQ(BitrateCellText(128000, locale), c.bitrate);
        EXPECT_EQ(SizeChange(locale, 24166, 3276800), c.sizes);
        mp3::MP3Info info;
        QString failure;
        EXPECT_FALSE(ReadsAsMp3(info, outOfRange, failure));
        EXPECT_EQ(failure, c.failure);
        std::vector<RowFailure> rows(kListedFailures + 1234, RowFailure{"a.mp3", "r"});
        const QStringList lines = DoneMessage(locale, {rows}).split('\n');
        EXPECT_EQ(lines.at(3), c.line);
        EXPECT_EQ(lines.last(), c.more);
        RemoveInstalledTranslations();
    }
    EXPECT_EQ(SizeChange(QLocale::c(), 24166, 3276800), "23.6 KiB → 3.1 MiB");
    EXPECT_EQ(BitrateCellText(128000, QLocale::c()), "128 kbps");
}

// The job parses the entry's words; a translated caption has other words.
TEST_F(TranslatedWindowTest, TheBitrateListShowsTranslatedEntriesButTheJobReadsTheEntry) {
    InstallWindowTranslations(*qApp, {"de-DE"});
    Form1& form = start();
    auto* combo = control<QComboBox>("Combo1");
    ASSERT_EQ(combo->count(), ReduceEntries().size());
    EXPECT_EQ(combo->itemText(0), "Auf 32 kbit/s verkleinern");
    EXPECT_EQ(combo->currentText(), "Auf 128 kbit/s verkleinern");
    EXPECT_EQ(form.reduceOptions().entryText, "Reduce to 128 kbps");
    combo->setCurrentIndex(13);
    EXPECT_EQ(TargetKbps(form.reduceOptions().entryText), 320);
}

}  // namespace
}  // namespace mirelune::test
