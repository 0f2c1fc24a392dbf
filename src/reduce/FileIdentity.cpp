#include "reduce/FileIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace mirelune {

std::optional<QString> FileIdentity(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(u'\0'))) {
        return std::nullopt;
    }
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return std::nullopt;
    }
    return QString::number(static_cast<qulonglong>(status.st_dev)) + QLatin1Char(':') +
           QString::number(static_cast<qulonglong>(status.st_ino));
#else
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty()) {
        return std::nullopt;
    }
    return canonical.toCaseFolded();
#endif
}

bool IsSameFile(const QString& a, const QString& b) {
    if (a == b) {
        return true;
    }
    const std::optional<QString> first = FileIdentity(a);
    return first && first == FileIdentity(b);
}

QString PlaceKey(const QString& path) {
    const QFileInfo info(path);
    QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty()) {
        folder = QDir::cleanPath(info.absolutePath());
    }
    return folder + QLatin1Char('/') + info.fileName();
}

}  // namespace mirelune
