// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/TargetNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "shell/PathHelpers.h"
#include "shell/Place.h"

#ifdef Q_OS_LINUX
#include <linux/magic.h>
#include <sys/vfs.h>
#endif
#ifdef Q_OS_UNIX
#include <limits.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

bool IsAsciiLetterOrDigit(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
}

long NameLimit(const QString& folder) {
#ifdef Q_OS_UNIX
    const long limit = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return limit > 0 ? limit : NAME_MAX;
#else
    Q_UNUSED(folder);
    return 255;
#endif
}

// What a disk that takes every name answers: only the length, in bytes,
// can be wrong.
int KnownAnswer(const QString& folder, const QString& name) {
    return QFile::encodeName(name).size() > NameLimit(folder) ? ENAMETOOLONG : 0;
}

QString Joined(const QString& folder, const QString& name) {
    return CollapseSeparators(folder + QChar(kPathSeparator) + name);
}

QString WithoutLastCodePoint(const QString& text) {
    qsizetype end = text.size() - 1;
    if (end > 0 && text[end].isLowSurrogate() && text[end - 1].isHighSurrogate()) {
        --end;
    }
    return text.left(std::max<qsizetype>(end, 0));
}

}  // namespace

bool TakesEveryName(const QString& folder) {
#ifdef Q_OS_LINUX
    struct statfs status {};
    if (::statfs(QFile::encodeName(folder).constData(), &status) != 0) {
        return false;
    }
    switch (static_cast<unsigned long>(status.f_type)) {
        case EXT4_SUPER_MAGIC:  // ext2 and ext3 too
        case TMPFS_MAGIC:
        case BTRFS_SUPER_MAGIC:
        case XFS_SUPER_MAGIC:
            return true;
        default:
            return false;
    }
#else
    Q_UNUSED(folder);
    return false;
#endif
}

int TryName(NameProbe& probe, const QString& name) {
    if (TakesEveryName(probe.folder())) {
        return KnownAnswer(probe.folder(), name);
    }
    return probe.tryName(name);
}

int WindowsRulesAnswer(const QString& name, long limit) {
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringLiteral("\"*/:<>?\\|").contains(c)) {
            return EINVAL;
        }
    }
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.'))) {
        return EINVAL;
    }
    return name.size() > limit ? ENAMETOOLONG : 0;
}

int GuessName(NameProbe& probe, const QString& name) {
    if (TakesEveryName(probe.folder())) {
        return KnownAnswer(probe.folder(), name);
    }
    return WindowsRulesAnswer(name, NameLimit(probe.folder()));
}

QString ExistingFolder(QString folder) {
    while (!folder.isEmpty() && !IsFolder(folder)) {
        const QString parent = QFileInfo(QDir::cleanPath(folder)).path();
        if (parent == QDir::cleanPath(folder)) {
            break;
        }
        folder = parent;
    }
    return folder.isEmpty() ? QStringLiteral(".") : folder;
}

bool TargetNames::canProbe(NameProbe& probe, const QString& target) {
    const auto known = probeable_.find(target);
    if (known != probeable_.end()) {
        return known->second;
    }
    const int error = trial_(probe, QStringLiteral("x"));
    return probeable_[target] = error == 0 || error == EEXIST;
}

bool TargetNames::accepts(NameProbe& probe, const QString& target, char32_t c) {
    if (IsAsciiLetterOrDigit(c)) {
        return true;  // every target takes these
    }
    const auto key = std::make_pair(target, c);
    const auto known = accepted_.find(key);
    if (known != accepted_.end()) {
        return known->second;
    }
    // Inside a name: the kernel's FAT driver refuses any name that ends in a
    // space, which says nothing of the space.
    const QString name = QLatin1Char('x') + QString::fromUcs4(&c, 1) + QLatin1Char('x');
    const int error = trial_(probe, name);
    return accepted_[key] = error == 0 || error == EEXIST;
}

QString TargetNames::mapped(NameProbe& probe, const QString& target, const QString& text) {
    QString result;
    for (const char32_t c : text.toUcs4()) {
        if (accepts(probe, target, c)) {
            result += QString::fromUcs4(&c, 1);
            continue;
        }
        const QString whole = QString::fromUcs4(&c, 1);
        if (QChar::isLetter(c)) {
            QString base;
            for (const QChar part : whole.normalized(QString::NormalizationForm_D)) {
                if (part.category() != QChar::Mark_NonSpacing) {
                    base += part;
                }
            }
            bool baseAccepted = !base.isEmpty() && base != whole;
            for (const char32_t b : base.toUcs4()) {
                baseAccepted = baseAccepted && accepts(probe, target, b);
            }
            if (baseAccepted) {
                result += base;
                continue;
            }
        }
        result += QLatin1Char('_');
    }
    return result;
}

QString TargetNames::fit(const QString& folder, const QString& stem, const QString& tail) {
    NameProbe probe(ExistingFolder(folder));
    const QString target = Place(probe.folder()).targetKey();
    if (!canProbe(probe, target)) {
        return stem + tail;
    }
    QString fittedStem = mapped(probe, target, stem);
    const QString fittedTail = mapped(probe, target, tail);
    // Names within the system's stated limit fit on every target; a longer
    // one may still fit where the limit counts characters, not bytes.
    const long limit = NameLimit(probe.folder());
    while (QFile::encodeName(fittedStem + fittedTail).size() > limit &&
           trial_(probe, fittedStem + fittedTail) == ENAMETOOLONG) {
        if (fittedStem.isEmpty()) {
            return {};
        }
        fittedStem = WithoutLastCodePoint(fittedStem);
    }
    return fittedStem + fittedTail;
}

QString TargetNames::fitFolders(const QString& root, const QString& relative) {
    QString folder = root;
    for (const QString& name : relative.split(QChar(kPathSeparator), Qt::SkipEmptyParts)) {
        const QString fitted = fit(folder, name, QString());
        folder = Joined(folder, fitted.isEmpty() ? name : fitted);
    }
    return folder;
}

}  // namespace mirelune
