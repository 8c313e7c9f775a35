// Guards the base map: the shipped file not loading, a damaged file taken as a map (or
// crashing the reader), and the coast drawn away from where it is.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include "BaseMapFile.h"
#include "BaseMapPaint.h"
#include "MapFixtures.h"
#include "MapScene.h"
#include "TestFiles.h"

namespace {

QByteArray shipped() {
    return fileBytes(QStringLiteral(KESTREL32_BASEMAP));
}

BaseMapRead readBytes(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return basemap::read(buffer);
}

// A file made from plain data as the converter makes it.
QByteArray packed(const QByteArray& plain) {
    return QByteArray("K32BASEMAP1\n") + qCompress(plain, 9);
}

QByteArray u32(quint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

struct DamageCase {
    const char* name;
    QByteArray bytes;
    const char* error;
    friend void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }
};

std::vector<DamageCase> damageCases() {
    QByteArray flipped = shipped();
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x20);
    QByteArray huge = packed("x");
    qToBigEndian<quint32>(0x7fffffff, huge.data() + 12);
    const QByteArray oneLine = u32(1) + QByteArray(1, '\1') + u32(1) + u32(2);
    return {
        {"empty", {}, "not a kestrel32 base map"},
        {"another file", "PK\3\4 something else entirely", "not a kestrel32 base map"},
        {"only the name", "K32BASEMAP1\n", "cut short"},
        {"cut in half", shipped().left(shipped().size() / 2), "damaged (checksum)"},
        {"one bit changed", flipped, "damaged (checksum)"},
        {"an impossible length", huge, "impossible length"},
        {"points missing", packed(oneLine + QByteArray(8, '\0')), "point count"},
        {"an unknown layer", packed(u32(1) + QByteArray(1, '\7') + u32(0)), "layer 7"},
        {"more lines than bytes", packed(u32(1) + QByteArray(1, '\1') + u32(100000)), "line count"},
        {"a latitude beyond the pole",
         packed(u32(1) + QByteArray(1, '\2') + u32(1) + u32(1) + u32(0) + u32(9500000)),
         "coordinates"},
        {"bytes after the end", packed(u32(0) + "junk"), "after the end"},
    };
}

class DamagedBaseMap : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedBaseMap, isRefusedWithItsReason) {
    const BaseMapRead read = readBytes(GetParam().bytes);
    EXPECT_FALSE(read.map);
    EXPECT_TRUE(read.error.contains(QLatin1String(GetParam().error))) << read.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(BaseMap, DamagedBaseMap, ::testing::ValuesIn(damageCases()));

QImage paint(const BaseMap& map, const MapScene& scene) {
    QImage image(scene.pixelWidth, scene.pixelHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    basemap::paint(painter, map, scene);
    return image;
}

bool sea(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == basemap::seaColour;
}

TEST(BaseMap, knownCoastsAreDrawnWhereTheyAre) {
    const BaseMapRead read = readBytes(shipped());
    ASSERT_TRUE(read.map);
    // Three minutes a pixel (5.6 km): Natural Earth's 1:50m is within a pixel of the coast.
    {
        // Cabo da Roca, the westernmost point of the European mainland, 38.781 N 9.500 W:
        // along its row the land starts there.
        const MapScene scene = viewOn(39.5, -8.0, 3.0);
        const QImage image = paint(*read.map, scene);
        const double x = scene.toPixelX(-9.500 * 60.0);
        const int y = int(std::lround(scene.toPixelY(38.781 * 60.0)));
        int firstLand = -1;
        for (int i = 0; i < image.width() && firstLand < 0; ++i)
            if (!sea(image, i, y))
                firstLand = i;
        EXPECT_NEAR(firstLand, x, 2.0);
        // Land to the east of it, sea to the west.
        EXPECT_TRUE(sea(image, int(x) - 20, y));
        EXPECT_EQ(image.pixelColor(int(x) + 20, y), basemap::landColour);
    }
    {
        // Cape Agulhas, the southern tip of Africa, 34.833 S 20.003 E: up its column the land
        // starts there.
        const MapScene scene = viewOn(-33.0, 21.0, 3.0);
        const QImage image = paint(*read.map, scene);
        const int x = int(std::lround(scene.toPixelX(20.003 * 60.0)));
        const double y = scene.toPixelY(-34.833 * 60.0);
        int lowestLand = -1;
        for (int j = image.height() - 1; j >= 0 && lowestLand < 0; --j)
            if (!sea(image, x, j))
                lowestLand = j;
        EXPECT_NEAR(lowestLand, y, 2.0);
    }
}

TEST(BaseMap, theShippedFileHoldsAndPaintsTheWorld) {
    const BaseMapRead read = readBytes(shipped());
    ASSERT_TRUE(read.map) << read.error.toStdString();
    EXPECT_TRUE(read.error.isEmpty());
    // 1:50m: some 1,400 rings of land and coast, hundreds of borders.
    EXPECT_GT(read.map->land.size(), 1000u);
    EXPECT_GT(read.map->coastlines.size(), 1000u);
    EXPECT_GT(read.map->borders.size(), 200u);
    size_t points = 0;
    for (const BaseMapLine& line : read.map->land)
        points += line.points.size();
    EXPECT_GT(points, 50000u);
    // The world: the middle of Africa is land, the middle of the Pacific sea, the far east
    // across the antimeridian (Chukotka at 66 N 175 W) land.
    MapScene world;
    world.pixelWidth = 720;
    world.pixelHeight = 360;
    world.unitsPerPixel = 30.0; // half a degree a pixel
    const QImage image = paint(*read.map, world);
    const auto at = [&](double lat, double lon) {
        return image.pixelColor(int(world.toPixelX(lon * 60.0)), int(world.toPixelY(lat * 60.0)));
    };
    EXPECT_EQ(at(5.0, 20.0), basemap::landColour);
    EXPECT_EQ(at(0.0, -150.0), basemap::seaColour);
    EXPECT_EQ(at(66.0, -175.0), basemap::landColour);
    EXPECT_EQ(at(-80.0, 0.0), basemap::landColour);
    // In a town: all land, and no stray line across it from a cut.
    const QImage town = paint(*read.map, viewOn(52.06, -1.33, 0.02));
    for (int x = 0; x < town.width(); x += 7)
        for (int y = 0; y < town.height(); y += 7)
            ASSERT_EQ(town.pixelColor(x, y), basemap::landColour) << x << "," << y;
}

} // namespace
