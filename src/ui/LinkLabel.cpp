#include "ui/LinkLabel.h"

#include <QMouseEvent>
#include <QPalette>

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    QPalette linkPalette = palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Highlight));
    setPalette(linkPalette);
    // Without a role of its own a label writes in the role that suits its parent's
    // background: Text, not WindowText, on the About window's Base background.
    setForegroundRole(QPalette::WindowText);
    setCursor(Qt::PointingHandCursor);
}

QColor LinkLabel::linkColour() const {
    return palette().color(foregroundRole());
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}
