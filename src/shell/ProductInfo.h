// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// What the build was configured with. Each is read at run time from one
// source file, so changing an address at configure time rebuilds one file.

// The version of the release, such as "0.1.0".
QString ProductVersion();
// The licence, as SPDX names it: "GPL-3.0-or-later".
QString ProductLicence();
// The reverse-DNS name of the desktop entry, the icon and the window's app id.
QString ApplicationId();
// The home page a start may open; empty when the build names none.
QString HomePageAddress();
// Where the error report asks the user to write; empty when the build names none.
QString SupportAddress();

}  // namespace mirelune
