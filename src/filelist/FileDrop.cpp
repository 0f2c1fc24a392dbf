// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileDrop.h"

#include <QCoreApplication>
#include <QDir>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "filelist/RefusedFiles.h"
#include "folders/LeftOutNames.h"
#include "folders/NativeNames.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/NameText.h"
#include "shell/PathHelpers.h"

namespace mirelune {

bool CarriesLocalFiles(const QMimeData& data) {
    if (!data.hasUrls()) {
        return false;
    }
    const QList<QUrl> urls = data.urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

QStringList DroppedLocalPaths(const QMimeData& data, RefusedFiles& unnamable) {
    QStringList paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        // The address carries the name's bytes; the text of a path made from
        // bytes that are no UTF-8 would name another file, or none.
        const QByteArray bytes =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        QString decoded;
        if (DecodeNativeName(bytes.constData(), decoded)) {
            paths.append(QDir::toNativeSeparators(url.toLocalFile()));
        } else {
            unnamable.leaveOut(
                EscapedNativeName(bytes),
                QCoreApplication::translate(left_out::kContext, left_out::kNameNotUtf8));
        }
    }
    return paths;
}

void OfferDroppedPaths(const QStringList& paths, WindowLayer& window,
                       const CandidateCallback& offer, RefusedFiles& refused,
                       FolderQueries& queries) {
    ErrorGuard g(window, location::FormHandler(QStringLiteral("ListView1_OLEDragDrop")));
    for (int j = 0; j < paths.size(); ++j) {
        QString path;
        g.step(100, [&] { path = paths.at(j); });
        if (g.test(102, [&] { return !PathExists(path); })) {
            continue;
        }
        if (g.test(104, [&] { return IsFolder(path); })) {
            OfferFolderTreeFiles(path, QStringLiteral("*.*"), window, g, offer, refused, queries);
        } else {
            g.step(kDroppedFileFirstStep, [&] { offer(path, g, kDroppedFileFirstStep, refused); });
        }
    }
}

void AddDroppedPaths(const QStringList& paths, WindowLayer& window, const CandidateCallback& offer,
                     RefusedFiles refused, FolderQueries& queries) {
    OfferDroppedPaths(paths, window, offer, refused, queries);
    ErrorGuard g(window, location::FormHandler(QStringLiteral("ListView1_OLEDragDrop")));
    g.step(kDropSummaryStep, [&] { refused.show(window); });
}

QStringList CollectDroppedFiles(const QStringList& paths, WindowLayer& window,
                                RefusedFiles& leftOut) {
    QStringList files;
    OfferDroppedPaths(
        paths, window,
        [&files](const QString& path, ErrorGuard&, int, RefusedFiles&) { files.append(path); },
        leftOut);
    return files;
}

}  // namespace mirelune
