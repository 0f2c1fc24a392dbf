// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QStringList>
#include <vector>

#include "folders/FileListing.h"
#include "folders/OpenFolders.h"
#include "support/FolderTree.h"

namespace mirelune {
namespace {

// Listed in the order a level-by-level walk lists them, so that the scope's
// kept folders are parents, siblings, cousins and folders far up the tree;
// then the ones that are not there, or not folders, or named through a link.
const char* const kFolders[] = {
    "",   "x",       "x/a",          "x/ab", "y", "x/a/deep", "x/ab/deep", "y/a", "x/a/deep/er",
    "up", "missing", "x/a/song.mp3", "link"};

int OpenDescriptors() {
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).count());
}

TEST(OpenFolders, ListingsInsideTheScopeAreThoseOfThePathsAndNothingStaysOpen) {
    test::Tree tree;
    for (const char* file : {"x/a/song.mp3", "x/ab/other.mp3", "y/a/third.mp3",
                             "x/a/deep/er/fourth.mp3", "up/fifth.mp3", "x/ab/deep/sixth.mp3"}) {
        tree.mp3(QString::fromUtf8(file));
    }
    tree.link(QStringLiteral("link"), "x/a/deep/er");
    std::vector<QStringList> byPath;
    for (const char* folder : kFolders) {
        byPath.push_back(
            ListFolderFiles(tree.path(QString::fromUtf8(folder)), QStringLiteral("*")));
    }

    const int before = OpenDescriptors();
    {
        const OpenFolders scope;
        for (std::size_t i = 0; i < std::size(kFolders); ++i) {
            SCOPED_TRACE(kFolders[i]);
            EXPECT_EQ(
                ListFolderFiles(tree.path(QString::fromUtf8(kFolders[i])), QStringLiteral("*")),
                byPath[i]);
        }
        EXPECT_GT(OpenDescriptors(), before);
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(OpenFolders, AKeptFolderServesOnlyPathsBelowItAndTheRootListsAsOutside) {
    test::Tree tree;
    tree.mp3(QStringLiteral("x/a/c/wrong.mp3"));
    tree.mp3(QStringLiteral("x/abc/right.mp3"));
    const QStringList root = ListFolderFiles(QStringLiteral("/"), QStringLiteral("*"));
    const OpenFolders scope;
    ListFolderFiles(tree.path(QStringLiteral("x/a")), QStringLiteral("*"));
    EXPECT_EQ(ListFolderFiles(tree.path(QStringLiteral("x/abc")), QStringLiteral("*")),
              QStringList{QStringLiteral("right.mp3")});
    EXPECT_EQ(ListFolderFiles(QStringLiteral("/"), QStringLiteral("*")), root);
}

}  // namespace
}  // namespace mirelune
