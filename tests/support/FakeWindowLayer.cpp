// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeWindowLayer.h"

#include <ostream>
#include <string>

namespace mirelune::test {

namespace {

template <class T>
T TakeFront(std::deque<T>& queue, T fallback) {
    if (queue.empty()) {
        return fallback;
    }
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

const char* ButtonsName(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
            return "YesNo";
        case MessageButtons::YesNoCancel:
            return "YesNoCancel";
        case MessageButtons::Ok:
            break;
    }
    return "Ok";
}

const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning:
            return "Warning";
        case MessageIcon::Information:
            return "Information";
        case MessageIcon::Question:
            return "Question";
        case MessageIcon::Critical:
            return "Critical";
        case MessageIcon::None:
            break;
    }
    return "None";
}

// Control characters matter in these texts (CR LF against CR CR), so show them.
std::string Visible(const QString& text) {
    std::string shown;
    for (char c : text.toStdString()) {
        if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace

void FakeWindowLayer::clearRecord() {
    interactions_.clear();
    boxes_.clear();
    yields_ = 0;
}

MessageAnswer FakeWindowLayer::messageBox(const QString& text, const QString& title,
                                          MessageButtons buttons, MessageIcon icon) {
    Interaction call;
    call.kind = Interaction::Kind::MessageBox;
    call.title = title;
    call.text = text;
    call.buttons = buttons;
    call.icon = icon;
    interactions_.push_back(call);
    const Box shown{title, text, buttons, icon};
    boxes_.push_back(shown);
    if (onBox_) {
        // A copy: the action may show more boxes and so grow boxes_.
        onBox_(shown);
    }
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    return TakeFront(answers_, buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel
                                                                      : MessageAnswer::No);
}

QString FakeWindowLayer::inputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) {
    Interaction call;
    call.kind = Interaction::Kind::InputBox;
    call.title = title;
    call.text = prompt;
    call.initial = defaultText;
    interactions_.push_back(call);
    return TakeFront(inputs_, QString());
}

QString FakeWindowLayer::browseForFolder(const QString& title, const QString& initialFolder) {
    Interaction call;
    call.kind = Interaction::Kind::FolderBrowser;
    call.title = title;
    call.initial = initialFolder;
    interactions_.push_back(call);
    return TakeFront(folders_, QString());
}

QStringList FakeWindowLayer::openFiles(const QString& title, const QString& filter) {
    Interaction call;
    call.kind = Interaction::Kind::OpenFiles;
    call.title = title;
    call.text = filter;
    interactions_.push_back(call);
    return TakeFront(files_, QStringList());
}

bool FakeWindowLayer::openUrl(const QUrl& url) {
    Interaction call;
    call.kind = Interaction::Kind::OpenUrl;
    call.url = url;
    interactions_.push_back(call);
    return opensUrls_;
}

void FakeWindowLayer::yieldToEvents() {
    ++yields_;
    if (onYield_) {
        onYield_();
    }
}

void PrintTo(const Box& box, std::ostream* out) {
    *out << "Box{title=\"" << Visible(box.title) << "\", text=\"" << Visible(box.text)
         << "\", buttons=" << ButtonsName(box.buttons) << ", icon=" << IconName(box.icon) << "}";
}

}  // namespace mirelune::test
