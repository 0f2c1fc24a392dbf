// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/OutputNaming.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "landing/DeadReservation.h"
#include "shell/PathHelpers.h"
#include "shell/Place.h"

namespace mirelune {
namespace {

QString Joined(const QString& folder, const QString& source, const QString& ending) {
    const QString name = FileNameOf(WithoutExtension(source) + ending);
    return CollapseSeparators(folder + QChar(kPathSeparator) + name);
}

const QLatin1String kReducedEnding("-reduced");

QString CopySuffix(int copy) {
    return QStringLiteral(" (") + QString::number(copy) + QLatin1Char(')');
}

// Whether the folder of a lists a's name and b's name as entries of their
// own: a target that ignores letter case lists one file once.
bool ListedApart(const QString& a, const QString& b) {
    const QString nameA = FileNameOf(a);
    const QString nameB = FileNameOf(b);
    bool seenA = false;
    bool seenB = false;
    QDirIterator entries(QFileInfo(a).absolutePath(),
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (!(seenA && seenB) && entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        seenA = seenA || name == nameA;
        seenB = seenB || name == nameB;
    }
    return seenA && seenB;
}

}  // namespace

bool MayBeSource(const QString& path, const QString& source) {
    const Place written(path);
    const Place read(source);
    if (written.isSameFile(read)) {
        return true;
    }
    if (!written.isSameFoldedPlace(read)) {
        return false;
    }
    return FileNameOf(path) == FileNameOf(source) || !ListedApart(path, source);
}

QString PlainOutputPath(const QString& folder, const QString& source) {
    return Joined(folder, source, QLatin1Char('.') + QLatin1String(kOutputExtension));
}

QString ReducedOutputPath(const QString& folder, const QString& source) {
    return Joined(folder, source,
                  kReducedEnding + QLatin1Char('.') + QLatin1String(kOutputExtension));
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
    if (!MayBeSource(plain, source)) {
        return plain;
    }
    const QString reduced = ReducedOutputPath(folder, source);
    return MayBeSource(reduced, source) ? QString() : reduced;
}

QString NumberedPath(const QString& path, int copy) {
    const QString stem = WithoutExtension(path);
    return stem + CopySuffix(copy) + path.mid(stem.size());
}

std::optional<QString> UnnumberedPath(const QString& path) {
    static const QRegularExpression numbered(
        QStringLiteral(R"(^(.+) \(([2-9]|[1-9]\d+)\)\.%1$)").arg(QLatin1String(kOutputExtension)));
    const QRegularExpressionMatch match = numbered.match(FileNameOf(path));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return FolderOf(path) + match.captured(1) + QLatin1Char('.') + QLatin1String(kOutputExtension);
}

bool IsWantedOrNumbered(const QString& path, const QString& wanted) {
    return path == wanted || UnnumberedPath(path) == wanted;
}

void OutputNames::protectSource(const QString& source) {
    const Place place(source);
    if (place.identity()) {
        protected_.insert(*place.identity());
    }
    protectedNames_.insert(place.foldedText());
}

bool OutputNames::isProtected(const QString& path) const {
    const Place place(path);
    return protectedNames_.count(place.foldedText()) != 0 ||
           (place.identity() && protected_.count(*place.identity()) != 0);
}

OutputChoice OutputNames::decide(const QString& source, const QString& wanted) {
    using Kind = OutputChoice::Kind;
    const QString sourceKey = Place(source).fileKey();
    const QString folder = FolderOf(wanted);
    const QString name = FileNameOf(wanted);
    QString stem = WithoutExtension(name);
    const QString extension = name.mid(stem.size());
    // Shortening must never take "-reduced" away: the plain name is the
    // source itself.
    QString kept;
    if (stem.endsWith(kReducedEnding)) {
        stem.chop(kReducedEnding.size());
        kept = kReducedEnding;
    }
    for (int copy = 1;; ++copy) {
        const QString tail = kept + (copy == 1 ? QString() : CopySuffix(copy)) + extension;
        const QString fitted = targets_.fit(folder, stem, tail);
        if (fitted.isEmpty()) {
            return {wanted, Kind::TooLong};
        }
        const QString candidate = folder + fitted;
        const bool renamed = fitted != stem + tail;
        const auto holder = claimed_.find(Place(candidate).foldedText());
        if (holder != claimed_.end()) {
            if (holder->second == sourceKey) {
                return {candidate, Kind::Ours, renamed};
            }
        } else if (copy == 1 || !isProtected(candidate)) {
            const QFileInfo there(candidate);
            // A link that leads nowhere still holds the name; what a dead run
            // left does not.
            const bool taken =
                (there.exists() || there.isSymLink()) && !IsDeadReservation(candidate);
            return {candidate, taken ? Kind::Exists : Kind::Free, renamed};
        }
    }
}

void OutputNames::claim(const QString& source, const QString& path) {
    claimed_[Place(path).foldedText()] = Place(source).fileKey();
}

}  // namespace mirelune
