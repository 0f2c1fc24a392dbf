#include <gtest/gtest.h>

#include <QStringList>

#include "filelist/CandidateWalk.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "support/FakeWindowLayer.h"
#include "support/FolderTree.h"

namespace mirelune {
namespace {

// Closing the window during a long walk ends the offering of files too.
TEST(CandidateWalkTest, AClosingWindowEndsTheOffering) {
    test::Tree tree;
    test::FakeWindowLayer offering;
    tree.mp3("A/1.mp3");
    tree.mp3("A/2.mp3");
    tree.mp3("A/B/3.mp3");
    ErrorGuard guard(offering, location::kPushButton3Click);
    QStringList offered;
    OfferFolderTreeFiles(tree.path("A"), "*.mp3", offering, guard,
                         [&](const QString& path, ErrorGuard&, int) {
                             offered.append(path);
                             offering.setClosing();
                         });
    EXPECT_EQ(offered.size(), 1);
    EXPECT_TRUE(offering.boxes().empty());
}

}  // namespace
}  // namespace mirelune
