// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCursor>
#include <QPoint>
#include <QString>
#include <optional>

class QWidget;

namespace mirelune {

// Files beside the program that change the window's look.
QString SkinFilePath(const QString& applicationFolder);     // x/o.cjs
QString HandPointerPath(const QString& applicationFolder);  // HAND-M.CUR
QString DragPointerPath(const QString& applicationFolder);  // drag.ico

// Only a regular file (or a link to one) counts as a skin; a folder of that
// name does not.
bool SkinFilePresent(const QString& skinPath);

// The skinned look: the window and its frames, option buttons, check boxes
// and labels take the button-face colour of the desktop's colour scheme, then
// the file is applied as the window's style sheet. Throws Failure when the
// file cannot be read; colours set by then stay.
void ApplySkin(QWidget& window, const QString& skinPath);

// The hot spot a Windows cursor file names in its first entry; nothing for an
// icon file or anything else, whose pointer then points from its centre.
std::optional<QPoint> CursorFileHotSpot(const QByteArray& fileStart);

// A pointer from a cursor (.cur) or icon (.ico) file; nothing when the file
// does not load as an image. Only a regular file (or a link to one) is read:
// a FIFO, a device or a socket of that name cannot be loaded, and opening it
// never waits.
std::optional<QCursor> TryLoadPointerFile(const QString& path);
// The same, but a file that does not load throws Failure.
QCursor LoadPointerFile(const QString& path);

}  // namespace mirelune
