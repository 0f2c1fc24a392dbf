// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the main window with the given MP3 files listed into a PNG file:
//
//     mirelune_window_screenshot window.png song1.mp3 song2.mp3 ...
//
// With MIRELUNE_SCREENSHOT_BOXES set to a folder, the window's main boxes
// are drawn there as well, one PNG each. The window speaks the user's
// language as the program does (LANGUAGE=de, for example). The settings go
// to a temporary folder, so the user's own are untouched.
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/Form1.h"
#include "app/QtWindowLayer.h"
#include "app/WindowLanguage.h"
#include "filelist/FileListFiller.h"
#include "filelist/FolderScan.h"
#include "filelist/SampleFiles.h"
#include "reduce/DoneMessage.h"
#include "reduce/ReductionOutcome.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorReport.h"

namespace {

// Draws the box that opens next into folder/name.png, then closes it.
void GrabNextBox(const QString& folder, const QString& name) {
    QTimer::singleShot(300, [folder, name] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) {
            std::fprintf(stderr, "no box for %s\n", qUtf8Printable(name));
            return;
        }
        box->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
        box->close();
    });
}

void DrawBoxes(mirelune::Form1& form, const QString& folder) {
    using namespace mirelune;
    WindowLayer& window = form.windowLayer();
    const QString song = QStringLiteral("/home/user/Music/Album/01 Song.mp3");
    GrabNextBox(folder, QStringLiteral("done"));
    window.showMessage(
        DoneMessage(window.locale(), {{{song, reason::EncoderFailed(1, QString())}},
                                      {{song, reason::Exists()}, {song, reason::Outdated()}},
                                      {},
                                      {{song, reason::ResultOf(song)}}}));
    GrabNextBox(folder, QStringLiteral("replace"));
    window.messageBox(ReplaceQuestion(3, true), window.applicationTitle(),
                      MessageButtons::YesNoCancel, MessageIcon::Question);
    GrabNextBox(folder, QStringLiteral("extension"));
    window.inputBox(QCoreApplication::translate("FolderScan", kExtensionPrompt),
                    window.applicationTitle(), QStringLiteral("mp3"));
    GrabNextBox(folder, QStringLiteral("samples"));
    window.messageBox(QCoreApplication::translate("SampleFiles", kOpenSampleFolderQuestion),
                      window.applicationTitle(), MessageButtons::YesNo, MessageIcon::Question);
    RefusedFiles refused;
    refused.add(song, QString());
    refused.leaveOut(QStringLiteral("/home/user/Music/Gone.mp3"),
                     QCoreApplication::translate("SampleFiles", "no longer exists"));
    GrabNextBox(folder, QStringLiteral("refused"));
    refused.show(window);
    GrabNextBox(folder, QStringLiteral("error"));
    ShowErrorReport(
        window,
        QCoreApplication::translate("Form1", "There is no entry %1 in the list of bitrates.")
            .arg(14),
        QStringLiteral("in Quillbrook2021/08/31.Form1.Form_Load "), 170);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    mirelune::InstallWindowTranslations(app, QLocale().uiLanguages());
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
        const QString boxes = qEnvironmentVariable("MIRELUNE_SCREENSHOT_BOXES");
        if (!boxes.isEmpty()) {
            DrawBoxes(form, boxes);
        }
        app.quit();
    });
    app.exec();
    return status;
}
