// SPDX-License-Identifier: GPL-3.0-or-later
// mirelune-cli run as its own process, the way a shell or a script runs it.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "support/ScratchDir.h"

namespace mirelune::test {

struct CliRun {
    int exitCode = -1;  // -1: the program did not end by itself
    QString out;
    QString err;
};

// TEMP empty: the caller's own environment as it is; likewise the folder.
inline CliRun RunCli(const QStringList& args, const QString& temp = {},
                     const QByteArray& input = {}, const QString& workingFolder = {}) {
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    if (!temp.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TEMP"), temp);
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(MIRELUNE_CLI), args);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// One object per non-empty line, as --json writes them.
inline QList<QJsonObject> JsonLines(const QString& out) {
    QList<QJsonObject> objects;
    for (const QByteArray& line : out.toUtf8().split('\n')) {
        if (!line.isEmpty()) {
            objects.append(QJsonDocument::fromJson(line).object());
        }
    }
    return objects;
}

// `reduce` run in a scratch folder of its own, with its own TEMP and an
// empty output folder.
class ReduceCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        temp = QString::fromStdString(dir.file("temp"));
        out = QString::fromStdString(dir.file("out"));
        ASSERT_TRUE(QDir().mkpath(temp));
        ASSERT_TRUE(QDir().mkpath(out));
    }

    CliRun Run(QStringList args, const QByteArray& input = {}) {
        args.prepend(QStringLiteral("reduce"));
        return RunCli(args, temp, input);
    }

    ScratchDir dir;
    QString temp;
    QString out;
};

}  // namespace mirelune::test
