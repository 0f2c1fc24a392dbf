// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include "runs/JournalRecords.h"
#include "runs/ResultJournal.h"
#include "support/ScratchDir.h"

namespace mirelune {
namespace {

bool operator==(const ResultRecord& a, const ResultRecord& b) {
    return a.result == b.result && a.source == b.source &&
           a.resultStamp.size == b.resultStamp.size &&
           a.resultStamp.modifiedMs == b.resultStamp.modifiedMs &&
           a.sourceStamp.size == b.sourceStamp.size &&
           a.sourceStamp.modifiedMs == b.sourceStamp.modifiedMs && a.sha256 == b.sha256;
}

const QByteArray kHash = QByteArray(63, 'a') + 'f';

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

// Before a result is placed its record carries the content hash as an
// eighth field; the line written once it is placed is the landed seven-field
// form, which older versions read as before, while they pass over the
// eighth-field line for its field count.
TEST(ResultJournal, ARecordBeforePlacingCarriesItsHashInAFieldOfItsOwn) {
    const QByteArray placed =
        "made\ta.mp3\t1\t1970-01-01T00:00:00.000Z\t/m/a.mp3\t2\t1970-01-01T00:00:02.000Z\n";
    const QByteArray made = placed.chopped(1) + "\tsha256:" + kHash + "\n";
    const struct {
        const char* name;
        QByteArray line;
        bool record;
        QByteArray hash;
    } cases[] = {
        {"placed, or written by an older version", placed, true, ""},
        {"made, before placing", made, true, kHash},
        {"a hash without its kind", placed.chopped(1) + "\t" + kHash + "\n", false, ""},
        {"another kind of hash", placed.chopped(1) + "\tmd5:" + kHash + "\n", false, ""},
        {"a hash one digit short", placed.chopped(1) + "\tsha256:" + kHash.chopped(1) + "\n", false,
         ""},
        {"a hash with a letter past f", placed.chopped(1) + "\tsha256:" + kHash.chopped(1) + "g\n",
         false, ""},
        {"a hash in capitals", placed.chopped(1) + "\tsha256:" + kHash.toUpper() + "\n", false, ""},
        {"a field after the hash", made.chopped(1) + "\tlater\n", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ResultRecord> read = ParseRecordLine(c.line);
        ASSERT_EQ(read.has_value(), c.record);
        if (read) {
            EXPECT_EQ(read->sha256, c.hash);
            EXPECT_EQ(RecordLine(*read), c.line);
        }
    }
}

// A record made before placing stands for its result only until the same
// journal says the result was placed: then that line speaks for it.
TEST(ResultJournal, ARecordMadeBeforePlacingGivesWayToItsPlacedLine) {
    test::ScratchDir dir;
    const QString root = QFile::decodeName(dir.path().string().c_str());
    ResultJournals journals;
    ResultJournal& journal = journals.journalFor(root);
    ASSERT_EQ(journal.append({"a.mp3", {1, 0}, "/m/a.mp3", {2, 0}, kHash}), QString());
    ASSERT_EQ(journal.append({"b.mp3", {1, 0}, "/m/b.mp3", {2, 0}, kHash}), QString());
    ASSERT_EQ(journal.append({"a.mp3", {1, 4000}, "/m/a.mp3", {2, 0}}), QString());
    ASSERT_EQ(journal.append({"c.mp3", {1, 0}, "/m/c.mp3", {2, 0}}), QString());
    QStringList read;
    for (const JournalRecord& entry : ReadRecords(root).records) {
        read.append(entry.record.result + " " +
                    QString::number(entry.record.resultStamp.modifiedMs) +
                    (entry.record.sha256.isEmpty() ? "" : " hash"));
    }
    EXPECT_EQ(read, QStringList({"b.mp3 0 hash", "a.mp3 4000", "c.mp3 0"}));
}

}  // namespace
}  // namespace mirelune
