// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// The rows of the file list as the sample files see them. Rows are counted
// from 1, in the list's order, as the file list counts them.
class SampleRows {
  public:
    virtual ~SampleRows() = default;

    virtual int rowCount() const = 0;
    virtual QString rowPath(int row) const = 0;
    // A new last row whose bitrate cell is empty.
    virtual void appendPath(const QString& path) = 0;
    virtual void setBitrateText(int row, const QString& text) = 0;
    virtual void removeRow(int row) = 0;
};

}  // namespace mirelune
