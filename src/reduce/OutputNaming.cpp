#include "reduce/OutputNaming.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <limits.h>
#include <unistd.h>
#endif

#include "shell/FileIdentity.h"
#include "shell/PathHelpers.h"

namespace mirelune {
namespace {

QString Joined(const QString& folder, const QString& source, const QString& ending) {
    const QString name = FileNameOf(WithoutExtension(source) + ending);
    return CollapseSeparators(folder + QChar(kPathSeparator) + name);
}

// A source that vanished still needs a stable key for "the same source".
QString SourceKey(const QString& source) {
    if (const auto identity = IdentityOf(source)) {
        return identity->key();
    }
    return QDir::cleanPath(QFileInfo(source).absoluteFilePath());
}

}  // namespace

QString PlainOutputPath(const QString& folder, const QString& source) {
    return Joined(folder, source, QLatin1Char('.') + QLatin1String(kOutputExtension));
}

QString ReducedOutputPath(const QString& folder, const QString& source) {
    return Joined(folder, source, QStringLiteral("-reduced.") + QLatin1String(kOutputExtension));
}

std::optional<QString> OutputFolderFor(const QString& source, bool intoChosenFolder,
                                       bool besideSource, const QString& chosenFolder) {
    if (intoChosenFolder) {
        return chosenFolder;
    }
    if (besideSource) {
        return FolderOf(source);
    }
    return std::nullopt;
}

QString OutputPathFor(const QString& folder, const QString& source) {
    const QString plain = PlainOutputPath(folder, source);
    if (!IsSameFile(plain, source)) {
        return plain;
    }
    const QString reduced = ReducedOutputPath(folder, source);
    return IsSameFile(reduced, source) ? QString() : reduced;
}

QString NumberedPath(const QString& path, int copy) {
    const QString stem = WithoutExtension(path);
    const QString extension = path.mid(stem.size());
    return stem + QStringLiteral(" (") + QString::number(copy) + QLatin1Char(')') + extension;
}

void OutputNames::protectSource(const QString& source) {
    if (const auto identity = IdentityOf(source)) {
        protected_.insert(*identity);
    }
}

bool OutputNames::isProtected(const QString& path) const {
    const auto identity = IdentityOf(path);
    return identity && protected_.count(*identity) != 0;
}

void OutputNames::noteWanted(const QString& source, const QString& wanted) {
    const auto place = IdentityOf(wanted);
    const auto from = IdentityOf(source);
    if (place && from && *place != *from) {
        wantedBy_.emplace(*place, Wanter{*from, source});
    }
}

std::optional<QString> OutputNames::resultOf(const QString& source) const {
    const auto identity = IdentityOf(source);
    if (!identity) {
        return std::nullopt;
    }
    const auto found = wantedBy_.find(*identity);
    if (found == wantedBy_.end() || found->second.source == *identity) {
        return std::nullopt;
    }
    return found->second.path;
}

OutputChoice OutputNames::decide(const QString& source, const QString& wanted) const {
    using Kind = OutputChoice::Kind;
    const QString sourceKey = SourceKey(source);
    QString candidate = wanted;
    for (int copy = 2;; ++copy) {
        if (!NameFits(candidate)) {
            return {candidate, Kind::TooLong};
        }
        const auto holder = claimed_.find(PlaceKey(candidate));
        if (holder != claimed_.end()) {
            if (holder->second == sourceKey) {
                return {candidate, Kind::Ours};
            }
        } else if (candidate == wanted || !isProtected(candidate)) {
            const QFileInfo there(candidate);
            // A link that leads nowhere still holds the name.
            const bool taken = there.exists() || there.isSymLink();
            return {candidate, taken ? Kind::Exists : Kind::Free};
        }
        candidate = NumberedPath(wanted, copy);
    }
}

void OutputNames::claim(const QString& source, const QString& path) {
    claimed_[PlaceKey(path)] = SourceKey(source);
}

bool NameFits(const QString& path) {
    const QByteArray name = QFile::encodeName(FileNameOf(path));
#ifdef Q_OS_UNIX
    const QString folder = FolderOf(path);
    long limit =
        ::pathconf(QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder).constData(),
                   _PC_NAME_MAX);
    if (limit <= 0) {
        limit = NAME_MAX;  // a folder still to be made
    }
    return name.size() <= limit;
#else
    return FileNameOf(path).size() <= 255;
#endif
}

}  // namespace mirelune
