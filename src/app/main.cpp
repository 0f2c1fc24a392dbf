// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/ApplicationIcon.h"
#include "app/CloseOnSignal.h"
#include "app/Form1.h"
#include "app/QtWindowLayer.h"
#include "app/WindowCommandLine.h"
#include "app/WindowLanguage.h"
#include "shell/ApplicationTitle.h"
#include "shell/ProductInfo.h"

int main(int argc, char** argv) {
    // Read before QApplication exists, which needs a display.
    QStringList arguments;
    QList<QByteArray> rawArguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
        rawArguments.append(QByteArray(argv[i]));
    }
    const mirelune::WindowCommandLine commandLine =
        mirelune::ParseWindowCommandLine(arguments, QDir::currentPath(), rawArguments);
    if (commandLine.exitStatus) {
        std::fputs(commandLine.standardOutput.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.standardError.toLocal8Bit().constData(), stderr);
        return *commandLine.exitStatus;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(mirelune::kProductName));
    QApplication::setApplicationVersion(mirelune::ProductVersion());
    // Docks and task bars find the menu entry, and so the icon, by this name.
    QGuiApplication::setDesktopFileName(mirelune::ApplicationId());
    QApplication::setWindowIcon(mirelune::ApplicationIcon());
    // Read from LANGUAGE, LC_ALL, LC_MESSAGES and LANG, in that order; no
    // generated system locale is needed.
    const QString language = mirelune::InstallWindowTranslations(app, QLocale().uiLanguages());
    // Every widget's locale, and so the window's numbers, follow the language.
    QLocale::setDefault(mirelune::WindowLocale(language, mirelune::NumberLocaleOfUser()));
    // Before any job can write an encoder copy or a partial result.
    const mirelune::CloseOnSignal closeOnSignal;

    auto layer = std::make_unique<mirelune::QtWindowLayer>();
    mirelune::QtWindowLayer& dialogs = *layer;
    // The settings live in the user's configuration folder.
    mirelune::Form1 form(std::move(layer));
    dialogs.setOwner(&form);
    form.Form_Load();
    form.show();

    // Added once the window is up, so any box about a refused file has a
    // window to sit on.
    if (!commandLine.paths.isEmpty() || !commandLine.leftOut.isEmpty()) {
        QTimer::singleShot(0, &form, [&form, &commandLine] {
            form.OpenPaths(commandLine.paths, commandLine.leftOut);
        });
    }
    return app.exec();
}
