// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include "reduce/ResultJournal.h"
#include "support/ScratchDir.h"

namespace mirelune {
namespace {

bool operator==(const ResultRecord& a, const ResultRecord& b) {
    return a.result == b.result && a.source == b.source &&
           a.resultStamp.size == b.resultStamp.size &&
           a.resultStamp.modifiedMs == b.resultStamp.modifiedMs &&
           a.sourceStamp.size == b.sourceStamp.size &&
           a.sourceStamp.modifiedMs == b.sourceStamp.modifiedMs;
}

// A record is one line a person can read, whatever the names hold.
TEST(ResultJournal, EachRecordIsOneLineThatReadsBackWhole) {
    const ResultRecord plain{"A Album/01 Intro (2).mp3",
                             {4096, 1733650000000},
                             "/music/A Album/01 Intro.mp3",
                             {8192, 1733640000123}};
    EXPECT_EQ(RecordLine(plain),
              "made\tA Album/01 Intro (2).mp3\t4096\t2024-12-08T09:26:40.000Z\t"
              "/music/A Album/01 Intro.mp3\t8192\t2024-12-08T06:40:00.123Z\n");
    const ResultRecord odd{"tab\there.mp3", {1, 0}, "/m/back\\slash\nline\r.mp3", {2, -1500}};
    EXPECT_EQ(RecordLine(odd),
              "made\ttab\\there.mp3\t1\t1970-01-01T00:00:00.000Z\t"
              "/m/back\\\\slash\\nline\\r.mp3\t2\t1969-12-31T23:59:58.500Z\n");
    for (const ResultRecord& record : {plain, odd}) {
        const auto read = ParseRecordLine(RecordLine(record));
        ASSERT_TRUE(read);
        EXPECT_TRUE(*read == record) << RecordLine(record).toStdString();
    }
}

TEST(ResultJournal, LinesThatAreNotWholeRecordsArePassedOver) {
    const QByteArray whole = RecordLine({"a.mp3", {1, 0}, "/m/a.mp3", {2, 0}});
    const QByteArray notRecords[] = {
        whole.chopped(1),                                    // cut short by a crash
        whole.chopped(1) + "\tlater\n",                      // a field we do not know
        whole.left(20) + '\n',                               // the same, ended by a later line
        QByteArray(whole).replace("made", "gone"),           // a kind we do not know
        QByteArray(whole).replace("\t1\t", "\tx\t"),         // a size that is no number
        QByteArray(whole).replace("a.mp3\t", "a\\q.mp3\t"),  // an escape we never write
        QByteArray(whole).replace("/m/a.mp3", ""),           // no source
    };
    for (const QByteArray& line : notRecords) {
        EXPECT_FALSE(ParseRecordLine(line)) << line.toStdString();
    }
    test::ScratchDir dir;
    const QString root = QFile::decodeName(dir.path().string().c_str());
    ResultJournals journals;
    ASSERT_EQ(journals.journalFor(root).append({"a.mp3", {1, 0}, "/m/a.mp3", {2, 0}}), QString());
    ASSERT_EQ(journals.journalFor(root).append({"b.mp3", {1, 0}, "/m/b.mp3", {2, 0}}), QString());
    QFile torn(root + "/.mirelune/other.log");
    ASSERT_TRUE(torn.open(QIODevice::WriteOnly));
    torn.write(whole + whole.left(30));
    torn.close();
    QStringList results;
    for (const JournalRecord& entry : ReadRecords(root).records) {
        results.append(entry.record.result);
    }
    results.sort();
    EXPECT_EQ(results, QStringList({"a.mp3", "a.mp3", "b.mp3"}));
}

}  // namespace
}  // namespace mirelune
