#pragma once

#include <QLabel>

// One part of the tracker's status bar ("APRS-IS: connected to ..."): elided to the room it
// has, with the whole text as its tooltip, and a click on it opens the preferences.
class StatusPart final : public QLabel {
    Q_OBJECT
public:
    explicit StatusPart(const QString& name, QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return m_text; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString m_text;
};
