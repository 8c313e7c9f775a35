// Guards what the tracker keeps of each station: trails that grow without bound (a full list
// for hours), positions lost or kept too long, a course or speed read from the wrong place,
// the details showing raw control characters, and a station's bearing on the wrong side.
#include <gtest/gtest.h>

#include <QMap>

#include "Compass.h"
#include "StationDetails.h"
#include "StationLog.h"
#include "StationStore.h"

namespace {

constexpr qint64 minute = 60000;

TEST(StationLog, trailsKeepTheirLastPointsAndMinutes) {
    StationLog log;
    // Moving 100 m a minute for two hours: the last 30 minutes stay.
    for (int i = 0; i <= 120; ++i)
        log.heard(QStringLiteral("CAR"), 52.0 + i * 0.0009, -1.0, HeardVia::Rf, i * minute);
    const StationRecord* car = log.find(QStringLiteral("CAR"));
    ASSERT_TRUE(car);
    ASSERT_EQ(car->trail.size(), 30u);
    EXPECT_EQ(car->trail.front().ms, 91 * minute);
    EXPECT_EQ(car->trail.back().ms, 120 * minute);
    EXPECT_NEAR(car->trail.back().lat, 52.0 + 120 * 0.0009, 1e-5);
    EXPECT_EQ(car->heardMs, 120 * minute);

    // Every ten seconds: the fifty newest.
    for (int i = 0; i < 80; ++i)
        log.heard(QStringLiteral("FAST"), 52.0 + i * 0.001, -1.0, HeardVia::AprsIs, i * 10000);
    EXPECT_EQ(log.find(QStringLiteral("FAST"))->trail.size(), 50u);
    EXPECT_EQ(log.find(QStringLiteral("FAST"))->trail.front().ms, 30 * 10000);

    // Standing still: one point, newer each time.
    for (int i = 0; i < 100; ++i)
        log.heard(QStringLiteral("HOME"), 52.1, -1.1, HeardVia::Rf, i * minute);
    ASSERT_EQ(log.find(QStringLiteral("HOME"))->trail.size(), 1u);
    EXPECT_EQ(log.find(QStringLiteral("HOME"))->trail.front().ms, 99 * minute);

    // Unheard for an hour: the trail goes, the last position stays.
    log.prune(180 * minute);
    EXPECT_EQ(car->trail.size(), 1u);
    EXPECT_EQ(car->trail.front().ms, 120 * minute);

    // Shorter limits from the settings.
    log.setTrailLimits(5, 2 * minute);
    log.heard(QStringLiteral("FAST"), 53.0, -1.0, HeardVia::AprsIs, 800 * 10000);
    EXPECT_EQ(log.find(QStringLiteral("FAST"))->trail.size(), 1u);
    for (int i = 0; i < 10; ++i)
        log.heard(QStringLiteral("FAST"), 53.0 + i * 0.01, -1.0, HeardVia::AprsIs, 8000000 + i);
    EXPECT_EQ(log.find(QStringLiteral("FAST"))->trail.size(), 5u);

    // No trail reserves more than it may hold (a full list is the map benchmark's); gone
    // stations take their trails with them.
    for (const StationRecord& record : log.records())
        EXPECT_LE(record.trail.capacity(), 51u) << record.trail.size();
    log.forgetAllBut(QStringLiteral("FAST"));
    EXPECT_EQ(log.size(), 1);
    EXPECT_EQ(log.pointCount(), 5);
    log.forget(QStringLiteral("FAST"));
    EXPECT_EQ(log.pointCount(), 0);
}

TEST(StationLog, courseAndSpeedComeFromTheCommentsFront) {
    const std::pair<const char*, std::optional<std::pair<double, double>>> rows[] = {
        {"088/036/A=001234 mobile", std::pair(88.0, 36 * 1.852)},
        {"360/000", std::pair(0.0, 0.0)}, // north, standing
        {"000/010", std::nullopt},        // course not known
        {"361/010", std::nullopt},
        {"88/036 x", std::nullopt},
        {"abc/def", std::nullopt},
        {"PHG5132", std::nullopt},
        {"", std::nullopt},
        {"088/03", std::nullopt},
    };
    for (const auto& [comment, expected] : rows)
        EXPECT_EQ(aprs::courseSpeed(QString::fromLatin1(comment)), expected) << comment;
}

TEST(Compass, bearingsAndPoints) {
    struct Case {
        double lat1, lon1, lat2, lon2, degrees;
        const char* point;
    };
    const Case cases[] = {
        {52, -1, 53, -1, 0, "N"},       {52, -1, 51, -1, 180, "S"}, {0, 0, 0, 1, 90, "E"},
        {0, 0, 0, -1, 270, "W"},        {0, 0, 1, 1, 45, "NE"},     {52, -1, 52, -1, 0, "N"},
        {0, 179.5, 0, -179.5, 90, "E"}, // across the antimeridian
    };
    for (const Case& c : cases) {
        const double got = compass::bearingDegrees(c.lat1, c.lon1, c.lat2, c.lon2);
        EXPECT_NEAR(got, c.degrees, 0.01) << c.point;
        EXPECT_EQ(compass::point(got), QLatin1String(c.point));
    }
}

TEST(StationDetails, showTheFieldsWithControlsEscaped) {
    EXPECT_EQ(details::escapeControls(QStringLiteral("a\x1b[2Jb\r\n\t\\\x7f")),
              QStringLiteral("a\\x1B[2Jb\\r\\n\\t\\\\\\x7F"));
    StationStore store;
    store.setOwn(QStringLiteral("N0CALL"), 52.0, -1.0);
    store.upsert(QStringLiteral("G4CAR-9"), 52.1, -1.0, QStringLiteral("088/036 going"));
    StationLog log;
    log.setPacket(QStringLiteral("G4CAR-9"), QStringLiteral("WIDE1-1*,qAR,DB0ABC"),
                  QStringLiteral("G4CAR-9>APRS:!5206.00N/00100.00W>088/036 going\x1b[31m"), 88.0,
                  66.7);
    log.heard(QStringLiteral("G4CAR-9"), 52.09, -1.0, HeardVia::AprsIs, 0);
    log.heard(QStringLiteral("G4CAR-9"), 52.1, -1.0, HeardVia::AprsIs, 65000);
    const auto fields = details::describe(store, log, QStringLiteral("G4CAR-9"), 125000);
    QMap<QString, QString> byLabel;
    for (const auto& f : fields)
        byLabel[f.label] = f.value;
    EXPECT_EQ(byLabel["Callsign"], "G4CAR-9");
    EXPECT_EQ(byLabel["Distance"], "11.1 km");
    EXPECT_EQ(byLabel["Bearing"], "0° N");
    EXPECT_EQ(byLabel["Last heard"], "1 min ago");
    EXPECT_EQ(byLabel["Heard via"], "APRS-IS");
    EXPECT_EQ(byLabel["Course"], "88°");
    EXPECT_EQ(byLabel["Speed"], "67 km/h");
    EXPECT_EQ(byLabel["Path"], "WIDE1-1*,qAR,DB0ABC");
    EXPECT_EQ(byLabel["Last packet"], "G4CAR-9>APRS:!5206.00N/00100.00W>088/036 going\\x1B[31m");
    EXPECT_EQ(byLabel["Last positions"],
              "52.10000 -1.00000 (1 min ago)\n52.09000 -1.00000 (2 min ago)");
    EXPECT_TRUE(details::describe(store, log, QStringLiteral("GONE"), 0).empty());
}

} // namespace
