// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "folders/FolderWalk.h"
#include "folders/SystemFolderQueries.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/ErrorReport.h"
#include "shell/NameText.h"
#include "support/FakeWindowLayer.h"
#include "support/FolderTree.h"

namespace mirelune {
namespace {

using test::Tree;

// The real file system, except where a test makes a listing fail.
class FailingFolders : public FolderQueries {
  public:
    std::optional<FileIdentity> identity(const QString& folder) override {
        return system.identity(folder);
    }
    SubFolderListing subFolders(const QString& folder) override {
        if (beforeListing.count(folder) != 0) {
            beforeListing[folder]();
        }
        SubFolderListing listing = system.subFolders(folder);
        const auto failure = failures.find(folder);
        if (failure != failures.end()) {
            // Fails after the first folder it found, as a listing cut short would.
            listing.folders.resize(std::min<std::size_t>(listing.folders.size(), 1));
            listing.failure = failure->second;
        }
        return listing;
    }

    SystemFolderQueries system;
    std::map<QString, ListingFailure> failures;
    // Runs when the walk takes a folder up, before it lists it.
    std::map<QString, std::function<void()>> beforeListing;
};

class FolderWalkTest : public ::testing::Test {
  protected:
    FolderList Walk(const QString& folder, FolderQueries& queries = SystemFolders()) {
        FolderList folders{folder + "/"};
        FolderWalk(window, queries).GetSubDirectories2016(folders, true);
        return folders;
    }
    QString Entry(const QString& relative) const { return tree.path(relative) + "/"; }

    Tree tree;
    test::FakeWindowLayer window;
};

TEST_F(FolderWalkTest, LevelByLevelEachParentsSubFoldersInNaturalOrder) {
    for (const char* path : {"A/b/D", "A/b/f", "A/C/E", "A/g", "A/C 10", "A/C 9"}) {
        tree.folder(path);
    }

    EXPECT_EQ(Walk(tree.path("A")),
              (FolderList{Entry("A"), Entry("A/b"), Entry("A/C"), Entry("A/C 9"), Entry("A/C 10"),
                          Entry("A/g"), Entry("A/b/D"), Entry("A/b/f"), Entry("A/C/E")}));
    EXPECT_TRUE(window.boxes().empty());
}

TEST_F(FolderWalkTest, FoldersLeftOutForTheirNamesAreToldWithEverythingBelowLeftOut) {
    // In natural order; the undecodable name is told after the others.
    const struct {
        QString name;
        const char* leftOut;  // nullptr: walked
    } cases[] = {
        {".hidden", nullptr},
        {"a control" + QString(QChar(0x01)), left_out::kUnsafeFolderName},
        {"b c1 control" + QString(QChar(0x85)), left_out::kUnsafeFolderName},
        {"c Who Are You?", nullptr},
        {"d ~tilde", nullptr},
        {QString::fromUtf8("e caf\xC3\xA9") + QChar(0xA0), nullptr},
    };
    for (const auto& c : cases) {
        tree.folder("root/" + c.name + "/below");
    }
    // Bytes that are no text at all.
    std::filesystem::create_directories(test::Native(tree.path("root")) / "f bad\xFF" / "below");
    FolderList expected{Entry("root")};
    std::vector<std::pair<QString, QString>> expectedLeftOut;
    for (const auto& c : cases) {
        if (c.leftOut == nullptr) {
            expected.append(Entry("root/" + c.name));
        } else {
            expectedLeftOut.emplace_back(tree.path("root/" + c.name), QString::fromUtf8(c.leftOut));
        }
    }
    for (const auto& c : cases) {
        if (c.leftOut == nullptr) {
            expected.append(Entry("root/" + c.name + "/below"));
        }
    }
    expectedLeftOut.emplace_back(tree.path("root/" + EscapedNativeName("f bad\xFF")),
                                 QString::fromUtf8(left_out::kFolderNameNotUtf8));

    std::vector<std::pair<QString, QString>> leftOut;
    FolderList folders{tree.path("root") + "/"};
    FolderWalk(window, SystemFolders(), [&](const QString& path, const QString& reason) {
        leftOut.emplace_back(path, reason);
    }).GetSubDirectories2016(folders, true);

    EXPECT_EQ(folders, expected);
    EXPECT_EQ(leftOut, expectedLeftOut);
}

TEST_F(FolderWalkTest, ALinkBackUpTheTreeIsWalkedOnce) {
    tree.folder("A/B");
    tree.link("A/B/up", "..");
    tree.link("A/B/self", ".");

    EXPECT_EQ(Walk(tree.path("A")), (FolderList{Entry("A"), Entry("A/B")}));
}

TEST_F(FolderWalkTest, EachRealFolderOnceWhicheverPathReachesItFirst) {
    tree.folder("A/B");
    tree.folder("A/C");
    tree.link("A/C/toB", "../B");
    tree.folder("elsewhere/inner");
    tree.link("A/B/out", "../../elsewhere");

    const FolderList folders = Walk(tree.path("A"));
    EXPECT_TRUE(folders.contains(Entry("A/B")));
    EXPECT_FALSE(folders.contains(Entry("A/C/toB")));
    // A folder outside the tree is walked like any other.
    EXPECT_TRUE(folders.contains(Entry("A/B/out")));
    EXPECT_TRUE(folders.contains(Entry("A/B/out/inner")));
    EXPECT_EQ(folders.size(), 5);
}

TEST_F(FolderWalkTest, EntriesPassedInStayEvenWhenTheyNameAWalkedFolder) {
    tree.folder("A/B");
    tree.link("again", "A");

    FolderList folders{Entry("A"), Entry("again")};
    FolderWalk(window, SystemFolders()).GetSubDirectories2016(folders, true);

    EXPECT_EQ(folders, (FolderList{Entry("A"), Entry("again"), Entry("A/B")}));
}

TEST_F(FolderWalkTest, AFolderThatCannotBeListedIsDroppedOrKeptByTheReason) {
    const struct {
        ListingFailure failure;
        bool folderStays;
    } cases[] = {
        {ListingFailure::AccessDenied, false},
        {ListingFailure::NotFound, false},
        {ListingFailure::Other, true},
    };
    tree.folder("A/B/one");
    tree.folder("A/B/two");
    tree.folder("A/C/three");
    for (const auto& c : cases) {
        FailingFolders folders;
        folders.failures[Entry("A/B")] = c.failure;
        const FolderList walked = Walk(tree.path("A"), folders);

        EXPECT_EQ(walked.contains(Entry("A/B")), c.folderStays);
        // What the listing found before it failed stays; the walk goes on.
        EXPECT_EQ(walked.filter("/A/B/").size() - (c.folderStays ? 1 : 0), 1);
        EXPECT_TRUE(walked.contains(Entry("A/C/three")));
        EXPECT_TRUE(window.boxes().empty());
    }
}

TEST_F(FolderWalkTest, AFolderThatVanishesBeforeItIsListedIsLeftOut) {
    tree.folder("A/B/below");
    tree.folder("A/C");
    FailingFolders folders;
    folders.beforeListing[Entry("A/B")] = [&] {
        std::filesystem::rename(test::Native(tree.path("A/B")), test::Native(tree.path("moved")));
    };

    EXPECT_EQ(Walk(tree.path("A"), folders), (FolderList{Entry("A"), Entry("A/C")}));
    EXPECT_TRUE(window.boxes().empty());
}

TEST_F(FolderWalkTest, AFolderWithoutReadPermissionIsLeftOut) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root; the listing failure is covered above";
    }
    tree.folder("A/locked/below");
    tree.folder("A/open");
    const auto locked = test::Native(tree.path("A/locked"));
    std::filesystem::permissions(locked, std::filesystem::perms::none);

