// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "filelist/CandidateWalk.h"
#include "filelist/FileList.h"
#include "filelist/FileListFiller.h"
#include "filelist/RefusedFiles.h"
#include "mp3/MP3Info.h"
#include "shell/WindowLayer.h"

namespace mirelune::test {

// The window's own candidate step (AddCandidateFile) on a list of its own,
// with a record of what the walk offered and with which first step.
class CandidateLog {
  public:
    explicit CandidateLog(WindowLayer& window) : window_(window) {}

    CandidateCallback callback() {
        return
            [this](const QString& path, ErrorGuard& guard, int firstStep, RefusedFiles& refused) {
                offered.append(path);
                firstSteps.push_back(firstStep);
                if (AddCandidateFile(guard, CandidateStepsFrom(firstStep), {list_, info_, window_},
                                     path, refused)) {
                    rows.append(path);
                }
            };
    }

    QStringList offered;
    QStringList rows;
    std::vector<int> firstSteps;

  private:
    WindowLayer& window_;
    FileList list_;
    mp3::MP3Info info_;
};

}  // namespace mirelune::test
