// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form1.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTreeView>
#include <utility>

#include "app/CaptionProgressBar.h"
#include "app/Form1JobView.h"
#include "app/PathItemDelegate.h"
#include "app/StartUpDefaults.h"
#include "filelist/FileList.h"
#include "mp3/MP3Info.h"
#include "reduce/ReduceJob.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/Failure.h"
#include "shell/ProductInfo.h"
#include "shell/ToolTipText.h"
#include "shell/WindowLayer.h"

namespace mirelune {
namespace {

inline constexpr char kListToolTip[] =
    QT_TRANSLATE_NOOP("Form1",
                      "Drag and drop files here. Double-click item to remove it. Move | line to "
                      "right and out of window to reveal full names.");
inline constexpr char kIdleProgressCaption[] = QT_TRANSLATE_NOOP("RunProgress", "Progress Bar");

// The form was laid out in twips; at 96 dots per inch 15 twips make a pixel.
int Pixels(int twips) {
    return qRound(twips / 15.0);
}

void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

template <class Widget>
Widget* Make(QWidget* parent, const char* name) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = Make<QPushButton>(parent, name);
    button->setText(QCoreApplication::translate("Form1", caption));
    // Enter presses the focused button, as Space does; outside a dialog only
    // an auto-default button takes Enter.
    button->setAutoDefault(true);
    return button;
}

}  // namespace

Form1::Form1(std::unique_ptr<WindowLayer> window, Environment environment, QWidget* parent)
    : QWidget(parent),
      window_(std::move(window)),
      applicationFolder_(environment.applicationFolder.isEmpty() ? ApplicationFolder()
                                                                 : environment.applicationFolder),
      homePageAddress_(environment.homePageAddress.value_or(HomePageAddress())),
      drawPercent_(environment.drawPercent ? std::move(environment.drawPercent)
                                           : std::function<int()>(DrawPercent)),
      settings_(environment.settingsFolder.isEmpty()
                    ? SettingsStore(*window_)
                    : SettingsStore(*window_, environment.settingsFolder)),
      fileList_(new FileList(this)),
      reduceJob_(std::make_unique<ReduceJob>()) {
    setObjectName(QStringLiteral("Form1"));
    createControls();
    connectHandlers();
}

Form1::~Form1() {
    // The controls go first, while everything their handlers use still exists.
    // Their own teardown is no pointer movement or key press to act on.
    tearingDown_ = true;
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

void Form1::createControls() {
    // A fixed size, and the window manager told so: no maximise button, no
    // resize handles.
    setFixedSize(Pixels(8040), Pixels(7455));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // In the middle of the screen under the pointer, placed by us rather than
    // by the window manager: a box that comes before the window has been
    // shown, or before the window manager said where it went, can only sit
    // over the window when the window's place is known.
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen != nullptr) {
        // The inside's place, as the boxes are placed: move() would place the
        // frame, whose size nobody knows until the window manager framed it.
        setGeometry(QRect(screen->availableGeometry().center() - rect().center(), size()));
    }

    // Created in the order the keyboard should visit them.
    ListView1 = Make<QTreeView>(this, "ListView1");
    Place(ListView1, 120, 120, 7800, 2535);
    ListView1->setModel(fileList_);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    // A long path keeps its file name in sight; the row's tooltip holds it whole.
    ListView1->setItemDelegateForColumn(0, new PathItemDelegate(ListView1));
    ListView1->setTextElideMode(Qt::ElideMiddle);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Reordering scrolls the list itself, near its edges.
    ListView1->setAutoScroll(false);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setToolTip(WrappingToolTip(QCoreApplication::translate("Form1", kListToolTip)));

    PushButton1 = MakeButton(this, "PushButton1", QT_TRANSLATE_NOOP("Form1", "Add MP3 File(s)"));
    Place(PushButton1, 120, 2750, 3840, 405);
    PushButton3 = MakeButton(this, "PushButton3",
                             QT_TRANSLATE_NOOP("Form1", "Add All MP3 File(s) In Folder"));
    Place(PushButton3, 4080, 2750, 3840, 405);
    PushButton4 = MakeButton(this, "PushButton4", QT_TRANSLATE_NOOP("Form1", "Clear List"));
    Place(PushButton4, 120, 3260, 3840, 405);
    PushButton5 =
        MakeButton(this, "PushButton5", QT_TRANSLATE_NOOP("Form1", "Load Sample/Example Files"));
    Place(PushButton5, 4080, 3260, 3840, 405);

    Frame1 = Make<QGroupBox>(this, "Frame1");
    Frame1->setTitle(QCoreApplication::translate("Form1", "Reduce Options"));
    Place(Frame1, 120, 3705, 7800, 800);
    Combo1 = Make<QComboBox>(Frame1, "Combo1");
    Place(Combo1, 240, 300, 7335, 345);

    Frame3 = Make<QGroupBox>(this, "Frame3");
    Frame3->setTitle(QCoreApplication::translate("Form1", "Save Option"));
    Place(Frame3, 120, 4590, 7800, 1815);
    Option1 = Make<QRadioButton>(Frame3, "Option1");
    Option1->setText(QCoreApplication::translate("Form1", "Save results to this folder:"));
    Place(Option1, 240, 270, 3615, 255);
    Option1->setChecked(true);
    Frame2 = Make<QGroupBox>(Frame3, "Frame2");
    Place(Frame2, 480, 510, 6840, 810);
    Text1 = Make<QLineEdit>(Frame2, "Text1");
    Place(Text1, 240, 300, 5670, 345);
    PushButton7 = MakeButton(Frame2, "PushButton7", "...");
    Place(PushButton7, 6000, 300, 600, 345);
    Option2 = Make<QRadioButton>(Frame3, "Option2");
    Option2->setText(
        QCoreApplication::translate("Form1", "Save results in folder of original file"));
    Place(Option2, 240, 1410, 3615, 255);

    PushButton2 = MakeButton(this, "PushButton2", QT_TRANSLATE_NOOP("Form1", "Start Reducing"));
    Place(PushButton2, 120, 6480, 7800, 405);

    ProgressBar1 = Make<CaptionProgressBar>(this, "ProgressBar1");
    Place(ProgressBar1, 120, 6960, 7800, 405);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->setFormat(QCoreApplication::translate("RunProgress", kIdleProgressCaption));

    // Pointer movement over these decides between the hand and the arrow.
    for (QWidget* widget : std::initializer_list<QWidget*>{
             this, Frame1, Frame2, Frame3, PushButton1, PushButton2, PushButton3, PushButton4,
             PushButton5, PushButton7, ListView1->viewport()}) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    ListView1->installEventFilter(this);
    // Files and folders from the file manager; the view's own drag and drop
    // stays off, rows are reordered by the mouse handlers.
    ListView1->viewport()->setAcceptDrops(true);
}

