// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

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
};

// arguments: the program name first, as main() received them. Relative paths
// are taken against workingFolder. Qt's own options (-platform, -style and
// the like) are let through for QApplication to take.
WindowCommandLine ParseWindowCommandLine(const QStringList& arguments,
                                         const QString& workingFolder);

}  // namespace mirelune
