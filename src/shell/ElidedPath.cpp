// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ElidedPath.h"

#include "shell/PathHelpers.h"

namespace mirelune {
namespace {

const QChar kEllipsis(0x2026);

// Never between the two halves of a surrogate pair.
qsizetype HeadEnd(const QString& text, qsizetype end) {
    return end > 0 && end < text.size() && text.at(end).isLowSurrogate() ? end - 1 : end;
}

qsizetype TailStart(const QString& text, qsizetype start) {
    return start > 0 && start < text.size() && text.at(start).isLowSurrogate() ? start + 1 : start;
}

// text with all but `kept` of its characters replaced by one ellipsis in its
// middle; the head keeps the odd one.
QString MiddleKept(const QString& text, qsizetype kept) {
    const qsizetype head = HeadEnd(text, kept - kept / 2);
    const qsizetype tail = TailStart(text, text.size() - kept / 2);
    return text.left(head) + kEllipsis + text.mid(tail);
}

// The most of text, cut at its middle, that fits between before and after.
QString MiddleFitted(const QString& before, const QString& text, const QString& after, int room,
                     const TextWidth& width) {
    qsizetype low = 0;  // MiddleKept(text, 0) stands for the least there is to show
    qsizetype high = text.size() - 1;
    while (low < high) {
        const qsizetype kept = (low + high + 1) / 2;
        if (width(before + MiddleKept(text, kept) + after) <= room) {
            low = kept;
        } else {
            high = kept - 1;
        }
    }
    return before + MiddleKept(text, low) + after;
}

}  // namespace

QString ElidePath(const QString& path, int room, const TextWidth& width) {
    if (width(path) <= room) {
        return path;
    }
    const qsizetype slash = path.lastIndexOf(QChar(kPathSeparator));
    const QString name = path.mid(slash + 1);
    if (slash > 0) {
        const QString folder = path.left(slash);
        const QString tail = QChar(kPathSeparator) + name;
        if (width(kEllipsis + tail) <= room) {
            return MiddleFitted(QString(), folder, tail, room, width);
        }
    }
    const QString before = slash >= 0 ? QString(kEllipsis) + QChar(kPathSeparator) : QString();
    // ".mp3" stays; a leading dot starts a hidden name, not an extension.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype stemEnd = dot > 0 ? dot : name.size();
    return MiddleFitted(before, name.left(stemEnd), name.mid(stemEnd), room, width);
}

QString ElidePathToLength(const QString& path, int characters) {
    return ElidePath(path, characters,
                     [](const QString& text) { return static_cast<int>(text.size()); });
}

}  // namespace mirelune
