// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces of a dry run and of JSON paths that need no program run.
#include "cli/DryRun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonObject>
#include <cerrno>

#include "cli/PathJson.h"
#include "reduce/ReductionOutcome.h"
#include "shell/NameText.h"
#include "support/ScratchDir.h"

namespace mirelune::cli {
namespace {

// The second field appears only for a name that is not UTF-8, so a real
// file whose name holds "\xE9" or U+FFFD as text is never taken for one.
TEST(PathJson, GivesTheBytesOnlyOfNamesThatAreNotUtf8) {
    const struct {
        QByteArray raw;
        QJsonObject json;
        const char* infoJson;
    } cases[] = {
        {"/m/caf\xE9.mp3",
         {{"source", "/m/caf\xEF\xBF\xBD.mp3"}, {"source_base64", "L20vY2Fm6S5tcDM="}},
         R"("source":"/m/caf)"
         "\xEF\xBF\xBD"
         R"(.mp3","source_base64":"L20vY2Fm6S5tcDM=")"},
        {"/m/caf\\xE9.mp3", {{"source", "/m/caf\\xE9.mp3"}}, R"("source":"/m/caf\\xE9.mp3")"},
        {"/m/caf\xEF\xBF\xBD.mp3",
         {{"source", "/m/caf\xEF\xBF\xBD.mp3"}},
         R"("source":"/m/caf)"
         "\xEF\xBF\xBD"
         R"(.mp3")"},
        {"", {{"source", QJsonValue::Null}}, R"("source":"")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw.toStdString());
        QJsonObject object;
        InsertPath(object, QStringLiteral("source"), EscapedNativeName(c.raw));
        EXPECT_EQ(object, c.json);
        std::string out;
        AppendPathJson(out, "source", c.raw.toStdString());
        EXPECT_EQ(out, c.infoJson);
    }
}

// A folder that takes no file fails its rows as the run would; a folder still
// to be made is tried where it would be made, and each folder once.
TEST(DryRun, RowsInAFolderThatTakesNoFileFail) {
    test::ScratchDir dir;
    const QString root = QString::fromStdString(dir.path().string());
    const QString locked = root + "/locked";
    const QString held = root + "/held";
    ASSERT_TRUE(QDir().mkpath(locked) && QDir().mkpath(held));
    std::vector<QString> tried;
    const auto trial = [&](const QString& path) {
        tried.push_back(QDir(root).relativeFilePath(path));
        return path.startsWith(locked) ? EROFS : path.startsWith(held) ? EEXIST : 0;
    };
    Plan plan;
    plan.reductions = {{"/in/a.mp3", locked + "/a.mp3"},
                       {"/in/e.mp3", root + "/new/sub/e.mp3"},
                       {"/in/b.mp3", root + "/b.mp3"},
                       {"/in/c.mp3", locked + "/c.mp3"},
                       {"/in/d.mp3", held + "/d.mp3"}};
    plan.failed = {{"/in/f.mp3", "no such file or folder"}};
    FailUnwritable(plan, trial);

    std::vector<QString> kept;
    for (const PlannedReduction& r : plan.reductions) {
        kept.push_back(r.source);
    }
    EXPECT_EQ(kept, (std::vector<QString>{"/in/e.mp3", "/in/b.mp3", "/in/d.mp3"}));
    ASSERT_EQ(plan.failed.size(), 3u);
    EXPECT_EQ(plan.failed[1].path, "/in/a.mp3");
    EXPECT_EQ(plan.failed[1].text, reason::CannotWriteIn(locked + "/", EROFS));
    EXPECT_EQ(plan.failed[1].output, locked + "/a.mp3");
    EXPECT_EQ(plan.failed[2].path, "/in/c.mp3");
    EXPECT_EQ(tried, (std::vector<QString>{"locked", ".", "held"}));
}

}  // namespace
}  // namespace mirelune::cli