    const FolderList folders = Walk(tree.path("A"));
    // Open again, so the scratch folder can be removed.
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
    EXPECT_EQ(folders, (FolderList{Entry("A"), Entry("A/open")}));
}

TEST_F(FolderWalkTest, FailuresOutsideTheListingAreReportedAndTheWalkGoesOn) {
    tree.folder("A/B");
    int yields = 0;
    window.onYield([&] {
        if (++yields == 1) {
            throw std::runtime_error("yield failed");
        }
    });

    EXPECT_EQ(Walk(tree.path("A")), (FolderList{Entry("A"), Entry("A/B")}));
    ASSERT_EQ(window.boxes().size(), 1u);
    EXPECT_EQ(
        window.boxes()[0].text,
        ErrorReportText("yield failed", QString::fromUtf8(location::kGetSubDirectories2016), 114));
}

TEST_F(FolderWalkTest, FailuresWhileListingEndThatListingWithoutAReport) {
    tree.folder("A/B");
    int yields = 0;
    window.onYield([&] {
        // The first yield is for A itself; the second for its first entry.
        if (++yields == 2) {
            throw std::runtime_error("listing failed");
        }
    });

    EXPECT_EQ(Walk(tree.path("A")), (FolderList{Entry("A")}));
    EXPECT_TRUE(window.boxes().empty());
}

// Closing the window during a long walk ends it at the next folder, instead
// of keeping an invisible program busy until the whole tree is read.
TEST_F(FolderWalkTest, AClosingWindowEndsTheWalk) {
    tree.folder("A/B/D");
    tree.folder("A/C");
    window.onYield([this] { window.setClosing(); });
    EXPECT_EQ(Walk(tree.path("A")), FolderList{Entry("A")});
}

TEST_F(FolderWalkTest, TheWindowRunsBetweenFolders) {
    tree.folder("A/B");
    tree.folder("A/C");
    Walk(tree.path("A"));
    // A, B and C examined; B and C listed under A.
    EXPECT_EQ(window.yieldCount(), 5);
}

// Deep trees built one level at a time, since their full paths are too long
// for the system to take in one piece.
class DeepTree {
  public:
    explicit DeepTree(const QString& root) : root_(root) {}
    ~DeepTree() {
        const int fd = ::open(QFile::encodeName(root_).constData(), O_DIRECTORY | O_RDONLY);
        if (fd >= 0) {
            RemoveBelow(fd, levels_);
            ::close(fd);
        }
    }
    DeepTree(const DeepTree&) = delete;
    DeepTree& operator=(const DeepTree&) = delete;

