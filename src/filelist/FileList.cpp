// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileList.h"

#include <iterator>

#include "shell/Failure.h"
#include "shell/ToolTipText.h"

namespace mirelune {
namespace {

constexpr int kColumns = 2;

}  // namespace

FileList::FileList(QObject* parent) : QAbstractTableModel(parent) {}

int FileList::count() const {
    return static_cast<int>(entries_.size());
}

const FileEntry& FileList::entry(int index) const {
    return entries_.at(checkedRow(index));
}

QString FileList::text(int index) const {
    return entry(index).path;
}

void FileList::setText(int index, const QString& path) {
    const qsizetype row = checkedRow(index);
    entries_[row].path = path;
    rowChanged(row);
}

QString FileList::bitrateText(int index) const {
    return entry(index).bitrateText;
}

void FileList::setBitrateText(int index, const QString& text) {
    const qsizetype row = checkedRow(index);
    entries_[row].bitrateText = text;
    rowChanged(row);
}

int FileList::append(const QString& path, const QString& bitrateText) {
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    entries_.append(FileEntry{path, bitrateText});
    endInsertRows();
    return row + 1;
}

void FileList::remove(int index) {
    const qsizetype row = checkedRow(index);
    beginRemoveRows(QModelIndex(), static_cast<int>(row), static_cast<int>(row));
    entries_.removeAt(row);
    endRemoveRows();
}

void FileList::clear() {
    if (entries_.isEmpty()) {
        return;
    }
    beginResetModel();
    entries_.clear();
    endResetModel();
}

void FileList::move(int from, int to) {
    const qsizetype rowFrom = checkedRow(from);
    const qsizetype rowTo = checkedRow(to);
    if (rowFrom == rowTo) {
        return;
    }
    // The model's destination is the row the moved one goes before, counted
    // before it leaves its place.
    const int before = static_cast<int>(rowTo > rowFrom ? rowTo + 1 : rowTo);
    beginMoveRows(QModelIndex(), static_cast<int>(rowFrom), static_cast<int>(rowFrom),
                  QModelIndex(), before);
    entries_.move(rowFrom, rowTo);
    endMoveRows();
}

void FileList::setColumnHeader(int column, const QString& header) {
    if (column < 0 || column >= kColumns) {
        throw Failure(QStringLiteral("The file list has no column %1.").arg(column + 1));
    }
    headers_[column] = header;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QStringList FileList::columnHeaders() const {
    return QStringList(std::begin(headers_), std::end(headers_));
}

int FileList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int FileList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant FileList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= entries_.size()) {
        return QVariant();
    }
    const FileEntry& row = entries_.at(index.row());
    // The view elides long paths; the whole one is a hover away, on either cell.
    if (role == Qt::ToolTipRole) {
        return WrappingToolTip(row.path);
    }
    if (role != Qt::DisplayRole) {
        return QVariant();
    }
    switch (index.column()) {
        case 0:
            return row.path;
        case 1:
            return row.bitrateText;
        default:
            return QVariant();
    }
}

QVariant FileList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumns) {
        return QVariant();
    }
    return headers_[section];
}

qsizetype FileList::checkedRow(int index) const {
    if (index < 1 || index > entries_.size()) {
        throw Failure(QStringLiteral("The file list has no row %1; it holds %2.")
                          .arg(index)
                          .arg(entries_.size()));
    }
    return index - 1;
}

void FileList::rowChanged(qsizetype row) {
    const int r = static_cast<int>(row);
    emit dataChanged(this->index(r, 0), this->index(r, kColumns - 1), {Qt::DisplayRole});
}

}  // namespace mirelune
