// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Appearance.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QRadioButton>
#include <QWidget>

#include "folders/NativeNames.h"
#include "shell/Failure.h"
#include "shell/PathHelpers.h"

namespace mirelune {
namespace {

QString BesideProgram(const QString& applicationFolder, const QString& relativePath) {
    QString path = relativePath;
    path.replace(QLatin1Char('/'), QChar(kPathSeparator));
    return applicationFolder + QChar(kPathSeparator) + path;
}

void GiveButtonFace(QWidget& widget, const QColor& face) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, face);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

bool TakesButtonFace(const QWidget* widget) {
    return qobject_cast<const QRadioButton*>(widget) != nullptr ||
           qobject_cast<const QCheckBox*>(widget) != nullptr ||
           qobject_cast<const QGroupBox*>(widget) != nullptr ||
           qobject_cast<const QLabel*>(widget) != nullptr;
}

// Pointer files are a few kilobytes; anything far larger is no pointer.
constexpr qint64 kPointerFileMostBytes = 1 << 20;

// The bytes of a regular file (or a link to one). A FIFO or a device put
// there is never opened for good: the open does not wait for a writer, and
// what was opened is checked before anything is read.
std::optional<QByteArray> ReadPointerFile(const QString& path) {
    QByteArray native;
    if (!EncodeNativePath(path, native)) {
        return std::nullopt;
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    QFile file;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kPointerFileMostBytes);
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

quint16 LittleEndian16(const QByteArray& bytes, int at) {
    return static_cast<quint16>(static_cast<quint8>(bytes[at]) |
                                (static_cast<quint8>(bytes[at + 1]) << 8));
}

// The pointer in a cursor or icon file's bytes; nothing when they are no image.
std::optional<QCursor> PointerFromBytes(const QByteArray& bytes) {
    QPixmap image;
    if (!image.loadFromData(bytes)) {
        return std::nullopt;
    }
    const std::optional<QPoint> hotSpot = CursorFileHotSpot(bytes);
    if (hotSpot && image.rect().contains(*hotSpot)) {
        return QCursor(image, hotSpot->x(), hotSpot->y());
    }
    return QCursor(image);
}

}  // namespace

QString SkinFilePath(const QString& applicationFolder) {
    return BesideProgram(applicationFolder, QStringLiteral("x/o.cjs"));
}

QString HandPointerPath(const QString& applicationFolder) {
    return BesideProgram(applicationFolder, QStringLiteral("HAND-M.CUR"));
}

QString DragPointerPath(const QString& applicationFolder) {
    return BesideProgram(applicationFolder, QStringLiteral("drag.ico"));
}

bool SkinFilePresent(const QString& skinPath) {
    return QFileInfo(skinPath).isFile();
}

void ApplySkin(QWidget& window, const QString& skinPath) {
    const QColor face = window.palette().color(QPalette::Active, QPalette::Button);
    GiveButtonFace(window, face);
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (TakesButtonFace(child)) {
            GiveButtonFace(*child, face);
        }
    }
    QFile file(skinPath);
    QByteArray sheet;
    if (file.open(QIODevice::ReadOnly)) {
        sheet = file.readAll();
    }
    if (file.error() != QFileDevice::NoError) {
        throw Failure(
            QCoreApplication::translate("Appearance", "The skin file %1 cannot be read: %2")
                .arg(skinPath, file.errorString()));
    }
    window.setStyleSheet(QString::fromUtf8(sheet));
}

std::optional<QPoint> CursorFileHotSpot(const QByteArray& fileStart) {
    // Header: reserved 0, type 2 for a cursor, entry count; the first entry
    // keeps the hot spot where an icon keeps its planes and bit count.
    constexpr int kHeaderAndFirstEntry = 6 + 16;
    if (fileStart.size() < kHeaderAndFirstEntry || LittleEndian16(fileStart, 0) != 0 ||
        LittleEndian16(fileStart, 2) != 2 || LittleEndian16(fileStart, 4) == 0) {
        return std::nullopt;
    }
    return QPoint(LittleEndian16(fileStart, 10), LittleEndian16(fileStart, 12));
}

std::optional<QCursor> TryLoadPointerFile(const QString& path) {
    const std::optional<QByteArray> bytes = ReadPointerFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    return PointerFromBytes(*bytes);
}

QCursor LoadPointerFile(const QString& path) {
    std::optional<QCursor> pointer = TryLoadPointerFile(path);
    if (!pointer) {
        throw Failure(
            QCoreApplication::translate("Appearance", "The pointer file %1 cannot be loaded.")
                .arg(path));
    }
    return *pointer;
}

}  // namespace mirelune