template <class Body>
void Form1::runWithCatchAll(const char* handlerName, Body&& body) {
    CatchAll(*window_, location::FormHandler(QString::fromLatin1(handlerName)),
             std::forward<Body>(body));
}

void Form1::connectHandlers() {
    // Every handler runs inside a guard: nothing may cross Qt's event loop.
    connect(PushButton1, &QPushButton::clicked, this,
            [this] { runWithCatchAll("PushButton1_Click", [this] { PushButton1_Click(); }); });
    connect(PushButton2, &QPushButton::clicked, this,
            [this] { runWithCatchAll("PushButton2_Click", [this] { PushButton2_Click(); }); });
    connect(PushButton3, &QPushButton::clicked, this,
            [this] { runWithCatchAll("PushButton3_Click", [this] { PushButton3_Click(); }); });
    connect(PushButton4, &QPushButton::clicked, this,
            [this] { runWithCatchAll("PushButton4_Click", [this] { PushButton4_Click(); }); });
    connect(PushButton5, &QPushButton::clicked, this,
            [this] { runWithCatchAll("PushButton5_Click", [this] { PushButton5_Click(); }); });
    connect(PushButton7, &QPushButton::clicked, this,
            [this] { runWithCatchAll("PushButton7_Click", [this] { PushButton7_Click(); }); });

    // Programmatic changes count as well: restoring a choice saves it back.
    connect(Combo1, &QComboBox::currentIndexChanged, this,
            [this](int index) { runWithCatchAll("Combo1_Click", [&] { Combo1_Click(index); }); });
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        runWithCatchAll("Text1_Change", [&] { Text1_Change(text); });
    });

    connect(ListView1, &QAbstractItemView::doubleClicked, this,
            [this] { runWithCatchAll("ListView1_DblClick", [this] { RemoveSelectedEntry(); }); });
}

// Toggled, not clicked: the accessibility bus's toggle and keys change the
// choice without a click, and must count as one. Connected once start-up
// has restored the saved choice, which it need not save again.
void Form1::connectOptionHandlers() {
    connect(Option1, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            runWithCatchAll("Option1_Click", [this] { OptionClick(); });
        }
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            runWithCatchAll("Option2_Click", [this] { OptionClick(); });
        }
    });
}

mp3::MP3Info& Form1::mp3Info() {
    if (!mp3Info_) {
        throw Failure(QStringLiteral("The MP3 reader is not ready: the window has not started."));
    }
    return *mp3Info_;
}

FileListFiller Form1::fileListFiller() {
    return FileListFiller{*fileList_, mp3Info(), *window_};
}

ReduceOptions Form1::reduceOptions() const {
    ReduceOptions options;
    // The entry as written, whatever language the caption is shown in:
    // the target bitrate is read from its words.
    options.entryText = Combo1->currentData().toString();
    options.option1 = Option1->isChecked();
    options.option2 = Option2->isChecked();
    options.outputFolder = Text1->text();
    return options;
}

