// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QStringList>
#include <functional>

#include "filelist/CandidateWalk.h"
#include "filelist/RefusedFiles.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "support/FakeWindowLayer.h"
#include "support/FolderTree.h"

namespace mirelune {
namespace {

QStringList Offered(const QString& folder, const QString& pattern, WindowLayer& window,
                    const std::function<void()>& afterEach = {}) {
    ErrorGuard guard(window, location::kPushButton3Click);
    RefusedFiles refused;
    QStringList offered;
    OfferFolderTreeFiles(
        folder, pattern, window, guard,
        [&](const QString& path, ErrorGuard&, int, RefusedFiles&) {
            offered.append(path);
            if (afterEach) {
                afterEach();
            }
        },
        refused);
    return offered;
}

// An album as people name it: unpadded numbers, letter case as it came.
TEST(CandidateWalkTest, FilesAndSubFoldersComeInNaturalOrder) {
    test::Tree tree;
    test::FakeWindowLayer window;
    const auto track = [](int n) {
        const char* word = n % 3 == 0 ? "TRACK" : n % 2 == 0 ? "track" : "Track";
        return QStringLiteral("album/%1 %2.mp3").arg(QString::fromLatin1(word)).arg(n);
    };
    // Made in another order than they are to come.
    for (int n : {7, 12, 1, 10, 3, 5, 11, 2, 9, 4, 8, 6}) {
        tree.mp3(track(n));
    }
    for (const char* disc : {"Disc 10", "disc 1", "Disc 2"}) {
        tree.mp3(QStringLiteral("album/%1/Track 1.mp3").arg(QString::fromLatin1(disc)));
    }
    QStringList expected;
    for (int n = 1; n <= 12; ++n) {
        expected.append(tree.path(track(n)));
    }
    for (const char* disc : {"disc 1", "Disc 2", "Disc 10"}) {
        expected.append(tree.path(QStringLiteral("album/%1/Track 1.mp3").arg(disc)));
    }

    EXPECT_EQ(Offered(tree.path("album"), "*.mp3", window), expected);
}

// Closing the window during a long walk ends the offering of files too.
TEST(CandidateWalkTest, AClosingWindowEndsTheOffering) {
    test::Tree tree;
    test::FakeWindowLayer offering;
    tree.mp3("A/1.mp3");
    tree.mp3("A/2.mp3");
    tree.mp3("A/B/3.mp3");
    EXPECT_EQ(Offered(tree.path("A"), "*.mp3", offering, [&] { offering.setClosing(); }).size(), 1);
    EXPECT_TRUE(offering.boxes().empty());
}

}  // namespace
}  // namespace mirelune
