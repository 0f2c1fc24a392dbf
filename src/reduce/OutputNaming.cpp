#include "reduce/OutputNaming.h"

#include <QDir>
#include <QFileInfo>

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

QString OutputNames::claim(const QString& source, const QString& wanted) {
    const QString sourceKey = SourceKey(source);
    QString candidate = wanted;
    for (int copy = 2;; ++copy) {
        const QString place = PlaceKey(candidate);
        const auto holder = claimed_.find(place);
        const bool ours = holder != claimed_.end() && holder->second == sourceKey;
        const bool free = holder == claimed_.end() && !isProtected(candidate);
        if (ours || free) {
            claimed_[place] = sourceKey;
            return candidate;
        }
        candidate = NumberedPath(wanted, copy);
    }
}

}  // namespace mirelune
