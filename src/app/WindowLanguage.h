// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QCoreApplication;

namespace mirelune {

// Where the window's own translations are built in, as mirelune_<language>.qm.
inline constexpr char kTranslationFolder[] = ":/i18n";

// The language the window speaks: the first of the user's languages (in
// QLocale::uiLanguages() form, "de-DE" or "de") that is English or has a
// translation among translated ("de", "fr"). Empty means English, the
// texts as written: a user who puts English before German gets English.
QString WindowLanguage(const QStringList& userLanguages, const QStringList& translated);

// The languages the built-in translations cover.
QStringList TranslatedLanguages();

// Installs the window's translation for the user's languages and Qt's own,
// so the standard buttons speak the same language; owned by app. Returns the
// language chosen, empty for English. Only the window calls this: the
// command-line tool's output is read by scripts and stays English.
QString InstallWindowTranslations(QCoreApplication& app, const QStringList& userLanguages);

// How the window writes numbers and sizes for a window language (empty for
// English): the user's number locale when it speaks that language, so a
// Swiss or Canadian user keeps their conventions, otherwise the language's
// usual one. Translated words beside English numbers ("23.6 KiB" in a German
// window) would read as a mistake.
QLocale WindowLocale(const QString& language, const QLocale& numbers);

// The locale the environment asks numbers to be written in (LC_ALL, then
// LC_NUMERIC, then LANG). Not QLocale::system(): with LANGUAGE=de and
// LANG=en_US it is named German but writes numbers the English way.
QLocale NumberLocaleOfUser();

}  // namespace mirelune
