// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <utility>

#include "filelist/FileList.h"
#include "filelist/SampleRows.h"

namespace mirelune {

// The file list as the sample files see it; both count rows from 1.
class FileListRows : public SampleRows {
  public:
    // keepRows is asked at each removal; while it holds, rows stay listed.
    FileListRows(FileList& list, std::function<bool()> keepRows)
        : list_(list), keepRows_(std::move(keepRows)) {}

    int rowCount() const override { return list_.count(); }
    QString rowPath(int row) const override { return list_.text(row); }
    void appendPath(const QString& path) override { list_.append(path); }
    void setBitrateText(int row, const QString& text) override { list_.setBitrateText(row, text); }
    void removeRow(int row) override {
        if (!keepRows_()) {
            list_.remove(row);
        }
    }

  private:
    FileList& list_;
    std::function<bool()> keepRows_;
};

}  // namespace mirelune
