#include "reduce/OutputNaming.h"

#include "app/PathHelpers.h"
#include "reduce/FileIdentity.h"

namespace mirelune {
namespace {

QString Joined(const QString& folder, const QString& source, const QString& ending) {
    const QString name = FileNameOf(WithoutExtension(source) + ending);
    return CollapseSeparators(folder + QChar(kPathSeparator) + name);
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

}  // namespace mirelune
