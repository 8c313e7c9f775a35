#pragma once

#include <QLabel>

// A label that looks and acts as a web link: the system's highlight colour, underlined,
// a pointing hand over it, and clicked() on a left-button release inside it.
class LinkLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LinkLabel)
public:
    explicit LinkLabel(QWidget* parent = nullptr);

    // The colour the text is drawn in.
    QColor linkColour() const;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
