#include "reduce/EncoderCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "reduce/DeleteFileQuietly.h"
#include "shell/Failure.h"

namespace mirelune {

QString EncoderFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("lame.exe");
#else
    return QStringLiteral("lame");
#endif
}

QString EncoderFolderBase() {
    const QString temp = qEnvironmentVariable("TEMP");
    return temp.isEmpty() ? QDir::tempPath() : temp;
}

EncoderCopy::EncoderCopy(const QByteArray& bytes) {
    const QString base = EncoderFolderBase();
    dir_ = std::make_unique<QTemporaryDir>(QDir(base).filePath(QStringLiteral("mirelune-XXXXXX")));
    if (!dir_->isValid()) {
        throw Failure(QStringLiteral("No private folder for the encoder can be made in %1: %2")
                          .arg(QDir::toNativeSeparators(base), dir_->errorString()));
    }
    // Absolute, so the program is found whatever the working folder becomes.
    folder_ = QDir::toNativeSeparators(QFileInfo(dir_->path()).absoluteFilePath());
    // mkdtemp already makes the folder owner-only; saying so again costs
    // nothing and does not depend on how the folder was made.
    QFile::setPermissions(dir_->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    const QString program = dir_->filePath(EncoderFileName());
    QFile file(program);
    // NewOnly: the name must not exist yet, so nothing that appeared in the
    // folder is ever followed or reused.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        remove();
        throw Failure(QStringLiteral("The encoder cannot be written to %1: %2")
                          .arg(QDir::toNativeSeparators(program), reason));
    }
    file.close();
    if (!QFile::setPermissions(
            program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        remove();
        throw Failure(QStringLiteral("The encoder at %1 cannot be made runnable.")
                          .arg(QDir::toNativeSeparators(program)));
    }
    path_ = QDir::toNativeSeparators(QFileInfo(program).absoluteFilePath());
}

EncoderCopy::~EncoderCopy() {
    remove();
}

void EncoderCopy::remove() noexcept {
    if (!dir_) {
        return;
    }
    DeleteFileQuietly(dir_->filePath(EncoderFileName()));
    dir_->remove();
    dir_.reset();
    path_.clear();
}

}  // namespace mirelune
