// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "filelist/RefusedFiles.h"

namespace mirelune {

// What the window program's command line asks for. It is read before the
// window system is touched, so --help, --version and a usage error need no
// display.
struct WindowCommandLine {
    // Set when the program should print and end instead of opening the window.
    std::optional<int> exitStatus;
    QString standardOutput;
    QString standardError;
    // The FILE and FOLDER arguments, absolute, in the order given: the window
    // adds them as a drop of the same paths would.
    QStringList paths;
    // FILE and FOLDER arguments whose bytes no text can hold: named in the
    // box that tells what the paths could not give.
    RefusedFiles leftOut;
};

// arguments: the program name first, as main() received them. Relative paths
// are taken against workingFolder. Qt's own options (-platform, -style and
// the like) are let through for QApplication to take. rawArguments, when
// given, are the same arguments as the system's bytes, to tell a name that
// is not valid UTF-8 from one that merely holds U+FFFD.
WindowCommandLine ParseWindowCommandLine(const QStringList& arguments, const QString& workingFolder,
                                         const QList<QByteArray>& rawArguments = {});

// The paths that name something, in order; each other one goes to leftOut
// as not existing. A drop skips a path that has gone since the drag began,
// but a path typed or handed over by a file manager must not vanish unsaid.
QStringList ExistingPaths(const QStringList& paths, RefusedFiles& leftOut);

}  // namespace mirelune
