#include <QApplication>
#include <memory>

#include "app/ApplicationIcon.h"
#include "app/CloseOnSignal.h"
#include "app/Form1.h"
#include "app/QtWindowLayer.h"
#include "shell/ApplicationTitle.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(mirelune::kProductName));
    QApplication::setWindowIcon(mirelune::ApplicationIcon());
    // Before any job can write an encoder copy or a partial result.
    const mirelune::CloseOnSignal closeOnSignal;

    auto layer = std::make_unique<mirelune::QtWindowLayer>();
    mirelune::QtWindowLayer& dialogs = *layer;
    // The settings live in the user's configuration folder.
    mirelune::Form1 form(std::move(layer));
    dialogs.setOwner(&form);
    form.Form_Load();
    form.show();
    return app.exec();
}
