// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the main window with the given MP3 files listed into a PNG file:
//
//     mirelune_window_screenshot window.png song1.mp3 song2.mp3 ...
//
// The settings go to a temporary folder, so the user's own are untouched.
#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/Form1.h"
#include "app/QtWindowLayer.h"
#include "filelist/FileListFiller.h"
#include "shell/ErrorGuard.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [MP3 FILE...]\n", argv[0]);
        return 2;
    }
    QTemporaryDir settings;
    mirelune::Form1::Environment environment;
    environment.settingsFolder = settings.path();
    environment.drawPercent = [] { return 1; };
    auto layer = std::make_unique<mirelune::QtWindowLayer>();
    mirelune::QtWindowLayer& dialogs = *layer;
    mirelune::Form1 form(std::move(layer), environment);
    dialogs.setOwner(&form);
    form.Form_Load();

    mirelune::ErrorGuard guard(form.windowLayer(), "in WindowScreenshot ");
    mirelune::RefusedFiles refused;
    for (const QString& path : arguments.mid(2)) {
        mirelune::AddCandidateFile(guard, mirelune::CandidateStepsFrom(100), form.fileListFiller(),
                                   path, refused);
    }
    for (const mirelune::RefusedFiles::Entry& entry : refused.entries()) {
        std::fprintf(stderr, "not listed: %s\n", qUtf8Printable(entry.path));
    }
    form.show();
    int status = 1;
    QTimer::singleShot(500, &form, [&] {
        status = form.grab().save(arguments.at(1)) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return status;
}