    // Adds levels folders named name; returns every folder's path with its separator.
    QStringList build(const std::string& name, int levels) {
        levels_ = levels;
        name_ = name;
        QStringList folders;
        QString path = root_ + "/";
        int fd = ::open(QFile::encodeName(root_).constData(), O_DIRECTORY | O_RDONLY);
        for (int i = 0; i < levels && fd >= 0; ++i) {
            ::mkdirat(fd, name.c_str(), 0755);
            const int next = ::openat(fd, name.c_str(), O_DIRECTORY | O_RDONLY);
            ::close(fd);
            fd = next;
            path += QString::fromStdString(name) + "/";
            folders.append(path);
        }
        if (fd >= 0) {
            ::close(fd);
        }
        return folders;
    }

  private:
    void RemoveBelow(int fd, int depth) {
        if (depth == 0) {
            return;
        }
        const int next = ::openat(fd, name_.c_str(), O_DIRECTORY | O_RDONLY);
        if (next >= 0) {
            RemoveBelow(next, depth - 1);
            ::close(next);
        }
        ::unlinkat(fd, name_.c_str(), AT_REMOVEDIR);
    }

    QString root_;
    std::string name_;
    int levels_ = 0;
};

TEST_F(FolderWalkTest, FoldersBeyondThePathLimitAreNeitherWalkedNorListedButTold) {
    DeepTree deep(tree.root());
    const QStringList all = deep.build(std::string(200, 'd'), PATH_MAX / 200 + 2);
    FolderList reachable{tree.root() + "/"};
    for (const QString& folder : all) {
        if (QFile::encodeName(folder).size() < PATH_MAX) {
            reachable.append(folder);
        }
    }
    ASSERT_LT(reachable.size(), all.size() + 1);
    const QString firstTooLong = all.at(reachable.size() - 1);

    QStringList leftOut;
    FolderList folders{tree.root() + "/"};
    FolderWalk(window, SystemFolders(), [&](const QString& path, const QString& reason) {
        leftOut.append(path + " | " + reason);
    }).GetSubDirectories2016(folders, true);

    EXPECT_EQ(folders, reachable);
    EXPECT_EQ(leftOut, QStringList{firstTooLong.chopped(1) + " | " +
                                   QString::fromUtf8(left_out::kFolderPathTooLong)});
    EXPECT_TRUE(window.boxes().empty());
}

TEST_F(FolderWalkTest, TheLimitCountsThePathWithItsSeparatorToTheByte) {
    DeepTree deep(tree.root());
    const int rootBytes = static_cast<int>(QFile::encodeName(tree.root() + "/").size());
    const QStringList chain = deep.build(std::string(50, 'd'), (PATH_MAX - rootBytes - 200) / 51);
    const QString last = chain.last();
    const int room = PATH_MAX - static_cast<int>(QFile::encodeName(last).size());
    // With its separator, "a..." is one byte short of the limit and "b..." reaches it.
    const QString fits = last + QString(room - 2, 'a');
    const QString reaches = last + QString(room - 1, 'b');
    ASSERT_EQ(::mkdir(QFile::encodeName(fits).constData(), 0755), 0);
    ASSERT_EQ(::mkdir(QFile::encodeName(reaches).constData(), 0755), 0);

    QStringList leftOut;
    FolderList folders{tree.root() + "/"};
    FolderWalk(window, SystemFolders(), [&](const QString& path, const QString& reason) {
        leftOut.append(path + " | " + reason);
    }).GetSubDirectories2016(folders, true);

    EXPECT_EQ(folders, FolderList{tree.root() + "/"} + chain + QStringList{fits + "/"});
    EXPECT_EQ(leftOut,
              QStringList{reaches + " | " + QString::fromUtf8(left_out::kFolderPathTooLong)});
    ::rmdir(QFile::encodeName(fits).constData());
    ::rmdir(QFile::encodeName(reaches).constData());
}

// A deep chain costs what its folders cost: the walk once examined every
// folder again at each level above it, each time by its whole path.
TEST_F(FolderWalkTest, ADeepChainIsWalkedInOrderLookingAtEachFolderOnce) {
    class CountingFolders : public SystemFolderQueries {
      public:
        std::optional<FileIdentity> identity(const QString& folder) override {
            ++identities;
            return SystemFolderQueries::identity(folder);
        }
        SubFolderListing subFolders(const QString& folder) override {
            ++listings;
            return SystemFolderQueries::subFolders(folder);
        }
        int identities = 0;
        int listings = 0;
    } counting;
    DeepTree deep(tree.root());
    const QStringList chain = deep.build("a", 300);

    FolderList folders{tree.root() + "/"};
    FolderWalk(window, counting).GetSubDirectories2016(folders, true);

    EXPECT_EQ(folders, FolderList{tree.root() + "/"} + chain);
    // Only the folder given is looked up by its path; each listing tells
    // what its sub-folders are.
    EXPECT_EQ(counting.identities, 1);
    EXPECT_EQ(counting.listings, chain.size() + 1);
}

}  // namespace
}  // namespace mirelune
