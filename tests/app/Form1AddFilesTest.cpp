// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the real window's list by folder scan, by drops on the list and
// with the sample files.
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "app/WindowTestSupport.h"
#include "filelist/SampleFiles.h"

namespace mirelune {
namespace {

class AddFilesTest : public test::WindowTest {
  protected:
    void SetUp() override {
        start();
        form().show();
        viewport = control<QTreeView>("ListView1")->viewport();
    }

    void click(const char* button) { control<QPushButton>(button)->click(); }
    std::vector<FileEntry> rows() { return test::Entries(form().fileList()); }

    // Whether the list takes the drag when it enters with data.
    bool enterWith(const QMimeData& data) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        return enter.isAccepted();
    }

    QWidget* viewport = nullptr;
};

TEST_F(AddFilesTest, AddAllInFolderListsTheTreeUnderTheBusyPointer) {
    const QString root = folder("tree");
    const QString a = test::WriteMp3At128(scratch_, "tree/a.mp3");
    test::WriteNotMp3(scratch_, "tree/notes.txt");
    folder("tree/sub");
    const QString b = test::WriteMp3At192(scratch_, "tree/sub/b.mp3");
    window().queueInput(QStringLiteral("mp3"));
    window().queueFolder(root);
    std::vector<bool> busyAtYields;
    window().onYield([&] { busyAtYields.push_back(form().isBusy()); });

    click("PushButton3");
    EXPECT_EQ(rows(), (std::vector<FileEntry>{{a, "128 kbps"}, {b, "192 kbps"}}));
    ASSERT_FALSE(busyAtYields.empty());
    EXPECT_EQ(std::count(busyAtYields.begin(), busyAtYields.end(), false), 0);
    EXPECT_EQ(form().pointerKind(), PointerKind::Default);
    EXPECT_TRUE(window().boxes().empty());
    EXPECT_EQ(window().unusedAnswers(), 0u);
}

TEST_F(AddFilesTest, AScanAddsNothingOnceTheWindowHasClosed) {
    const QString root = folder("tree");
    test::WriteMp3At128(scratch_, "tree/a.mp3");
    window().queueInput(QStringLiteral("*"));
    window().queueFolder(root);
    window().onYield([&] { form().close(); });
    click("PushButton3");
    EXPECT_EQ(form().fileList().count(), 0);
    EXPECT_TRUE(window().boxes().empty());
}

TEST_F(AddFilesTest, ADroppedFileThenFolderAreListedOnceTheDropHasReturned) {
    const QString loose = test::WriteMp3At128(scratch_, "loose.mp3");
    const QString album = folder("album");
    const QString x = test::WriteMp3At192(scratch_, "album/x.mp3");
    folder("album/disc 2");
    const QString y = test::WriteMp3At128(scratch_, "album/disc 2/y.mp3");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(loose), QUrl::fromLocalFile(album)});

    ASSERT_TRUE(enterWith(data));
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(form().fileList().count(), 0);

    QCoreApplication::processEvents();
    EXPECT_EQ(rows(),
              (std::vector<FileEntry>{{loose, "128 kbps"}, {x, "192 kbps"}, {y, "128 kbps"}}));
    EXPECT_TRUE(window().boxes().empty());
}

TEST_F(AddFilesTest, ADropNamesWhatItCouldNotTakeInOneBoxOnceItIsDone) {
    const QString album = folder("album");
    const QString x = test::WriteMp3At192(scratch_, "album/x.mp3");
    const QString cover = test::WriteNotMp3(scratch_, "album/cover.jpg");
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file:///music/caf%E9.mp3"), QUrl::fromLocalFile(album)});
    ASSERT_TRUE(enterWith(data));
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    QCoreApplication::processEvents();

    EXPECT_EQ(rows(), (std::vector<FileEntry>{{x, "192 kbps"}}));
    EXPECT_EQ(window().boxes(),
              (std::vector<test::Box>{
                  {QStringLiteral("Mirelune"),
                   "2 files were left out:\r\n\"/music/caf\\xE9.mp3\" (name is not valid "
                   "UTF-8)\r\n" +
                       cover + " (not a valid MP3 file)",
                   MessageButtons::Ok, MessageIcon::None}}));
}

TEST_F(AddFilesTest, ADragWithoutLocalFilesIsRefused) {
    struct Case {
        const char* what;
        std::function<void(QMimeData&)> fill;
    };
    const Case cases[] = {
        {"text", [](QMimeData& d) { d.setText(QStringLiteral("/music/a.mp3")); }},
        {"html", [](QMimeData& d) { d.setHtml(QStringLiteral("<b>a.mp3</b>")); }},
        {"web address",
         [](QMimeData& d) { d.setUrls({QUrl(QStringLiteral("https://example.org/a.mp3"))}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QMimeData data;
        c.fill(data);
        EXPECT_FALSE(enterWith(data));
    }
}

TEST_F(AddFilesTest, TheSampleFilesTwiceAreListedOnceWithTheirBitrates) {
    const QString samples = SampleFolder(applicationFolder_);
    ASSERT_TRUE(QDir().mkpath(samples));
    const QStringList names =
        QDir(QString::fromUtf8(MIRELUNE_SAMPLES_DIR)).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        ASSERT_TRUE(QFile::copy(QString::fromUtf8(MIRELUNE_SAMPLES_DIR) + QLatin1Char('/') + name,
                                samples + QLatin1Char('/') + name));
    }

    click("PushButton5");
    click("PushButton5");
    const std::vector<FileEntry> listed = rows();
    std::set<QString> listedNames;
    // A constant bitrate is in the sample's name; a VBR file shows its average.
    const QRegularExpression named(QStringLiteral("^(\\d+ kbps) "));
    for (const FileEntry& row : listed) {
        SCOPED_TRACE(row.path.toStdString());
        EXPECT_EQ(QFileInfo(row.path).absolutePath(), samples);
        listedNames.insert(QFileInfo(row.path).fileName());
        const QRegularExpressionMatch match = named.match(QFileInfo(row.path).fileName());
        if (match.hasMatch()) {
            EXPECT_EQ(row.bitrateText, match.captured(1));
        } else {
            EXPECT_TRUE(row.bitrateText.endsWith(QStringLiteral(" kbps")));
        }
    }
    EXPECT_EQ(listed.size(), static_cast<std::size_t>(names.size()));
    EXPECT_EQ(listedNames, std::set<QString>(names.begin(), names.end()));
    // The question about the folder, asked at each press and answered No.
    const test::Box question{QStringLiteral("Mirelune"),
                             QString::fromUtf8(kOpenSampleFolderQuestion), MessageButtons::YesNo,
                             MessageIcon::None};
    EXPECT_EQ(window().boxes(), (std::vector<test::Box>{question, question}));
}

}  // namespace
}  // namespace mirelune
