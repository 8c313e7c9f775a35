#pragma once

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "CommandLine.h"

// A home of the test's own for the tracker in this process.
class TrackerHome : public testing::Test {
protected:
    void SetUp() override {
        for (const auto& [name, path] :
             {std::pair{"HOME", QString()}, std::pair{"XDG_CONFIG_HOME", QStringLiteral("/config")},
              std::pair{"XDG_DATA_HOME", QStringLiteral("/data")}})
            qputenv(name, (m_home.path() + path).toLocal8Bit());
    }
    QString path(const QString& below) const { return m_home.filePath(below); }
    QString confPath() const { return path(QStringLiteral("config/kestrel32/kestrel32.conf")); }
    HostOptions optionsFor(const QStringList& arguments) {
        HostOptions options;
        QString text;
        EXPECT_EQ(parseCommandLine(QStringList{"kestrel32"} + arguments, options, text, confPath()),
                  CommandLineResult::Run)
            << text.toStdString();
        return options;
    }
    static QLineEdit* edit(QWidget* window, const char* name) {
        return window->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void pressOk(QWidget* window) {
        window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }

    QTemporaryDir m_home;
};
