// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

class WindowLayer;

// The user's choices between runs: flat text values in the group "Mirelune"
// of the file "Trevanor.conf" in the user's configuration folder. Every save
// is written to disk at once, and every read looks at the file again, so a
// value written by another running instance is seen at the next read.
//
// When a save cannot reach the disk (a read-only folder, a full disk), the
// value is kept in memory for the rest of the run, still readable through any
// store on the same file, and the user is told once per run, through the
// window layer, that choices will not be remembered. Later saves keep
// trying, so a store that becomes writable again is brought up to date.
class SettingsStore {
  public:
    // The store in folder(), the user's configuration folder unless
    // setDefaultFolder() chose another.
    explicit SettingsStore(WindowLayer& window);
    // The store in the given folder; tests use their own temporary folder.
    SettingsStore(WindowLayer& window, const QString& folder);

    // The stored text of key, or defaultText when the key is absent. A key
    // stored with an empty text reads back empty, not as the default.
    QString get(const QString& key, const QString& defaultText) const;
    void save(const QString& key, const QString& value);

    QString filePath() const { return filePath_; }

    // The folder used by stores created without one. An empty text restores
    // the user's configuration folder.
    static void setDefaultFolder(const QString& folder);
    static QString defaultFolder();

    // Lets a test see the once-per-run notice again.
    static void resetUnsavedNotice();

  private:
    WindowLayer& window_;
    QString filePath_;
};

inline constexpr char kSettingsFileName[] = "Trevanor.conf";
inline constexpr char kSettingsGroup[] = "Mirelune";

}  // namespace mirelune