void Form1::setReduceOptionsEnabled(bool enabled) {
    // Frame2 keeps its own state inside Frame3: it follows Option1.
    Frame1->setEnabled(enabled);
    Frame3->setEnabled(enabled);
}

int Form1::progressValue() const {
    return ProgressBar1->value();
}

void Form1::setProgressValue(int percent) {
    ProgressBar1->setValue(percent);
}

QString Form1::progressText() const {
    return ProgressBar1->format();
}

void Form1::setProgressText(const QString& caption) {
    ProgressBar1->setFormat(caption);
}

void Form1::setBusyPointer(bool busy) {
    setPointerKind(busy ? PointerKind::Busy : PointerKind::Default);
}

void Form1::setPointerKind(PointerKind kind) {
    pointerKind_ = kind;
    switch (kind) {
        case PointerKind::Default:
            unsetCursor();
            break;
        case PointerKind::Busy:
            setCursor(Qt::WaitCursor);
            break;
        case PointerKind::Custom:
            setCursor(handPointer_ ? *handPointer_ : QCursor(Qt::PointingHandCursor));
            break;
    }
}

PointerArea Form1::pointerAreaOf(const QObject* widget) const {
    for (const QPushButton* button :
         {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton7}) {
        if (widget == button) {
            // A button that cannot be pressed does not invite a press.
            return button->isEnabled() ? PointerArea::PushButton : PointerArea::Plain;
        }
    }
    if (widget == this || widget == Frame1 || widget == Frame2 || widget == Frame3 ||
        widget == ListView1->viewport()) {
        return PointerArea::Plain;
    }
    // The options a running job keeps.
    for (const QWidget* option :
         {static_cast<const QWidget*>(Combo1), static_cast<const QWidget*>(Option1),
          static_cast<const QWidget*>(Option2), static_cast<const QWidget*>(Text1)}) {
        if (widget == option && !option->isEnabled()) {
            return PointerArea::Plain;
        }
    }
    return PointerArea::Other;
}

QString Form1::mouseMoveHandlerOf(const QObject* widget) const {
    if (widget == this) {
        return QStringLiteral("Form_MouseMove");
    }
    if (widget == ListView1->viewport()) {
        return QStringLiteral("ListView1_MouseMove");
    }
    return widget->objectName() + QStringLiteral("_MouseMove");
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (tearingDown_) {
        return QWidget::eventFilter(watched, event);
    }
    QWidget* const viewport = ListView1->viewport();
    switch (event->type()) {
        case QEvent::MouseMove: {
            auto* widget = static_cast<QWidget*>(watched);
            const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
            // A move the control under the pointer ignored comes up to its
            // parents as well; only the control itself decides the pointer.
            if (widget->childAt(position) == nullptr) {
                CatchAll(*window_, location::FormHandler(mouseMoveHandlerOf(widget)), [&] {
                    setPointerKind(PointerAfterMove(pointerKind_, pointerAreaOf(widget)));
                });
            }
            if (watched == viewport && rowDrag_.held()) {
                if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
                    // The release went elsewhere, to a box that opened mid-drag.
                    runWithCatchAll("ListView1_MouseUp", [this] { ListView1_MouseUp(); });
                    break;
                }
                runWithCatchAll("ListView1_MouseMove", [&] { ListView1_MouseMove(position); });
                // The drag decides the selection; the view's own drag-select must not.
                return true;
            }
            break;
        }
        case QEvent::MouseButtonPress:
            if (watched == viewport) {
                const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
                runWithCatchAll("ListView1_MouseDown", [&] { ListView1_MouseDown(position); });
            }
            break;
        case QEvent::MouseButtonRelease:
            if (watched == viewport) {
                runWithCatchAll("ListView1_MouseUp", [this] { ListView1_MouseUp(); });
            }
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove:
            if (watched == viewport) {
                // A drag enter is a drag move as well.
                auto& drag = *static_cast<QDragMoveEvent*>(event);
                runWithCatchAll("ListView1_OLEDragOver", [&] { ListView1_OLEDragOver(drag); });
                return true;
            }
            break;
        case QEvent::Drop:
            if (watched == viewport) {
                auto& drop = *static_cast<QDropEvent*>(event);
                runWithCatchAll("ListView1_OLEDragDrop", [&] { ListView1_OLEDragDrop(drop); });
                return true;
            }
            break;
        case QEvent::KeyPress:
            if (watched == ListView1 && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
                runWithCatchAll("ListView1_KeyDown", [this] { RemoveSelectedEntry(); });
                return true;
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// "Start Reducing". The job has its own guard, returns at once while another
// job runs, and keeps the window usable while it waits; closing the window
// stops it (Form_QueryUnload).
void Form1::PushButton2_Click() {
    Form1JobView view(*this);
    reduceJob_->run(view);
}

bool Form1::isReducing() const {
    return reduceJob_->isBusy();
}

}  // namespace mirelune
