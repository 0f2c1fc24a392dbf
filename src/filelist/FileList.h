// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include "filelist/FileEntry.h"

namespace mirelune {

// The files the reduce job will process, in list order, shown by the main
// window's list view: the path in the first column, the bitrate text in the
// second. The same path may be listed more than once.
//
// Rows are addressed from 1, the way the fillers and the job count them. An
// index outside 1..count() throws Failure, so a caller that read a count
// before the list shrank gets a reported failure rather than another row.
class FileList : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit FileList(QObject* parent = nullptr);

    int count() const;
    const FileEntry& entry(int index) const;
    QString text(int index) const;
    void setText(int index, const QString& path);
    QString bitrateText(int index) const;
    void setBitrateText(int index, const QString& text);

    // Adds a row at the end and returns its index.
    int append(const QString& path, const QString& bitrateText = QString());
    void remove(int index);
    void clear();
    // Takes the row at from out and puts it back at to; the rows between
    // shift by one towards from. Path and bitrate text travel together, and
    // views keep their selection on the moved row.
    void move(int from, int to);

    // Two columns, the path and the bitrate text, named by the window at start-up.
    void setColumnHeader(int column, const QString& header);
    QStringList columnHeaders() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    qsizetype checkedRow(int index) const;
    void rowChanged(qsizetype row);

    QList<FileEntry> entries_;
    QString headers_[2];
};

}  // namespace mirelune
