#include "ui/WidgetMessageBox.h"

#include <cstdio>

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include "support/MessageBoxSeam.h"

namespace {

QMessageBox::Icon toBoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void installWidgetMessageBoxes() {
    setMessageBoxShower([](const MessageBoxRequest& request) {
        // A box that ends the program is also left on the terminal it was started from.
        if (request.icon == MessageIcon::Critical)
            std::fprintf(stderr, "%s: %s\n", qPrintable(request.title), qPrintable(request.text));
        if (!request.waits) {
            // Owned by the window it belongs to, so that it goes when that window closes.
            QWidget* owner = QApplication::activeWindow();
            for (QWidget* window : QApplication::topLevelWidgets())
                if (!owner && window->isVisible() && qobject_cast<QMainWindow*>(window))
                    owner = window;
            auto* box = new QMessageBox(toBoxIcon(request.icon), request.title, request.text,
                                        QMessageBox::Ok, owner);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->setModal(false);
            box->show();
            return;
        }
        QMessageBox box(toBoxIcon(request.icon), request.title, request.text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    });
}
