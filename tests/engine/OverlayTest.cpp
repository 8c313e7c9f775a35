// Overlay files: an object line misread, a description lost, junk that stops the load, or an
// object at the radius listed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FakeKestrelHost.h"
#include "engine/AlarmEngine.h"
#include "engine/Geodesy.h"
#include "numbers/NumericText.h"

namespace {

struct ObjectsCase {
    const char* bytes;
    QStringList namesAndTexts; // "NAME=text" per object read
};

class OverlayLines : public ::testing::TestWithParam<ObjectsCase> {};

TEST_P(OverlayLines, readsTheObjectsTheFileHolds) {
    OverlayTable table;
    const int count = readOverlayObjects(QByteArray(GetParam().bytes), table, 0);
    QStringList read;
    for (int i = 1; i <= count; ++i)
        read << table.gOverlayItems[size_t(i)].strName + "=" +
                    table.gOverlayItems[size_t(i)].strText;
    EXPECT_EQ(read, GetParam().namesAndTexts) << GetParam().bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, OverlayLines,
    ::testing::Values(
        ObjectsCase{"TOWER!5212.34N/00455.12E#water tower\r\n", {"TOWER=water tower"}},
        // A continuation line with the object's name gives the description.
        ObjectsCase{"A!5212.34N/00455.12E#\r\nA>first * text\r\nB!5212.34N/00455.12E#\r\nb>x\r\n",
                    {"A=first * text", "B="}},
        // Stars, names of nine characters and lines without "!" are no objects.
        ObjectsCase{"STAR!5212.34N/00455.12E#has * star\r\nNINECHARS!5212.34N/00455.12E#t\r\n"
                    "just a comment\r\n\r\nEIGHTCHR!5212.34N/00455.12E#ok\r\n",
                    {"EIGHTCHR=ok"}},
        // Fields that cannot be converted, or beyond a float, are skipped and not counted.
        ObjectsCase{"NODOT!521234N /00455.12E#\r\nHUGE!5212.34N/99912.34E#t\r\n"
                    "B!.3e58B!)/00455.12E#\r\nGOOD!5212.34N/00455.12E#t\r\n",
                    {"GOOD=t"}},
        // CR, LF and CR LF all end lines; the last line needs none.
        ObjectsCase{"A!5212.34N/00455.12E#\nA>two\rB!5212.34N/00455.12E#bee", {"A=two", "B=bee"}},
        // Binary junk does not stop the load.
        ObjectsCase{"\x01\x02\xff\r\nGOOD!5212.34N/00455.12E#t\r\n", {"GOOD=t"}}));

TEST(OverlayScan, listsObjectsWithinTheRadiusMeasuredFromTheOwnStation) {
    QTemporaryDir folder;
    QFile file(QDir(folder.path()).filePath(QStringLiteral("b.POS")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("TOWER!5213.34N/00455.12E#water tower\r\nFAR!1000.00S/00455.12E#x\r\n");
    file.close();
    FakeKestrelHost host;
    host.addStation(QStringLiteral("OWN"), 0.0f, 295.12f, 3132.34f);
    AlarmEngine engine(host, host.Map(), nullptr, {});
    engine.setOwnCallsign(QStringLiteral("OWN"));
    engine.setOverlaysFolder([&folder] { return folder.path(); });
    const double tower = calc_dist(3132.34f, 295.12f, 3133.34f, 295.12f);
    engine.setRadiusText(QString::number(tower, 'g', 17)); // at the radius: out
    engine.scan_overlays();
    EXPECT_EQ(engine.overlayLines().count(), 0);
    engine.setRadiusText(QStringLiteral("100"));
    engine.scan_overlays();
    EXPECT_EQ(engine.overlayLines().items(),
              QStringList({"TOWER " + distanceText(tower) + "km (water tower)"}));
    QFile::remove(file.fileName());
    engine.scan_overlays();
    EXPECT_EQ(engine.overlayLines().count(), 0);
}

TEST(OverlayFolder, belowTheHostFolderOrTheOwnFolder) {
    EXPECT_EQ(QDir::cleanPath(overlayFolderPath("/opt/k32/", "/usr/bin")), "/opt/k32/overlays");
    EXPECT_EQ(QDir::cleanPath(overlayFolderPath("", "/usr/bin")), "/usr/bin/overlays");
}

} // namespace
