#include "app/Appearance.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QRadioButton>
#include <QWidget>

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

quint16 LittleEndian16(const QByteArray& bytes, int at) {
    return static_cast<quint16>(static_cast<quint8>(bytes[at]) |
                                (static_cast<quint8>(bytes[at + 1]) << 8));
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
        throw Failure(QStringLiteral("The skin file %1 cannot be read: %2")
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
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

QCursor LoadPointerFile(const QString& path) {
    std::optional<QCursor> pointer = TryLoadPointerFile(path);
    if (!pointer) {
        throw Failure(QStringLiteral("The pointer file %1 cannot be loaded.").arg(path));
    }
    return *pointer;
}

}  // namespace mirelune
