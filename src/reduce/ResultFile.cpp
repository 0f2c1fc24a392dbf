#include "reduce/ResultFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <filesystem>
#include <system_error>

#include "mp3/MP3Info.h"
#include "reduce/DeleteFileQuietly.h"
#include "reduce/ReductionOutcome.h"
#include "shell/PathHelpers.h"

namespace mirelune {
namespace {

QString RandomTag() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < 8; ++i) {
        tag += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(36)]);
    }
    return tag;
}

bool IsValidMp3(const QString& path) {
    try {
        mp3::MP3Info info;
        return info.ReadMP3Info(QFile::encodeName(path).toStdString());
    } catch (const std::exception&) {
        return false;  // the analysis gave up on it: not something we hand out
    }
}

}  // namespace

QString ResultFile::reserve() {
    const QString folder = FolderOf(output_);
    QString error;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Hidden, and not ending in ".mp3", so a leftover never passes for a
        // result.
        const QString candidate = folder + QLatin1Char('.') + FileNameOf(output_) +
                                  QLatin1Char('.') + RandomTag() + QStringLiteral(".part");
        QFile file(candidate);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            temporary_ = candidate;
            return {};
        }
        error = file.errorString();
        if (file.exists()) {
            continue;  // someone holds that name: draw another
        }
        break;
    }
    return reason::CannotMakeTemporary(folder.isEmpty() ? QStringLiteral(".") : folder, error);
}

QString ResultFile::accept() {
    if (temporary_.isEmpty()) {
        return reason::NotValidMp3();
    }
    if (!IsValidMp3(temporary_)) {
        discard();
        return reason::NotValidMp3();
    }
    std::error_code failure;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(temporary_).toStdString()),
                            std::filesystem::path(QFile::encodeName(output_).toStdString()),
                            failure);
    if (failure) {
        discard();
        return reason::CannotReplace(output_, QString::fromLocal8Bit(failure.message()));
    }
    temporary_.clear();
    return {};
}

void ResultFile::discard() noexcept {
    if (!temporary_.isEmpty()) {
        DeleteFileQuietly(temporary_);
        temporary_.clear();
    }
}

}  // namespace mirelune
