// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "folders/FolderQueries.h"

namespace mirelune {

// FolderQueries answered by the POSIX file system.
class SystemFolderQueries : public FolderQueries {
  public:
    std::optional<FileIdentity> identity(const QString& folder) override;
    SubFolderListing subFolders(const QString& folder) override;
};

}  // namespace mirelune
