#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/ErrorReport.h"
#include "app/Failure.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "filelist/FileEntry.h"
#include "filelist/FileList.h"
#include "support/FakeWindowLayer.h"
#include "support/Mp3Bytes.h"
#include "support/ScratchDir.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace mirelune {

inline void PrintTo(const FileEntry& entry, std::ostream* out) {
    *out << "{" << entry.path.toStdString() << ", " << entry.bitrateText.toStdString() << "}";
}

}  // namespace mirelune

namespace mirelune::test {

// MPEG-1 Layer III at 44100 Hz, stereo: 128 kbps frames of 417 bytes and
// 192 kbps frames of 626 bytes.
inline const Bytes kMpeg1L3At192 = {0xFF, 0xFB, 0xB0, 0x64};

inline QString ToQString(const std::string& path) {
    return QString::fromStdString(path);
}

// Files for the list: valid streams, something that is no MP3 at all, and a
// stream whose analysis fails (a Xing header that counts no frames).
inline QString WriteMp3At128(const ScratchDir& dir, const std::string& name) {
    return ToQString(dir.Write(name, Frames(kMpeg1L3At128, 417, 3)));
}
inline QString WriteMp3At192(const ScratchDir& dir, const std::string& name) {
    return ToQString(dir.Write(name, Frames(kMpeg1L3At192, 626, 3)));
}
inline QString WriteNotMp3(const ScratchDir& dir, const std::string& name) {
    Bytes text;
    AppendText(text, "just some words, no audio here\n");
    return ToQString(dir.Write(name, text));
}
inline QString WriteFailingMp3(const ScratchDir& dir, const std::string& name) {
    Bytes bytes = Frames(kMpeg1L3At128, 417, 3);
    PutXing(bytes, 36, "Xing", 1, 0, 0);
    return ToQString(dir.Write(name, bytes));
}

// Every row of the list, in order.
inline std::vector<FileEntry> Entries(const FileList& list) {
    std::vector<FileEntry> all;
    for (int i = 1; i <= list.count(); ++i) {
        all.push_back(list.entry(i));
    }
    return all;
}

inline Box NotValidBox() {
    return Box{QStringLiteral("Mirelune"), QStringLiteral("Not a valid MP3 file"),
               MessageButtons::Ok, MessageIcon::None};
}

// Whether box is the error report of location at the given line.
inline bool IsReport(const Box& box, const QString& location, int line) {
    return box.title == QString::fromUtf8(kErrorReportTitle) && box.icon == MessageIcon::Warning &&
           box.text.contains(location + QStringLiteral("at line ") + QString::number(line) +
                             QStringLiteral("\r"));
}

inline void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& position,
                      Qt::MouseButton button = Qt::NoButton, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent event(type, QPointF(position), QPointF(widget->mapToGlobal(position)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void MoveOver(QWidget* widget, const QPoint& position = QPoint(2, 2)) {
    SendMouse(widget, QEvent::MouseMove, position);
}

// A real Form1 on the offscreen platform, with a scripted window layer, its
// own settings store and its own program folder.
class WindowTest : public ::testing::Test {
  protected:
    WindowTest() : settingsFolder_(folder("settings")), applicationFolder_(folder("program")) {}

    // Builds the window; start-up runs unless load is false.
    Form1& start(bool load = true) {
        auto fake = std::make_unique<FakeWindowLayer>();
        window_ = fake.get();
        Form1::Environment environment;
        environment.applicationFolder = applicationFolder_;
        environment.settingsFolder = settingsFolder_;
        environment.drawPercent = [this] { return draw_; };
        form_ = std::make_unique<Form1>(std::move(fake), environment);
        if (load) {
            form_->Form_Load();
        }
        return *form_;
    }

    // The control with this form name; fails the test when there is none.
    template <class Widget>
    Widget* control(const char* name) {
        auto* widget = form_->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void store(const QString& key, const QString& value) {
        SettingsStore(storeWindow_, settingsFolder_).save(key, value);
    }
    QString stored(const QString& key) {
        return SettingsStore(storeWindow_, settingsFolder_).get(key, QStringLiteral("<absent>"));
    }

    QString folder(const std::string& name) {
        std::filesystem::create_directories(scratch_.path() / name);
        return ToQString((scratch_.path() / name).string());
    }

    FakeWindowLayer& window() { return *window_; }
    Form1& form() { return *form_; }

    ScratchDir scratch_;
    QString settingsFolder_;
    QString applicationFolder_;
    int draw_ = 50;

  private:
    FakeWindowLayer storeWindow_;
    FakeWindowLayer* window_ = nullptr;
    std::unique_ptr<Form1> form_;
};

}  // namespace mirelune::test
