#include "ui/LinkLabel.h"

#include <QMouseEvent>
#include <QPalette>

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    // Written in the palette's own Highlight role, not in a copy of it: the link follows the
    // window's palette, and a label left to choose its role writes in Text on the About
    // window's Base background, which is black.
    setForegroundRole(QPalette::Highlight);
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
