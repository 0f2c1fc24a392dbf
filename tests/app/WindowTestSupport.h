// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "filelist/FileEntry.h"
#include "filelist/FileList.h"
#include "shell/ErrorReport.h"
#include "shell/Failure.h"
#include "shell/SettingsStore.h"
#include "support/FakeWindowLayer.h"
#include "support/ListTestSupport.h"
#include "support/Mp3Bytes.h"
#include "support/ScratchDir.h"

namespace mirelune::test {

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
        environment.homePageAddress = homePage_;
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
    std::optional<QString> homePage_;

  private:
    FakeWindowLayer storeWindow_;
    FakeWindowLayer* window_ = nullptr;
    std::unique_ptr<Form1> form_;
};

}  // namespace mirelune::test
