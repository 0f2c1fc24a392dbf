// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QCoreApplication>
#include <QTranslator>

#include "app/WindowLanguage.h"
#include "app/WindowTestSupport.h"
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
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InstallWindowTranslations(*qApp, c.user), c.language);
        EXPECT_EQ(QCoreApplication::translate("Form1", "Clear List"), c.clearList);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), c.yes);
        RemoveInstalledTranslations();
    }
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
