#include "ui/WidgetMessageBox.h"

#include <cstdio>

#include <QApplication>
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
        QMessageBox box(toBoxIcon(request.icon), request.title, request.text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    });
}
