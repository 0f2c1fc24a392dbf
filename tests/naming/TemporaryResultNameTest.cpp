// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/TemporaryResultName.h"

#include <gtest/gtest.h>

#include <string>

namespace mirelune {
namespace {

TEST(TemporaryResultName, TheTwoFormsAndTheEncodersTemplate) {
    const struct {
        std::string name;
        std::string runTag;  // "-": no temporary name
        std::string encoderTemplate;
    } cases[] = {
        {".mirelune-a1B2c3.part", "", ".mirelune-XXXXXX.part"},
        {".mirelune-run0tag9-a1b2c3.part", "run0tag9", ".mirelune-run0tag9-XXXXXX.part"},
        {"song.mp3", "-", ".mirelune-XXXXXX.part"},
        {".mirelune-a1b2c.part", "-", ".mirelune-XXXXXX.part"},
        {".mirelune-run0tag9_a1b2c3.part", "-", ".mirelune-XXXXXX.part"},
        {".mirelune-run.tag9-a1b2c3.part", "-", ".mirelune-XXXXXX.part"},
        {".mirelune-a1b2c3.mp3", "-", ".mirelune-XXXXXX.part"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(temporary_result::IsTemporaryName(c.name), c.runTag != "-");
        EXPECT_EQ(temporary_result::RunTagOf(c.name), c.runTag == "-" ? "" : c.runTag);
        EXPECT_EQ(temporary_result::TemplateFor(c.name), c.encoderTemplate);
    }
}

}  // namespace
}  // namespace mirelune
