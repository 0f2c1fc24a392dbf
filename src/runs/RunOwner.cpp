// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/RunOwner.h"

#include <QList>

namespace mirelune {
namespace {

const QByteArray kIdWord = QByteArrayLiteral("id");
const QByteArray kUnknown = QByteArrayLiteral("-");

QByteArray OrUnknown(const QByteArray& text) {
    return text.isEmpty() ? kUnknown : text;
}

QByteArray Known(const QByteArray& text) {
    return text == kUnknown ? QByteArray() : text;
}

// A word that splits the line where nothing else would: no blank, no line end.
bool IsWord(const QByteArray& text) {
    return !text.isEmpty() && !text.contains(' ') && !text.contains('\n');
}

}  // namespace

QByteArray RunOwner::lines() const {
    if (hostAndPidOnly) {
        return hostName + '\n' + QByteArray::number(pid) + '\n';
    }
    return kIdWord + ' ' + OrUnknown(machineId) + ' ' + OrUnknown(bootId) + ' ' +
           QByteArray::number(pidNamespace) + ' ' + QByteArray::number(startTime) + ' ' + hostName +
           '\n' + QByteArray::number(pid) + '\n';
}

std::optional<RunOwner> RunOwner::parse(const QByteArray& first, const QByteArray& second) {
    if (first.isEmpty()) {
        return std::nullopt;
    }
    RunOwner owner;
    bool pidIsNumber = false;
    owner.pid = second.toLongLong(&pidIsNumber);
    if (!pidIsNumber || owner.pid <= 0) {
        owner.pid = 0;
    }
    if (!first.startsWith(kIdWord + ' ')) {
        owner.hostAndPidOnly = true;
        owner.hostName = first;
        return owner;
    }
    // The host name is last, and may hold blanks.
    const QList<QByteArray> words = first.split(' ');
    if (words.size() < 6) {
        return std::nullopt;
    }
    bool namespaceIsNumber = false;
    bool startIsNumber = false;
    owner.pidNamespace = words[3].toULongLong(&namespaceIsNumber);
    owner.startTime = words[4].toULongLong(&startIsNumber);
    if (!IsWord(words[1]) || !IsWord(words[2]) || !namespaceIsNumber || !startIsNumber) {
        return std::nullopt;
    }
    owner.machineId = Known(words[1]);
    owner.bootId = Known(words[2]);
    owner.hostName = first.mid(words[0].size() + words[1].size() + words[2].size() +
                               words[3].size() + words[4].size() + 5);
    return owner;
}

bool RunOwner::sameMachineAs(const RunOwner& other) const {
    if (machineId.isEmpty() || other.machineId.isEmpty()) {
        return machineId.isEmpty() && other.machineId.isEmpty() && hostName == other.hostName;
    }
    return machineId == other.machineId;
}

bool operator==(const RunOwner& a, const RunOwner& b) {
    return a.machineId == b.machineId && a.bootId == b.bootId && a.pidNamespace == b.pidNamespace &&
           a.startTime == b.startTime && a.hostName == b.hostName && a.pid == b.pid &&
           a.hostAndPidOnly == b.hostAndPidOnly;
}

}  // namespace mirelune
