// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ProductInfo.h"

namespace mirelune {

QString ProductVersion() {
    return QStringLiteral(MIRELUNE_VERSION);
}

QString ProductLicence() {
    return QStringLiteral(MIRELUNE_LICENCE);
}

QString ApplicationId() {
    return QStringLiteral(MIRELUNE_APPLICATION_ID);
}

QString HomePageAddress() {
    return QString::fromUtf8(MIRELUNE_HOME_PAGE);
}

QString SupportAddress() {
    return QString::fromUtf8(MIRELUNE_SUPPORT_EMAIL);
}

}  // namespace mirelune
