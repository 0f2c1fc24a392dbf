// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <map>
#include <memory>

#include "runs/ResultRecord.h"

namespace mirelune {

// The journal this run appends to in one folder. Each writer has a file of
// its own (host, process and a random tag in its name), so runs on several
// machines can write into one shared folder at once without locks, and each
// record is one write, made durable before its result takes its name.
class ResultJournal {
  public:
    explicit ResultJournal(QString root);
    ~ResultJournal();
    ResultJournal(const ResultJournal&) = delete;
    ResultJournal& operator=(const ResultJournal&) = delete;

    // Empty when the record is down on disk; otherwise why it is not. The
    // journal's file is made by the first record.
    QString append(const ResultRecord& record);

  private:
    QString root_;
    int fd_ = -1;
    QString path_;
    bool madeFolder_ = false;
};

// The journals of one run, one per folder written to.
class ResultJournals {
  public:
    ResultJournal& journalFor(const QString& root);

  private:
    std::map<QString, std::unique_ptr<ResultJournal>> journals_;
};

}  // namespace mirelune
