// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the reduction tests: stand-in encoders, real MP3 files made with
// our tone generator and LAME, a fake main window for the job, and small file
// helpers.

#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <string>
#include <vector>

#include "reduce/ReduceJobView.h"
#include "shell/Failure.h"
#include "shell/PathHelpers.h"
#include "support/FakeWindowLayer.h"
#include "support/Mp3Bytes.h"
#include "support/ScratchDir.h"

namespace mirelune::test {

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw Failure(QStringLiteral("test setup: cannot write ") + path);
    }
}

// Every entry of a folder, hidden ones included, sorted.
// Leftovers are shown too; the folder of records of results is not (its own
// tests read it).
inline QStringList EntriesOf(const QString& folder) {
    QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    entries.removeAll(QLatin1String(kRecordFolderName));
    return entries;
}

// Every file under folder, relative to it and sorted, leftovers included;
// the records of results are left out.
inline QStringList FilesUnder(const QString& folder) {
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(folder).relativeFilePath(it.next());
        if (!relative.startsWith(QLatin1String(kRecordFolderName) + QLatin1Char('/'))) {
            found.append(relative);
        }
    }
    found.sort();
    return found;
}

// A valid MP3 stream made by hand: frameCount frames at 128 kbps. Different
// counts give different files.
inline QByteArray HandMadeMp3(int frameCount) {
    const Bytes bytes = Frames(kMpeg1L3At128, 417, frameCount);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

// A shell script that stands in for the encoder. It receives the encoder's
// seven arguments: $6 is the source, $7 the temporary output. body is the
// script after the "#!/bin/sh" line; like the real encoder, the script
// answers --version (which the job asks once, to see that it can run it)
// without running body.
inline QByteArray StandIn(const QString& body) {
    return (QStringLiteral("#!/bin/sh\n[ \"$1\" = --version ] && exit 0\n") + body +
            QLatin1Char('\n'))
        .toUtf8();
}

// Shell single quotes around a path the test made.
inline QString ShellQuoted(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

inline std::string Lame() {
    const char* configured = std::getenv("MIRELUNE_TEST_LAME");
    return configured != nullptr && *configured != '\0' ? configured : "lame";
}

// A real MP3 file: a tone of the given length encoded by LAME with lameArgs.
inline QString MakeMp3(const ScratchDir& dir, const std::string& name, double seconds,
                       const std::string& lameArgs, int frequency = 440) {
    const std::string wav = dir.file(name + ".wav");
    const std::string mp3 = dir.file(name);
    const std::string tone = std::string(MIRELUNE_MAKE_TONE) + " '" + wav + "' " +
                             std::to_string(seconds) + " 44100 2 " + std::to_string(frequency);
    const std::string encode = Lame() + " --quiet " + lameArgs + " '" + wav + "' '" + mp3 + "'";
    if (std::system(tone.c_str()) != 0 || std::system(encode.c_str()) != 0) {
        throw Failure(QStringLiteral("test setup: cannot make ") + Q(mp3));
    }
    std::remove(wav.c_str());
    return Q(mp3);
}

// A pid that no process has: a child that has ended and been waited for.
inline qint64 DeadPid() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// A plain message as the job shows it: OK, no icon, the application title.
inline Box Plain(const QString& text) {
    return {QStringLiteral("Mirelune"), text, MessageButtons::Ok, MessageIcon::None};
}

// The main window as the job sees it, recording what the job did to it.
class FakeJobView : public ReduceJobView {
  public:
    FakeJobView() {
        options_.entryText = QStringLiteral("Reduce to 128 kbps");
        options_.option1 = true;
    }

    std::vector<QString> rows;
    ReduceOptions& options() { return options_; }
    FakeWindowLayer& layer() { return layer_; }

    std::vector<int> values;           // every value set, in order
    std::vector<QString> texts;        // every caption set, in order
    std::vector<bool> pointers;        // every busy-pointer change, in order
    std::vector<bool> optionsEnabled;  // every change, in order

    int rowCount() const override { return static_cast<int>(rows.size()); }
    QString rowText(int row) const override {
        if (row < 1 || row > rowCount()) {
            throw Failure(QStringLiteral("Index out of bounds"));
        }
        return rows[static_cast<std::size_t>(row - 1)];
    }
    ReduceOptions options() const override { return options_; }
    void setOptionsEnabled(bool enabled) override { optionsEnabled.push_back(enabled); }
    void setBusyPointer(bool busy) override { pointers.push_back(busy); }
    WindowLayer& window() override { return layer_; }

    int progressValue() const override { return value_; }
    void setProgressValue(int value) override {
        value_ = value;
        values.push_back(value);
    }
    QString progressText() const override { return text_; }
    void setProgressText(const QString& text) override {
        text_ = text;
        texts.push_back(text);
    }

  private:
    ReduceOptions options_;
    FakeWindowLayer layer_;
    int value_ = 0;
    QString text_ = QStringLiteral("Progress Bar");
};

}  // namespace mirelune::test
