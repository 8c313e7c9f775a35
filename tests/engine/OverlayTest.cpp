#include <random>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "engine/Geodesy.h"
#include "engine/OverlayItems.h"
#include "engine/SharedRules.h"

namespace {

// An object line: name, "!", latitude, symbol table, longitude, symbol code, description.
QByteArray objectLine(const QByteArray& name, const QByteArray& lat, const QByteArray& lon,
                      const QByteArray& text) {
    return name + "!" + lat + "/" + lon + "#" + text;
}

class Overlays : public EngineFixture {
protected:
    Overlays() {
        QLocale::setDefault(QLocale::c());
        ctx.overlaysFolder = [this] { return folder.path(); };
        // The own station stands at 52 12.34 N, 4 55.12 E.
        host.addStation("OWN", 0.0f, 295.12f, 3132.34f);
        radius = "100";
    }

    void write(const QString& name, const QByteArray& content) {
        QFile file(QDir(folder.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    const OverlayItem& item(int i) const { return ctx.overlays.gOverlayItems.at(size_t(i)); }
    int count() const { return ctx.overlays.gintOverlayCount; }
    QStringList names() const {
        QStringList result;
        for (int i = 1; i <= count(); ++i)
            result << item(i).strName;
        return result;
    }

    QTemporaryDir folder;
};

TEST_F(Overlays, readsTheFieldsOfAnObjectLine) {
    write("a.pos", objectLine("TOWER", "5212.34N", "00455.12E", "water tower") + "\r\n" +
                       objectLine("BUOY", "5213.34S", "00455.12W", "red buoy") + "\r\n");
    load_overlay_items(ctx);
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(item(1).strName, "TOWER");
    EXPECT_FLOAT_EQ(item(1).sngLat, 3132.34f);
    EXPECT_FLOAT_EQ(item(1).sngLong, 295.12f);
    EXPECT_EQ(item(1).strText, "water tower");
    EXPECT_EQ(item(2).strName, "BUOY");
    EXPECT_FLOAT_EQ(item(2).sngLat, -3133.34f);
    EXPECT_FLOAT_EQ(item(2).sngLong, -295.12f);
    EXPECT_EQ(item(2).strText, "red buoy");
}

TEST_F(Overlays, listsObjectsWithinTheRadiusInFileOrder) {
    write("a.pos", objectLine("TOWER", "5213.34N", "00455.12E", "water tower") + "\r\n" +
                       objectLine("FARAWAY", "1000.00S", "00455.12E", "elsewhere") + "\r\n" +
                       objectLine("HERE", "5212.34N", "00455.12E", "") + "\r\n");
    scan_overlays(ctx);
    const double tower = calc_dist(3132.34f, 295.12f, 3133.34f, 295.12f);
    EXPECT_NEAR(tower, 1.852, 0.001);
    EXPECT_EQ(lstOverlayItems.items(),
              QStringList({"TOWER " + distanceText(tower) + "km (water tower)", "HERE .km ()"}));
}

TEST_F(Overlays, objectAtTheRadiusIsNotListed) {
    write("a.pos", objectLine("TOWER", "5213.34N", "00455.12E", "t") + "\r\n");
    const double d = calc_dist(3132.34f, 295.12f, 3133.34f, 295.12f);
    radius = QString::number(d, 'g', 17);
    scan_overlays(ctx);
    EXPECT_EQ(lstOverlayItems.count(), 0);
    radius = QString::number(d + 1e-9, 'g', 17);
    scan_overlays(ctx);
    EXPECT_EQ(lstOverlayItems.count(), 1);
}

TEST_F(Overlays, unknownOwnStationMeasuresFromZero) {
    host.stations.clear();
    write("a.pos", objectLine("NULL", "0000.00N", "00030.00E", "island") + "\r\n");
    scan_overlays(ctx);
    EXPECT_EQ(lstOverlayItems.items(),
              QStringList({"NULL " + distanceText(calc_dist(0, 0, 0, 30)) + "km (island)"}));
    EXPECT_EQ(argsOf("GetStation").at(0), QVariantList{"OWN"});
}

TEST_F(Overlays, hostFailurePropagates) {
    host.failOn("GetStation");
    EXPECT_THROW(scan_overlays(ctx), HostError);
}

TEST_F(Overlays, skipsLinesWithAStarOrWithoutAnEarlyBang) {
    write("a.pos", objectLine("STAR", "5212.34N", "00455.12E", "has * star") + "\r\n" +
                       objectLine("EIGHTCHR", "5212.34N", "00455.12E", "ok") + "\r\n" +
                       objectLine("NINECHARS", "5212.34N", "00455.12E", "too long") + "\r\n" +
                       objectLine("", "5212.34N", "00455.12E", "no name") + "\r\n" +
                       "just a comment\r\n\r\n");
    load_overlay_items(ctx);
    EXPECT_EQ(names(), QStringList({"EIGHTCHR", ""}));
}

TEST_F(Overlays, continuationLineGivesTheDescription) {
    write("a.pos", objectLine("A", "5212.34N", "00455.12E", "") + "\r\n" + "A>first * text\r\n" +
                       objectLine("B", "5212.34N", "00455.12E", "") + "\r\n" + "b>wrong case\r\n" +
                       objectLine("C", "5212.34N", "00455.12E", "") + "\r\n" +
                       objectLine("LOST", "5212.34N", "00455.12E", "never read") + "\r\n" +
                       objectLine("D", "5212.34N", "00455.12E", "") + "\r\n" + "D>x>y\r\n" +
                       objectLine("E", "5212.34N", "00455.12E", ""));
    load_overlay_items(ctx);
    EXPECT_EQ(names(), QStringList({"A", "B", "C", "D", "E"}));
    EXPECT_EQ(item(1).strText, "first * text");
    EXPECT_EQ(item(2).strText, "");
    EXPECT_EQ(item(3).strText, "");
    EXPECT_EQ(item(4).strText, "x>y");
    EXPECT_EQ(item(5).strText, ""); // the file ends after it
}

TEST_F(Overlays, shortLineHasNoDescription) {
    write("a.pos", QByteArray("S!5212.34N/00455.12E") + "\r\n" + "S>from the next line\r\n");
    load_overlay_items(ctx);
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(item(1).strText, "from the next line");
}

TEST_F(Overlays, unconvertibleLinesAreSkippedAndNotCounted) {
    write("a.pos", objectLine("NODOT", "521234N ", "00455.12E", "") + "\r\n" + "NODOT>kept?\r\n" +
                       objectLine("BADDEG", "5x12.34N", "00455.12E", "t") + "\r\n" +
                       objectLine("HUGE", "5212.34N", "99912.34E", "t") + "\r\n" +
                       objectLine("CUT", "5212", "", "") + "\r\n" +
                       objectLine("GOOD", "5212.34N", "00455.12E", "t") + "\r\n");
    load_overlay_items(ctx);
    EXPECT_EQ(names(), QStringList({"GOOD"}));
}

TEST_F(Overlays, fieldWithAnExponentBeyondFloatRangeIsSkipped) {
    // Found by fuzzing: ".3e58B!)" as latitude gave an object at an infinite angle.
    write("a.pos", objectLine("B", ".3e58B!)", "00455.12E", "") + "\r\n" +
                       objectLine("FAR", "0.9e99XX", "00455.12E", "t") + "\r\n" +
                       objectLine("GOOD", "5212.34N", "00455.12E", "t") + "\r\n");
    load_overlay_items(ctx);
    EXPECT_EQ(names(), QStringList({"GOOD"}));
    EXPECT_FLOAT_EQ(item(1).sngLat, 3132.34f);
}

TEST_F(Overlays, lineEndsOfEveryKind) {
    const QByteArray a = objectLine("A", "5212.34N", "00455.12E", "");
    const QByteArray b = objectLine("B", "5212.34N", "00455.12E", "bee");
    write("1crlf.pos", a + "\r\nA>one\r\n" + b + "\r\n");
    write("2lf.pos", a + "\nA>two\n" + b + "\n");
    write("3cr.pos", a + "\rA>three\r" + b);
    write("4mixed.pos", a + "\n\rA>lost\r\n" + b + "\n\n");
    load_overlay_items(ctx);
    EXPECT_EQ(names(), QStringList({"A", "B", "A", "B", "A", "B", "A", "B"}));
    EXPECT_EQ(item(1).strText, "one");
    EXPECT_EQ(item(3).strText, "two");
    EXPECT_EQ(item(5).strText, "three");
    EXPECT_EQ(item(7).strText, ""); // LF then CR: an empty line came between
    EXPECT_EQ(item(8).strText, "bee");
}

TEST_F(Overlays, filesInNameOrderWhateverTheCaseOfTheExtension) {
    write("b.POS", objectLine("B", "5212.34N", "00455.12E", "b") + "\r\n");
    write("a.pos", objectLine("A", "5212.34N", "00455.12E", "a") + "\r\n");
    write("A2.Pos", objectLine("A2", "5212.34N", "00455.12E", "a2") + "\r\n");
    write("c.txt", objectLine("C", "5212.34N", "00455.12E", "c") + "\r\n");
    write("d.pos.bak", objectLine("D", "5212.34N", "00455.12E", "d") + "\r\n");
    QDir(folder.path()).mkdir("e.pos");
    load_overlay_items(ctx);
    EXPECT_EQ(names(), QStringList({"A", "A2", "B"}));
}

TEST_F(Overlays, readsLatin1Bytes) {
    write("a.pos", objectLine("K\xf6ln", "5212.34N", "00455.12E",
                              "Stra\xdf"
                              "e") +
                       "\r\n");
    load_overlay_items(ctx);
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(item(1).strName, QString::fromUtf8("K\xc3\xb6ln"));
    EXPECT_EQ(item(1).strText, QString::fromUtf8("Stra\xc3\x9f"
                                                 "e"));
}

TEST_F(Overlays, capKeepsTheLastObjectInTheLastEntry) {
    // 2,600 objects over 20 files: the count stops at 2500, entry 2500 holds the last one.
    for (int f = 0; f < 20; ++f) {
        QByteArray content;
        for (int i = 0; i < 130; ++i)
            content +=
                objectLine("O" + QByteArray::number(f * 130 + i), "5212.34N", "00455.12E", "t") +
                "\r\n";
        write(QStringLiteral("f%1.pos").arg(f, 2, 10, QLatin1Char('0')), content);
    }
    load_overlay_items(ctx);
    EXPECT_EQ(count(), 2500);
    EXPECT_EQ(item(2499).strName, "O2498");
    EXPECT_EQ(item(2500).strName, "O2599");
    EXPECT_EQ(ctx.overlays.gOverlayItems.size(), 2501u);
    scan_overlays(ctx);
    EXPECT_EQ(lstOverlayItems.count(), 2500);
    EXPECT_EQ(lstOverlayItems.at(2499), "O2599 .km (t)");
}

TEST_F(Overlays, fiftyThousandLines) {
    QByteArray content;
    for (int i = 0; i < 50000; ++i)
        content +=
            objectLine("N" + QByteArray::number(i % 1000), "5212.34N", "00455.12E", "t") + "\n";
    write("big.pos", content);
    load_overlay_items(ctx);
    EXPECT_EQ(count(), 2500);
    EXPECT_EQ(item(2500).strName, "N999");
}

TEST_F(Overlays, hundredKilobyteLines) {
    const QByteArray longText(100 * 1024, 'x');
    write("a.pos", longText + "\r\n" + objectLine("LONG", "5212.34N", "00455.12E", longText) +
                       "\r\n" + longText + "!" + "\r\n");
    scan_overlays(ctx);
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(item(1).strText.size(), longText.size());
    ASSERT_EQ(lstOverlayItems.count(), 1);
    EXPECT_TRUE(lstOverlayItems.at(0).endsWith("xx)"));
}

TEST_F(Overlays, binaryJunkDoesNotStopTheLoad) {
    std::mt19937 random(42);
    QByteArray junk(200 * 1024, '\0');
    for (char& c : junk)
        c = char(random() & 0xff);
    // Sprinkle fields that look like object lines.
    for (int i = 0; i < 200; ++i)
        junk.insert(int(random() % junk.size()), "\n!5212.34N/00455.1");
    write("a.pos", junk);
    write("b.pos", objectLine("AFTER", "5212.34N", "00455.12E", "t") + "\r\n");
    scan_overlays(ctx);
    ASSERT_GE(count(), 1);
    EXPECT_EQ(item(count()).strName, "AFTER");
}

TEST_F(Overlays, unreadableFileIsSkipped) {
    write("a.pos", objectLine("A", "5212.34N", "00455.12E", "t") + "\r\n");
    // A file that opens but fails on reading (permissions do not stop root).
    ASSERT_TRUE(QFile::link("/proc/self/mem", QDir(folder.path()).filePath("b.pos")));
    QFile::link(QDir(folder.path()).filePath("missing"), QDir(folder.path()).filePath("c.pos"));
    write("d.pos", objectLine("D", "5212.34N", "00455.12E", "t") + "\r\n");
    load_overlay_items(ctx);
    EXPECT_EQ(names(), QStringList({"A", "D"}));
}

TEST_F(Overlays, removedFileDisappearsAtTheNextScan) {
    write("a.pos", objectLine("A", "5212.34N", "00455.12E", "t") + "\r\n");
    write("b.pos", objectLine("B", "5212.34N", "00455.12E", "t") + "\r\n");
    scan_overlays(ctx);
    EXPECT_EQ(lstOverlayItems.count(), 2);
    QFile::remove(QDir(folder.path()).filePath("a.pos"));
    scan_overlays(ctx);
    EXPECT_EQ(lstOverlayItems.items(), QStringList({"B .km (t)"}));
    EXPECT_EQ(item(2).strName, "B"); // stale entries stay, unread
}

TEST_F(Overlays, missingOrEmptyFolderGivesNothing) {
    ctx.overlaysFolder = [this] { return folder.path() + "/nowhere"; };
    lstOverlayItems.add("old");
    scan_overlays(ctx);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(lstOverlayItems.count(), 0);
    ctx.overlaysFolder = nullptr;
    load_overlay_items(ctx);
    EXPECT_EQ(count(), 0);
}

TEST(OverlayFolder, belowTheHostFolderOrTheOwnFolder) {
    EXPECT_EQ(overlayFolderPath("/opt/k32/", "/usr/bin"), "/opt/k32//overlays");
    EXPECT_EQ(QDir::cleanPath(overlayFolderPath("/opt/k32/", "/usr/bin")), "/opt/k32/overlays");
    EXPECT_EQ(QDir::cleanPath(overlayFolderPath("", "/usr/bin")), "/usr/bin/overlays");
}

} // namespace
