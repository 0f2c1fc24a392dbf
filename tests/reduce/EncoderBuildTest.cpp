// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderBuild.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSet>

#include "reduce/EncoderCopy.h"
#include "reduce/EncoderResource.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

TEST(ChooseEncoderBuild, TakesTheV3BuildOnlyWhereTheProcessorRunsItAndTheProgramCarriesIt) {
    struct Case {
        bool processorHasV3;
        bool v3Embedded;
        EncoderBuild expected;
    };
    const Case cases[] = {
        {true, true, EncoderBuild::X86_64_V3},
        {true, false, EncoderBuild::Baseline},
        {false, true, EncoderBuild::Baseline},
        {false, false, EncoderBuild::Baseline},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseEncoderBuild(c.processorHasV3, c.v3Embedded), c.expected)
            << c.processorHasV3 << c.v3Embedded;
    }
}

// The processor's features as the kernel lists them, which it does only for
// those the system supports (AVX only where it saves the registers).
QSet<QByteArray> ProcessorFlags() {
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (!cpuinfo.open(QIODevice::ReadOnly)) {
        return {};
    }
    for (QByteArray line = cpuinfo.readLine(64 * 1024); !line.isEmpty();
         line = cpuinfo.readLine(64 * 1024)) {
        if (line.startsWith("flags")) {
            const QList<QByteArray> words = line.mid(line.indexOf(':') + 1).simplified().split(' ');
            return {words.begin(), words.end()};
        }
    }
    return {};
}

TEST(ProcessorRunsX86_64V3, AgreesWithTheFeaturesTheKernelLists) {
    const QSet<QByteArray> flags = ProcessorFlags();
    if (flags.isEmpty()) {
        GTEST_SKIP() << "no processor flags in /proc/cpuinfo";
    }
    // x86-64-v2 and v3 as the psABI defines them; lzcnt is listed as abm.
    const char* const level[] = {"cx16",  "lahf_lm", "popcnt", "sse4_1", "sse4_2",
                                 "ssse3", "avx",     "avx2",   "bmi1",   "bmi2",
                                 "f16c",  "fma",     "abm",    "movbe",  "xsave"};
    bool hasAll = true;
    for (const char* flag : level) {
        hasAll = hasAll && flags.contains(flag);
    }
    EXPECT_EQ(ProcessorRunsX86_64V3(), hasAll);
}

TEST(LoadEncoderBytes, HoldsEachEncoderTheBuildMadeAndGivesThisProcessorItsOwn) {
    const QByteArray baseline = LoadEncoderBytes(EncoderBuild::Baseline);
    const QByteArray v3 = LoadEncoderBytes(EncoderBuild::X86_64_V3);
    EXPECT_EQ(baseline, test::ReadBytes(QStringLiteral(MIRELUNE_ENCODER)));
    const QString v3Program = QStringLiteral(MIRELUNE_ENCODER_V3);
    EXPECT_EQ(v3, v3Program.isEmpty() ? QByteArray() : test::ReadBytes(v3Program));
    EXPECT_NE(baseline, v3);
    EXPECT_EQ(LoadEncoderBytes(), ProcessorRunsX86_64V3() && !v3.isEmpty() ? v3 : baseline);
    {
        const EncoderBytesOverride standIn(QByteArrayLiteral("#!/bin/sh\n"));
        EXPECT_EQ(LoadEncoderBytes(), QByteArrayLiteral("#!/bin/sh\n"));
        EXPECT_EQ(LoadEncoderBytes(EncoderBuild::Baseline), baseline);
    }
}

QByteArray Encode(const QByteArray& program, const QStringList& args, const QString& out) {
    const EncoderCopy copy(program);
    QProcess encoder;
    encoder.start(copy.path(), args + QStringList{out});
    EXPECT_TRUE(encoder.waitForFinished(-1));
    EXPECT_EQ(encoder.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(encoder.exitCode(), 0) << encoder.readAllStandardError().toStdString();
    return test::ReadBytes(out);
}

// The x86-64-v3 build must never change a result, only its speed: frames
// differing in one bit would make a job's result depend on the processor.
TEST(EncoderBuilds, BothEncodeTheSameBytes) {
    const QByteArray v3 = LoadEncoderBytes(EncoderBuild::X86_64_V3);
    if (v3.isEmpty()) {
        GTEST_SKIP() << "this build carries no x86-64-v3 encoder";
    }
    if (!ProcessorRunsX86_64V3()) {
        GTEST_SKIP() << "this processor cannot run the x86-64-v3 encoder";
    }
    const QByteArray baseline = LoadEncoderBytes(EncoderBuild::Baseline);
    test::ScratchDir dir;
    struct Case {
        const char* name;
        const char* lameArgs;
        const char* kbps;
    };
    // Stereo, joint and mono; resampled to 22.05 and 11.025 kHz at the low
    // bitrates, not at the others.
    const Case cases[] = {
        {"stereo.mp3", "-b 320 -m s", "128"},
        {"joint.mp3", "-b 192 -m j", "32"},
        {"mono.mp3", "-b 128 -m m", "64"},
        {"vbr.mp3", "-V 2", "8"},
    };
    for (const Case& c : cases) {
        const QString source = test::MakeMp3(dir, c.name, 3, c.lameArgs);
        const QStringList args{QStringLiteral("-h"), QStringLiteral("-m"),  QStringLiteral("s"),
                               QStringLiteral("-b"), QLatin1String(c.kbps), source};
        const QByteArray ours = Encode(baseline, args, test::Q(dir.file("baseline.mp3")));
        const QByteArray theirs = Encode(v3, args, test::Q(dir.file("v3.mp3")));
        ASSERT_GT(ours.size(), 1000) << c.name;
        EXPECT_TRUE(ours == theirs) << c.name;
    }
}

}  // namespace
}  // namespace mirelune
