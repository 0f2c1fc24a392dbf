// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "shell/SettingsConversions.h"
#include "shell/SettingsStore.h"
#include "support/FakeWindowLayer.h"

namespace mirelune {
namespace {

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        SettingsStore::resetUnsavedNotice();
    }

    QString FileText() const {
        QFile file(temp.filePath("Trevanor.conf"));
        if (!file.open(QIODevice::ReadOnly)) {
            return QString();
        }
        return QString::fromUtf8(file.readAll());
    }

    // A folder that cannot be created, for any user: its parent is a file.
    QString UnwritableFolder() const {
        const QString blocker = temp.filePath("not-a-folder");
        QFile file(blocker);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return blocker + "/config";
    }

    QTemporaryDir temp;
    test::FakeWindowLayer window;
};

TEST_F(SettingsStoreTest, EmptyStoreGivesEachReadersDefault) {
    SettingsStore store(window, temp.path());
    EXPECT_EQ(ToIndex16(store.get("Combo1", "8")), 8);
    EXPECT_TRUE(ToBoolean(store.get("Option1", "1")));
    EXPECT_FALSE(ToBoolean(store.get("Option2", "0")));
    EXPECT_EQ(store.get("Extension", "mp3"), QStringLiteral("mp3"));
    EXPECT_EQ(store.get("LastFolder", ""), QString());
    EXPECT_FALSE(QFile::exists(store.filePath())) << "reading writes nothing";
    EXPECT_TRUE(window.interactions().empty());
}

