// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace mirelune {
namespace {

constexpr char kOwnPrefix[] = "mirelune_";

// "de-DE", "de_DE" and "de" all speak "de".
QString LanguageOf(const QString& uiLanguage) {
    qsizetype end = 0;
    while (end < uiLanguage.size() && uiLanguage.at(end) != QLatin1Char('-') &&
           uiLanguage.at(end) != QLatin1Char('_')) {
        ++end;
    }
    return uiLanguage.left(end).toLower();
}

bool Install(QCoreApplication& app, const QString& file, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder)) {
        return false;
    }
    translator->setParent(&app);
    return QCoreApplication::installTranslator(translator.release());
}

}  // namespace

QString WindowLanguage(const QStringList& userLanguages, const QStringList& translated) {
    for (const QString& uiLanguage : userLanguages) {
        const QString language = LanguageOf(uiLanguage);
        if (language == QLatin1String("en")) {
            return {};
        }
        if (translated.contains(language)) {
            return language;
        }
    }
    return {};
}

QLocale WindowLocale(const QString& language, const QLocale& numbers) {
    const QLocale spoken(language.isEmpty() ? QStringLiteral("en") : language);
    return numbers.language() == spoken.language() ? numbers : spoken;
}

QLocale NumberLocaleOfUser() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty()) {
            return QLocale(name);
        }
    }
    return QLocale::c();
}

QStringList TranslatedLanguages() {
    const QString prefix = QString::fromLatin1(kOwnPrefix);
    QStringList languages;
    const QDir folder(QString::fromLatin1(kTranslationFolder));
    for (const QString& name : folder.entryList({prefix + QStringLiteral("*.qm")}, QDir::Files)) {
        languages.append(name.mid(prefix.size(), name.size() - prefix.size() - 3));
    }
    return languages;
}

QString InstallWindowTranslations(QCoreApplication& app, const QStringList& userLanguages) {
    const QString language = WindowLanguage(userLanguages, TranslatedLanguages());
    if (language.isEmpty()) {
        return {};
    }
    // Without Qt's own file (qt6-translations-l10n is only recommended) the
    // window is still translated; only the standard buttons stay English.
    Install(app, QStringLiteral("qtbase_") + language,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    Install(app, QString::fromLatin1(kOwnPrefix) + language,
            QString::fromLatin1(kTranslationFolder));
    return language;
}

}  // namespace mirelune
