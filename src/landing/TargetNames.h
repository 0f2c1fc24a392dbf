// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <utility>

#include "landing/NameProbe.h"

namespace mirelune {

// Whether folder is on a file system that takes every name but "/" and NUL
// up to its stated length in bytes (ext2/3/4, tmpfs, btrfs, xfs): its rules
// are known, so nothing is tried there.
bool TakesEveryName(const QString& folder);

// Whether the target of probe's folder takes a file named name: 0 when it
// does, else the system's error. Known from the file system where it can be
// (TakesEveryName), else tried in the probe's private folder, never at a
// name a result may want.
int TryName(NameProbe& probe, const QString& name);
using NameTrial = std::function<int(NameProbe& probe, const QString& name)>;

// What a target meant to be read by Windows answers a new name, by the rules
// such targets share: the characters " * / : < > ? \ | and those below 32
// refused, a name that ends in a space or a dot refused (EINVAL), no longer
// than limit in UTF-16 units, as those count (ENAMETOOLONG); else 0.
int WindowsRulesAnswer(const QString& name, long limit);

// TryName's answer without touching the target: on the disks whose names are
// known the same as TryName's; elsewhere (FAT, exFAT, FUSE, shares, anything
// unknown) WindowsRulesAnswer with the system's stated limit. It errs where a
// target breaks those rules: fusefat refuses DEL and every character outside
// ASCII, neither FUSE driver refuses a name ending in a space or a dot, and a
// share or FUSE target backed by a Linux disk takes what Windows refuses and
// counts bytes.
int GuessName(NameProbe& probe, const QString& name);

// The nearest folder that exists, where trial names can be made: folder
// itself, or the parent a result's missing folders would be made in.
QString ExistingFolder(QString folder);

// The file names a target takes, found by trying, never from a list of
// characters: phone cards and sticks (FAT, exFAT; phones and shares behave
// alike) refuse characters such as ":" and "?", some every letter outside
// ASCII, and each counts a name's length its own way.
//
// A name the target refuses becomes one it takes by one rule:
//  1. each character the target refuses becomes "_"; a letter with accents
//     becomes its base letter instead, where the target takes that ("é" is
//     "e", "ß" is "_");
//  2. a name still too long loses characters from the end of its stem; the
//     tail (" (2)" and the extension) stays whole.
// Each character is tried once per target, by making and removing a file
// whose name holds it in a private probe folder (NameProbe); the length only
// when the name is longer than the system says names may be. A target where
// nothing can be made is taken to accept every name: making the result says
// why it cannot.
class TargetNames {
  public:
    explicit TargetNames(NameTrial trial = &TryName) : trial_(std::move(trial)) {}

    // The name stem + tail as the file system of folder (made later, if it
    // does not exist yet) takes it. Empty when no shortening makes it fit.
    QString fit(const QString& folder, const QString& stem, const QString& tail);

    // relative's folder names, each fitted inside the one before, joined
    // below root.
    QString fitFolders(const QString& root, const QString& relative);

  private:
    bool accepts(NameProbe& probe, const QString& target, char32_t c);
    bool canProbe(NameProbe& probe, const QString& target);
    QString mapped(NameProbe& probe, const QString& target, const QString& text);

    NameTrial trial_;
    // Keyed by the target (its device) and the character.
    std::map<std::pair<QString, char32_t>, bool> accepted_;
    std::map<QString, bool> probeable_;
};

}  // namespace mirelune
