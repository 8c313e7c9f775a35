#include "StatusPart.h"

#include <QMouseEvent>

StatusPart::StatusPart(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusPart::setFullText(const QString& text) {
    m_text = text;
    setToolTip(text + QStringLiteral("\nClick for the preferences."));
    setVisible(!text.isEmpty());
    elide();
    updateGeometry();
}

QSize StatusPart::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("APRS-IS: ...")),
            QLabel::minimumSizeHint().height()};
}

QSize StatusPart::sizeHint() const {
    return {fontMetrics().horizontalAdvance(m_text) + 8, QLabel::sizeHint().height()};
}

void StatusPart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void StatusPart::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void StatusPart::elide() {
    setText(fontMetrics().elidedText(m_text, Qt::ElideRight, std::max(0, width() - 4)));
}
