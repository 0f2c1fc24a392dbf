// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <set>

namespace {

struct Message {
    QString context, source;
    QString type;       // "unfinished", "vanished", "obsolete" or empty
    QStringList forms;  // the translation, or each numerus form
};

std::vector<Message> ReadMessages(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<Message> messages;
    QString context;
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            messages.push_back({context, {}, {}, {}});
        } else if (xml.name() == u"source") {
            messages.back().source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.name() == u"translation") {
            Message& m = messages.back();
            m.type = xml.attributes().value(QLatin1String("type")).toString();
            QString text;
            QStringList numerus;
            while (!xml.atEnd() && !(xml.isEndElement() && xml.name() == u"translation")) {
                xml.readNext();
                if (xml.isCharacters()) {
                    text += xml.text();
                } else if (xml.isStartElement() && xml.name() == u"numerusform") {
                    numerus.append(xml.readElementText(QXmlStreamReader::IncludeChildElements));
                }
            }
            m.forms = numerus.isEmpty() ? QStringList{text} : numerus;
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

std::set<QString> Placeholders(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%(?:L?[0-9]+|n)"));
    std::set<QString> found;
    for (const QRegularExpressionMatch& m : marker.globalMatch(text)) {
        found.insert(m.captured());
    }
    return found;
}

// The .ts files as lupdate makes them from today's sources: a text added to
// the window since they were last updated shows up as unfinished.
class TranslationFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new QTemporaryDir;
        QStringList arguments{QStringLiteral("-locations"), QStringLiteral("none"),
                              QStringLiteral("-silent")};
        arguments += QString::fromUtf8(MIRELUNE_TRANSLATED_SOURCES).split(u'|');
        arguments.append(QStringLiteral("-ts"));
        for (const QString& ts : QString::fromUtf8(MIRELUNE_TS_FILES).split(u'|')) {
            const QString copy = folder_->filePath(QFileInfo(ts).fileName());
            ASSERT_TRUE(QFile::copy(ts, copy)) << ts.toStdString();
            arguments.append(copy);
        }
        QProcess lupdate;
        lupdate.start(QStringLiteral(MIRELUNE_LUPDATE), arguments);
        ASSERT_TRUE(lupdate.waitForFinished(120000));
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    }
    static void TearDownTestSuite() { delete folder_; }

    static QString copy(const char* language) {
        return folder_->filePath(QStringLiteral("mirelune_%1.ts").arg(QLatin1String(language)));
    }

    static inline QTemporaryDir* folder_ = nullptr;
};

TEST_F(TranslationFiles, EveryTextIsTranslatedWithTheSamePlaceholders) {
    for (const char* language : {"de", "es", "fr"}) {
        SCOPED_TRACE(language);
        const std::vector<Message> messages = ReadMessages(copy(language));
        ASSERT_GT(messages.size(), 90u);
        for (const Message& m : messages) {
            if (m.type == u"vanished" || m.type == u"obsolete") {
                continue;
            }
            const std::string where = (m.context + QStringLiteral(": ") + m.source).toStdString();
            EXPECT_NE(m.type.toStdString(), "unfinished") << where;
            for (const QString& form : m.forms) {
                EXPECT_FALSE(form.isEmpty()) << where;
                EXPECT_EQ(Placeholders(form), Placeholders(m.source))
                    << where << " -> " << form.toStdString();
            }
        }
    }
}

}  // namespace
