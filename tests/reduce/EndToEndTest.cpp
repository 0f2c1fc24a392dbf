// SPDX-License-Identifier: GPL-3.0-or-later
// The window's job with the real embedded encoder on small generated files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <cmath>
#include <map>
#include <string>

#include "mp3/MP3Info.h"
#include "reduce/ReduceJob.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Q;

// The frames of a file's leading ID3v2.3 or 2.4 tag, by identifier.
std::map<std::string, QByteArray> Id3v2Frames(const QByteArray& file) {
    std::map<std::string, QByteArray> frames;
    if (file.size() < 10 || !file.startsWith("ID3")) {
        return frames;
    }
    const auto byte = [&](qsizetype at) {
        return static_cast<quint32>(static_cast<quint8>(file[at]));
    };
    const auto syncsafe = [&](qsizetype at) {
        return (byte(at) & 0x7F) << 21 | (byte(at + 1) & 0x7F) << 14 | (byte(at + 2) & 0x7F) << 7 |
               (byte(at + 3) & 0x7F);
    };
    const auto bigEndian = [&](qsizetype at) {
        return byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    };
    const int version = file[3];
    const qsizetype end = std::min<qsizetype>(file.size(), 10 + syncsafe(6));
    qsizetype at = 10;
    while (at + 10 <= end && file[at] != '\0') {
        const qsizetype size = version == 4 ? syncsafe(at + 4) : bigEndian(at + 4);
        frames[file.mid(at, 4).toStdString()] = file.mid(at + 10, size);
        at += 10 + size;
    }
    return frames;
}

// The text of a text frame: an encoding byte, then Latin-1, UTF-16 with a
// byte order mark, or UTF-8.
QString FrameText(const QByteArray& payload) {
    if (payload.isEmpty()) {
        return {};
    }
    const QByteArray body = payload.mid(1);
    QString text;
    switch (payload[0]) {
        case 1:
        case 2: {
            QStringDecoder decoder(QStringDecoder::Utf16);
            text = decoder(body);
            break;
        }
        case 3:
            text = QString::fromUtf8(body);
            break;
        default:
            text = QString::fromLatin1(body);
    }
    while (text.endsWith(QChar(u'\0'))) {
        text.chop(1);
    }
    return text;
}

struct Analysis {
    bool valid = false;
    qint32 bitrate = 0;
    double milliseconds = 0;
    bool vbr = false;
};

Analysis Analyse(const QString& path) {
    mp3::MP3Info info;
    Analysis a;
    a.valid = info.ReadMP3Info(QFile::encodeName(path).toStdString());
    a.bitrate = info.Bitrate();
    a.milliseconds = info.duration();
    a.vbr = info.IsVBR();
    return a;
}

TEST(EndToEnd, TheEmbeddedEncoderReducesARealFileAndKeepsItsTags) {
    test::ScratchDir dir;
    const QString temp = Q(dir.file("temp"));
    const QString music = Q(dir.file("music"));
    const QString out = Q(dir.file("out"));
    for (const QString& folder : {temp, music, out}) {
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    const test::ScopedEnv env("TEMP", temp.toLocal8Bit());
    // A picture is all LAME checks the start of: the JPEG markers will do.
    QByteArray picture = QByteArrayLiteral("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00");
    for (int i = 0; i < 300; ++i) {
        picture.append(static_cast<char>(i * 7));
    }
    picture.append("\xFF\xD9");
    test::WriteBytes(Q(dir.file("cover.jpg")), picture);
    const QString source = test::MakeMp3(
        dir, "music/song.mp3", 2.5,
        "-b 256 --tt 'Mirelune Title' --ta 'Mirelune Artist' --ti '" + dir.file("cover.jpg") + "'");
    const QByteArray sourceBytes = test::ReadBytes(source);

    test::FakeJobView view;
    view.rows = {source};
    view.options().outputFolder = out;
    view.options().entryText = QStringLiteral("Reduce to 128 kbps");
    ReduceJob job;
    job.run(view);

    ASSERT_EQ(view.layer().boxes().size(), 1u);
    EXPECT_EQ(view.layer().boxes()[0].text, QStringLiteral("Done."));
    const QString result = out + QStringLiteral("/song.mp3");
    const Analysis before = Analyse(source);
    const Analysis after = Analyse(result);
    ASSERT_TRUE(after.valid);
    EXPECT_EQ(before.bitrate, 256000);
    EXPECT_EQ(after.bitrate, 128000);
    EXPECT_FALSE(after.vbr);
    EXPECT_LE(std::fabs(after.milliseconds - before.milliseconds), 100.0);
    EXPECT_LT(QFile(result).size(), sourceBytes.size());
    EXPECT_EQ(test::ReadBytes(source), sourceBytes);

    const auto sourceTags = Id3v2Frames(sourceBytes);
    const auto resultTags = Id3v2Frames(test::ReadBytes(result));
    ASSERT_EQ(sourceTags.count("TIT2"), 1u);
    EXPECT_EQ(FrameText(sourceTags.at("TIT2")), QStringLiteral("Mirelune Title"));
    EXPECT_EQ(FrameText(sourceTags.at("TPE1")), QStringLiteral("Mirelune Artist"));
    EXPECT_TRUE(sourceTags.at("APIC").contains(picture));
    for (const char* id : {"TIT2", "TPE1", "APIC"}) {
        ASSERT_EQ(resultTags.count(id), 1u) << id;
        EXPECT_EQ(resultTags.at(id), sourceTags.at(id)) << id;
    }

    EXPECT_EQ(test::EntriesOf(out), QStringList{QStringLiteral("song.mp3")});
    EXPECT_EQ(test::EntriesOf(music), QStringList{QStringLiteral("song.mp3")});
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
}

}  // namespace
}  // namespace mirelune
