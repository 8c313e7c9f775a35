#pragma once

#include <QStringList>
#include <gtest/gtest.h>

#include "FakeKestrelHost.h"
#include "engine/AlarmContext.h"
#include "engine/SoundPlayer.h"

// Remembers what would have been played, and how.
class RecordingSoundPlayer final : public SoundPlayer {
public:
    struct Play {
        QString path;
        bool synchronous;
    };
    void playAsync(const QString& path) override { plays.push_back({path, false}); }
    void playToEnd(const QString& path) override {
        plays.push_back({path, true});
        if (duringPlay)
            duringPlay();
    }
    std::vector<Play> plays;
    std::function<void()> duringPlay;
};

// A context over the fake host with the window's lists; the radius text and the caption
// live in the fixture.
class EngineFixture : public ::testing::Test {
protected:
    EngineFixture()
        : lstStations(TextList::Order::Sorted), lstAcked(TextList::Order::Sorted),
          lstWatch(TextList::Order::AsAdded), lstOverlayItems(TextList::Order::AsAdded),
          ctx(host, station, lstStations, lstAcked, lstWatch, lstOverlayItems) {
        ctx.mKestrelMap = host.Map();
        host.clearCalls();
        ctx.ownCallsign = QStringLiteral("OWN");
        ctx.radiusText = [this] { return radius; };
        ctx.setMinDistCaption = [this](const QString& text) {
            caption = text;
            ++captionSets;
        };
        ctx.processEvents = [this] {
            ++eventRuns;
            if (duringEvents)
                duringEvents();
        };
        ctx.sound = &sound;
    }

    // The values of the recorded calls named `name`, in order.
    std::vector<QVariantList> argsOf(const QString& name) const {
        std::vector<QVariantList> result;
        for (const RecordedCall& call : host.callsNamed(name))
            result.push_back(call.args);
        return result;
    }
    // The recorded calls without the station walk: what was asked of the map.
    QStringList mapCalls() const {
        static const QStringList map = {"DrawWidth",   "DrawStyle",   "FillColor",
                                        "ScaleHeight", "PixelHeight", "DrawCircle"};
        QStringList names;
        for (const QString& name : host.callNames())
            if (map.contains(name))
                names << name;
        return names;
    }

    FakeKestrelHost host;
    KestrelStation station;
    TextList lstStations;
    TextList lstAcked;
    TextList lstWatch;
    TextList lstOverlayItems;
    RecordingSoundPlayer sound;
    AlarmContext ctx;
    QString radius = QStringLiteral("10");
    QString caption = QStringLiteral("(before)");
    int captionSets = 0;
    int eventRuns = 0;
    std::function<void()> duringEvents;
};
