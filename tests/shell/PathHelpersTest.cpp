// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "shell/PathHelpers.h"

namespace mirelune {
namespace {

constexpr char16_t kWindows = u'\\';
constexpr char16_t kLinux = u'/';

struct TextCase {
    char16_t separator;
    const char* input;
    const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << "'" << static_cast<char>(c.separator) << "' \"" << c.input << "\"";
}

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class FileNameOfCases : public ::testing::TestWithParam<TextCase> {};
TEST_P(FileNameOfCases, TakesTheTextAfterTheLastSeparator) {
    EXPECT_EQ(FileNameOf(Text(GetParam().input), QChar(GetParam().separator)),
              Text(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(
    BothStyles, FileNameOfCases,
    ::testing::Values(TextCase{kWindows, R"(C:\Music\song.mp3)", "song.mp3"},
                      TextCase{kWindows, "song.mp3", "song.mp3"},
                      TextCase{kWindows, R"(C:\Music\)", ""}, TextCase{kWindows, "", ""},
                      TextCase{kLinux, "/home/u/song.mp3", "song.mp3"}, TextCase{kLinux, "/", ""},
                      TextCase{kLinux, "song", "song"},
                      // The other platform's separator is an ordinary character.
                      TextCase{kLinux, R"(/home/a\b.mp3)", R"(a\b.mp3)"}));

class FolderOfCases : public ::testing::TestWithParam<TextCase> {};
TEST_P(FolderOfCases, KeepsTheTextUpToAndIncludingTheLastSeparator) {
    EXPECT_EQ(FolderOf(Text(GetParam().input), QChar(GetParam().separator)),
              Text(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(
    BothStyles, FolderOfCases,
    ::testing::Values(TextCase{kWindows, R"(C:\Music\song.mp3)", R"(C:\Music\)"},
                      TextCase{kWindows, "song.mp3", ""}, TextCase{kWindows, R"(C:\)", R"(C:\)"},
                      TextCase{kLinux, "/home/u/song.mp3", "/home/u/"},
                      TextCase{kLinux, "/song.mp3", "/"}, TextCase{kLinux, "", ""}));

class WithoutExtensionCases : public ::testing::TestWithParam<TextCase> {};
TEST_P(WithoutExtensionCases, CutsOnlyTheLastElementsExtension) {
    EXPECT_EQ(WithoutExtension(Text(GetParam().input), QChar(GetParam().separator)),
              Text(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(
    BothStyles, WithoutExtensionCases,
    ::testing::Values(TextCase{kWindows, R"(C:\Music\song.mp3)", R"(C:\Music\song)"},
                      TextCase{kWindows, ".hidden", ".hidden"},
                      TextCase{kWindows, R"(C:\Music\song.wav.mp3)", R"(C:\Music\song.wav)"},
                      TextCase{kWindows, R"(C:\my.music\track)", R"(C:\my.music\track)"},
                      TextCase{kWindows, R"(C:\Music\.hidden)", R"(C:\Music\.hidden)"},
                      TextCase{kWindows, "", ""},
                      TextCase{kLinux, "/music/song.mp3", "/music/song"},
                      TextCase{kLinux, "/music/my.album/track", "/music/my.album/track"},
                      TextCase{kLinux, "/music/.hidden", "/music/.hidden"},
                      TextCase{kLinux, "/music/.hidden.mp3", "/music/.hidden"},
                      TextCase{kLinux, "/music/song.", "/music/song"}, TextCase{kLinux, "a.b", "a"},
                      TextCase{kLinux, "/", "/"}));

struct CollapseCase {
    char16_t separator;
    LeadingSeparators leading;
    const char* input;
    const char* expected;
};

void PrintTo(const CollapseCase& c, std::ostream* out) {
    *out << "'" << static_cast<char>(c.separator) << "' \"" << c.input << "\"";
}

class CollapseSeparatorsCases : public ::testing::TestWithParam<CollapseCase> {};
TEST_P(CollapseSeparatorsCases, RemovesDoubledSeparatorsInOnePass) {
    const CollapseCase& c = GetParam();
    EXPECT_EQ(CollapseSeparators(Text(c.input), QChar(c.separator), c.leading), Text(c.expected));
}

constexpr LeadingSeparators kTwo = LeadingSeparators::KeepTwo;
constexpr LeadingSeparators kOne = LeadingSeparators::KeepOne;

INSTANTIATE_TEST_SUITE_P(
    NetworkPathStyle, CollapseSeparatorsCases,
    ::testing::Values(CollapseCase{kWindows, kTwo, R"(C:\\song.mp3)", R"(C:\song.mp3)"},
                      CollapseCase{kWindows, kTwo, R"(C:\a\\\b)", R"(C:\a\\b)"},
                      CollapseCase{kWindows, kTwo, R"(C:\a\\\\b)", R"(C:\a\\b)"},
                      CollapseCase{kWindows, kTwo, R"(\\\server\share\\x)", R"(\\server\share\x)"},
                      CollapseCase{kWindows, kTwo, R"(\\server\share)", R"(\\server\share)"},
                      CollapseCase{kWindows, kTwo, R"(\x)", R"(\\x)"},
                      CollapseCase{kWindows, kTwo, R"(\\\)", R"(\\)"},
                      CollapseCase{kWindows, kTwo, "", ""}));

INSTANTIATE_TEST_SUITE_P(
    SingleRootStyle, CollapseSeparatorsCases,
    ::testing::Values(CollapseCase{kLinux, kOne, "/home/u/song.mp3", "/home/u/song.mp3"},
                      CollapseCase{kLinux, kOne, "//home/u/song.mp3", "/home/u/song.mp3"},
                      CollapseCase{kLinux, kOne, "///srv//x", "/srv/x"},
                      CollapseCase{kLinux, kOne, "/out//song.mp3", "/out/song.mp3"},
                      CollapseCase{kLinux, kOne, "/a///b", "/a//b"},
                      CollapseCase{kLinux, kOne, "rel//x", "rel/x"},
                      CollapseCase{kLinux, kOne, "/", "/"}, CollapseCase{kLinux, kOne, "///", "/"},
                      CollapseCase{kLinux, kOne, R"(/a\\b)", R"(/a\\b)"},
                      CollapseCase{kLinux, kOne, "", ""}));

// The reduce job joins a folder ending in a separator with a separator and a
// name, collapses, and compares with the source to avoid encoding a file onto
// itself: the join must come back to exactly the source text.
TEST(PathHelpers, FolderJoinedWithFileNameCollapsesBackToTheSource) {
    const struct {
        char16_t separator;
        LeadingSeparators leading;
        const char* source;
    } cases[] = {
        {kWindows, kTwo, R"(C:\Music\song.mp3)"},
        {kWindows, kTwo, R"(\\server\share\song.mp3)"},
        {kLinux, kOne, "/home/u/song.mp3"},
        {kLinux, kOne, "/song.mp3"},
    };
    for (const auto& c : cases) {
        const QChar sep(c.separator);
        const QString source = Text(c.source);
        const QString joined =
            FolderOf(source, sep) + sep + FileNameOf(WithoutExtension(source, sep) + ".mp3", sep);
        EXPECT_EQ(CollapseSeparators(joined, sep, c.leading), source) << c.source;
    }
}

#ifndef Q_OS_WIN
TEST(PathHelpers, PlatformFunctionsUseTheSlashAndASingleRoot) {
    EXPECT_EQ(QChar(kPathSeparator), QLatin1Char('/'));
    EXPECT_EQ(CollapseSeparators(QStringLiteral("//home/u//song.mp3")),
              QStringLiteral("/home/u/song.mp3"));
    EXPECT_EQ(FileNameOf(QStringLiteral("/home/u/song.mp3")), QStringLiteral("song.mp3"));
    EXPECT_EQ(FolderOf(QStringLiteral("/home/u/song.mp3")), QStringLiteral("/home/u/"));
    EXPECT_EQ(WithoutExtension(QStringLiteral("/home/u.v/track")),
              QStringLiteral("/home/u.v/track"));
}
#endif

class FileSystemQueries : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        folder = temp.path();
        file = folder + "/song.mp3";
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        ASSERT_TRUE(QDir(folder).mkdir("sub"));
#ifndef Q_OS_WIN
        ASSERT_TRUE(QFile::link(file, folder + "/to-file"));
        ASSERT_TRUE(QFile::link(folder + "/sub", folder + "/to-sub"));
        ASSERT_TRUE(QFile::link(folder + "/missing", folder + "/dangling"));
#endif
    }

    QTemporaryDir temp;
    QString folder;
    QString file;
};

TEST_F(FileSystemQueries, IsFolderAnswersOnlyForExistingFolders) {
    EXPECT_TRUE(IsFolder(QDir::rootPath()));
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_TRUE(IsFolder(folder + "/"));
    EXPECT_TRUE(IsFolder(folder + "/sub/"));
    EXPECT_FALSE(IsFolder(file));
    EXPECT_FALSE(IsFolder(file + "/"));
    EXPECT_FALSE(IsFolder(folder + "/missing"));
    EXPECT_FALSE(IsFolder(QString()));
    EXPECT_FALSE(IsFolder(QString(5000, QLatin1Char('a'))));
    // The system would see only the text before the NUL, an existing folder.
    EXPECT_FALSE(IsFolder(folder + QChar(0) + "junk"));
#ifndef Q_OS_WIN
    EXPECT_TRUE(IsFolder(folder + "/to-sub"));
    EXPECT_FALSE(IsFolder(folder + "/to-file"));
#endif
}

TEST_F(FileSystemQueries, PathExistsForFilesAndFoldersOnly) {
    EXPECT_TRUE(PathExists(file));
    EXPECT_TRUE(PathExists(folder));
    EXPECT_TRUE(PathExists(folder + "/"));
    EXPECT_FALSE(PathExists(file + "/"));
    EXPECT_FALSE(PathExists(folder + "/missing"));
    EXPECT_FALSE(PathExists(QString()));
    EXPECT_FALSE(PathExists(QString(5000, QLatin1Char('a'))));
    EXPECT_FALSE(PathExists(file + QChar(0) + "junk"));
#ifndef Q_OS_WIN
    EXPECT_TRUE(PathExists(folder + "/to-file"));
    EXPECT_FALSE(PathExists(folder + "/dangling"));
#endif
}

}  // namespace
}  // namespace mirelune
