// A browser that opens nothing: a link that goes to the wrong address, or nowhere, shows here.
#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Records every address the desktop is asked to open for the given schemes while it lives.
class OpenedUrls final : public QObject {
    Q_OBJECT
public:
    explicit OpenedUrls(const QStringList& schemes) : m_schemes(schemes) {
        for (const QString& scheme : m_schemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenedUrls() override {
        for (const QString& scheme : m_schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls.append(url); }

private:
    QStringList m_schemes;
};
