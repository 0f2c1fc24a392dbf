// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Real folder trees for the tests of the walk and of what it feeds.

#include <QFile>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/Mp3Bytes.h"
#include "support/ScratchDir.h"

namespace mirelune::test {

// Three MPEG-1 Layer III frames at 128 kbps: enough for the analysis.
inline Bytes ValidMp3Bytes() {
    return Frames(kMpeg1L3At128, 417, 3);
}

inline std::filesystem::path Native(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// A scratch folder tree addressed by paths relative to its root.
class Tree {
  public:
    QString root() const { return QFile::decodeName(dir_.path().string().c_str()); }
    QString path(const QString& relative) const { return root() + QLatin1Char('/') + relative; }

    QString folder(const QString& relative) const {
        std::filesystem::create_directories(Native(path(relative)));
        return path(relative);
    }
    QString file(const QString& relative, const Bytes& bytes) const {
        const QString target = path(relative);
        std::filesystem::create_directories(Native(target).parent_path());
        std::ofstream out(Native(target), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return target;
    }
    QString mp3(const QString& relative) const { return file(relative, ValidMp3Bytes()); }
    // Not an MP3 stream: the analysis refuses it.
    QString other(const QString& relative) const {
        Bytes text;
        AppendText(text, "not audio at all\n");
        return file(relative, text);
    }
    QString link(const QString& relative, const std::string& target) const {
        std::filesystem::create_symlink(target, Native(path(relative)));
        return path(relative);
    }

  private:
    ScratchDir dir_;
};

}  // namespace mirelune::test