TEST_F(SettingsStoreTest, SavedTextsGoToTheFileAtOnceInTheMireluneGroup) {
    SettingsStore store(window, temp.path());
    EXPECT_EQ(store.filePath(), temp.filePath("Trevanor.conf"));

    store.save("Combo1", QString::number(13));
    store.save("Option1", BooleanText(false));
    store.save("Option2", BooleanText(true));

    const QString text = FileText();
    EXPECT_TRUE(text.startsWith("[Mirelune]\n")) << text.toStdString();
    for (const char* line : {"Combo1=13\n", "Option1=False\n", "Option2=True\n"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << " in " << text.toStdString();
    }
    EXPECT_EQ(ToIndex16(store.get("Combo1", "8")), 13);
    EXPECT_FALSE(ToBoolean(store.get("Option1", "1")));
    EXPECT_TRUE(ToBoolean(store.get("Option2", "0")));
}

TEST_F(SettingsStoreTest, TextsComeBackExactly) {
    const char* values[] = {
        R"(C:\Music\)", "/home/u/a, b/", "semi;colon",    "=equals=", "#not a comment",
        "  padded  ",   "Müsik/ñ/日本",  "quote\"inside", "[group]",  "line\nbreak",
    };
    SettingsStore store(window, temp.path());
    for (const char* value : values) {
        store.save("Text1", QString::fromUtf8(value));
        EXPECT_EQ(SettingsStore(window, temp.path()).get("Text1", "default"),
                  QString::fromUtf8(value));
    }
}

TEST_F(SettingsStoreTest, EmptyTextReadsBackEmptyNotAsTheDefault) {
    SettingsStore store(window, temp.path());
    store.save("Text1", "/home/u/Desktop/");
    store.save("Text1", "");
    EXPECT_EQ(store.get("Text1", "/home/u/Desktop/"), QString());
}

TEST_F(SettingsStoreTest, AValueWrittenByAnotherInstanceIsSeenAtTheNextRead) {
    SettingsStore mine(window, temp.path());
    SettingsStore other(window, temp.path());
    EXPECT_EQ(mine.get("Extension", "mp3"), QStringLiteral("mp3"));

    other.save("Extension", "flac");
    EXPECT_EQ(mine.get("Extension", "mp3"), QStringLiteral("flac"));

    // Another process rewrites the file behind Qt's back.
    QFile file(mine.filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Mirelune]\nExtension=wav\nLastFolder=/srv/music\n");
    file.close();
    EXPECT_EQ(mine.get("Extension", "mp3"), QStringLiteral("wav"));
    EXPECT_EQ(mine.get("LastFolder", ""), QStringLiteral("/srv/music"));
}

TEST_F(SettingsStoreTest, HandWrittenValueWithCommasReadsAsItsText) {
    QFile file(temp.filePath("Trevanor.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Mirelune]\nText1=/home/u/a, b/\n");
    file.close();
    EXPECT_EQ(SettingsStore(window, temp.path()).get("Text1", ""), QStringLiteral("/home/u/a, b/"));
}

TEST_F(SettingsStoreTest, MalformedFileIsStillWrittenWithoutANotice) {
    QFile file(temp.filePath("Trevanor.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Mirelune]\nExtension=\xff\xfe\n[broken\n");
    file.close();

    SettingsStore store(window, temp.path());
    store.save("Combo1", "3");

    EXPECT_TRUE(FileText().contains("Combo1=3\n")) << FileText().toStdString();
    EXPECT_TRUE(window.boxes().empty());
}

TEST_F(SettingsStoreTest, UnwritableStoreKeepsValuesInMemoryAndSaysSoOnce) {
    const QString folder = UnwritableFolder();
    SettingsStore store(window, folder);

    store.save("Combo1", "13");
    store.save("Text1", "/home/u/out/");
    SettingsStore second(window, folder);
    second.save("Option1", "False");

    EXPECT_EQ(store.get("Combo1", "8"), QStringLiteral("13"));
    EXPECT_EQ(store.get("Option1", "1"), QStringLiteral("False"));
    EXPECT_EQ(second.get("Text1", ""), QStringLiteral("/home/u/out/"));
    EXPECT_EQ(store.get("Extension", "mp3"), QStringLiteral("mp3"));

    const std::vector<test::Box> boxes = window.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, window.applicationTitle());
    EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(boxes[0].icon, MessageIcon::None);
    EXPECT_TRUE(boxes[0].text.contains("will not be remembered")) << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.contains(store.filePath())) << boxes[0].text.toStdString();
}

TEST_F(SettingsStoreTest, NoticeComesOncePerRunEvenForAnotherFile) {
    SettingsStore first(window, UnwritableFolder());
    first.save("Combo1", "13");
    SettingsStore elsewhere(window, temp.filePath("not-a-folder/other"));
    elsewhere.save("Combo1", "2");
    EXPECT_EQ(window.boxes().size(), 1u);
}

TEST_F(SettingsStoreTest, StoreThatBecomesWritableReceivesTheKeptValues) {
    const QString folder = UnwritableFolder();
    SettingsStore store(window, folder);
    store.save("Combo1", "13");
    store.save("Text1", "");

    ASSERT_TRUE(QFile::remove(temp.filePath("not-a-folder")));
    store.save("Option1", "True");

    const QSettings file(store.filePath(), QSettings::IniFormat);
    EXPECT_EQ(file.value("Mirelune/Combo1").toString(), QStringLiteral("13"));
    EXPECT_EQ(file.value("Mirelune/Text1", "absent").toString(), QString());
    EXPECT_EQ(file.value("Mirelune/Option1").toString(), QStringLiteral("True"));
    EXPECT_EQ(window.boxes().size(), 1u);
}

TEST_F(SettingsStoreTest, DefaultFolderCanBePointedElsewhere) {
    SettingsStore::setDefaultFolder(temp.path());
    EXPECT_EQ(SettingsStore(window).filePath(), temp.filePath("Trevanor.conf"));

    SettingsStore::setDefaultFolder(QString());
    EXPECT_NE(SettingsStore::defaultFolder(), temp.path());
    EXPECT_TRUE(SettingsStore(window).filePath().endsWith("/Trevanor.conf"));
}

}  // namespace
}  // namespace mirelune
