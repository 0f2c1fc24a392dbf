// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <string>

namespace mirelune::test {

// A stick's file system, made in an image file and mounted on a folder
// through FUSE for as long as this lives: "vfat" through fusefat (which
// mounts the image itself), "exfat" through exfat-fuse on a loop device.
// Needs root, /dev/fuse and the packages; elsewhere mounted() is false and
// why() says what is missing.
class FuseMount {
  public:
    FuseMount(const QString& kind, const QString& image, const QString& folder) : folder_(folder) {
        QDir().mkpath(folder);
        if (!QFile::exists(QStringLiteral("/dev/fuse"))) {
            why_ = "no /dev/fuse: FUSE is not available here";
            return;
        }
        const bool fat = kind == QStringLiteral("vfat");
        const QString mkfs = fat ? QStringLiteral("mkfs.vfat") : QStringLiteral("mkfs.exfat");
        const QString driver = fat ? QStringLiteral("fusefat") : QStringLiteral("mount.exfat-fuse");
        const QStringList sbin{QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")};
        for (const QString& tool : {mkfs, driver}) {
            if (QStandardPaths::findExecutable(tool).isEmpty() &&
                QStandardPaths::findExecutable(tool, sbin).isEmpty()) {
                why_ = tool.toStdString() + " is not installed";
                return;
            }
        }
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(32 * 1024 * 1024)) {
            why_ = "cannot make the image file";
            return;
        }
        file.close();
        if (!Run(mkfs, {image})) {
            return;
        }
        QString device = image;
        if (!fat) {
            QString loop;
            if (!Run(QStringLiteral("losetup"),
                     {QStringLiteral("-f"), QStringLiteral("--show"), image}, &loop)) {
                return;
            }
            loop_ = loop.trimmed();
            device = loop_;
        }
        const QStringList args =
            fat ? QStringList{QStringLiteral("-o"), QStringLiteral("rw+"), device, folder}
                : QStringList{device, folder};
        mounted_ = Run(driver, args);
    }
    ~FuseMount() {
        if (mounted_) {
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), folder_});
        }
        if (!loop_.isEmpty()) {
            QProcess::execute(QStringLiteral("losetup"), {QStringLiteral("-d"), loop_});
        }
    }
    FuseMount(const FuseMount&) = delete;
    FuseMount& operator=(const FuseMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }

  private:
    bool Run(const QString& program, const QStringList& args, QString* output = nullptr) {
        QString path = QStandardPaths::findExecutable(program);
        if (path.isEmpty()) {
            path = QStandardPaths::findExecutable(
                program, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
        }
        QProcess process;
        process.start(path.isEmpty() ? program : path, args);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            why_ = program.toStdString() + " failed (it needs root, and loop devices for exFAT): " +
                   process.readAllStandardError().trimmed().toStdString();
            return false;
        }
        if (output != nullptr) {
            *output = QString::fromLocal8Bit(process.readAllStandardOutput());
        }
        return true;
    }

    QString folder_;
    QString loop_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace mirelune::test
