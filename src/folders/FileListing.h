// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "folders/LeftOutNames.h"

namespace mirelune {

// The bare names of folder's files that match the wildcard pattern (see
// WildcardPattern), in natural order (NaturalNameLess). Hidden files count;
// folders, and anything FileIsOpenable refuses, do not. A matching file whose
// name is not valid in the file-name encoding cannot be named as text: it is
// not listed but told to leftOut. An empty folder text stands for the root
// folder; a folder that cannot be listed has no files.
QStringList ListFolderFiles(const QString& folder, const QString& pattern,
                            const LeftOutNotice& leftOut = {});

// True only for a regular file, or a link to one, that opens for reading.
// FIFOs, devices and sockets are never opened: opening a FIFO waits for a
// writer, and a scan must not hang on one. Never fails; every problem is a
// false answer.
bool FileIsOpenable(const QString& path) noexcept;

}  // namespace mirelune
