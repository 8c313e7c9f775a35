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
    QByteArray huge = packed("x");
    qToBigEndian<quint32>(0x7fffffff, huge.data() + 12);
    const QByteArray oneLine = u32(1) + QByteArray(1, '\1') + u32(1) + u32(2);
    return {
        {"empty", {}, "not a kestrel32 base map"},
        {"only the name", "K32BASEMAP1\n", "cut short"},
        {"cut in half", shipped().left(shipped().size() / 2), "damaged (checksum)"},
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

TEST(BaseMap, theShippedFileHoldsAndPaintsTheWorld) {
    const BaseMapRead read = readBytes(shipped());
    ASSERT_TRUE(read.map) << read.error.toStdString();
    // 1:50m: some 1,400 rings of land and coast, hundreds of borders.
    EXPECT_GT(read.map->land.size(), 1000u);
    EXPECT_GT(read.map->coastlines.size(), 1000u);
    EXPECT_GT(read.map->borders.size(), 200u);
    // The world at half a degree a pixel; two capes at three minutes (5.6 km), where Natural
    // Earth's 1:50m is within a pixel of the coast: Cabo da Roca, the westernmost point of the
    // European mainland, and Cape Agulhas, the southern tip of Africa.
    const MapScene views[] = {viewOn(0.0, 0.0, 30.0, 720, 360), viewOn(39.5, -8.0, 3.0),
                              viewOn(-33.0, 21.0, 3.0)};
    const QImage images[] = {paint(*read.map, views[0]), paint(*read.map, views[1]),
                             paint(*read.map, views[2])};
    const struct {
        int view;
        double lat, lon;
        int dx, dy; // pixels beside the place
        bool land;
    } places[] = {
        {0, 5.0, 20.0, 0, 0, true},    // the middle of Africa
        {0, 0.0, -150.0, 0, 0, false}, // the middle of the Pacific
        {0, 66.0, -175.0, 0, 0, true}, // Chukotka, across the antimeridian
        {0, -80.0, 0.0, 0, 0, true},       {1, 38.781, -9.5, -3, 0, false},
        {1, 38.781, -9.5, 2, 0, true},     {1, 38.781, -9.5, 20, 0, true},
        {2, -34.833, 20.003, 0, 3, false}, {2, -34.833, 20.003, 0, -2, true},
    };
    for (const auto& p : places) {
        const MapScene& view = views[p.view];
        const QPoint at(int(std::lround(view.toPixelX(p.lon * 60.0))) + p.dx,
                        int(std::lround(view.toPixelY(p.lat * 60.0))) + p.dy);
        EXPECT_EQ(images[p.view].pixelColor(at) != basemap::seaColour, p.land)
            << p.lat << " " << p.lon << " " << p.dx << "," << p.dy;
    }
    // In a town: all land, and no stray line across it from a cut.
    const QImage town = paint(*read.map, viewOn(52.06, -1.33, 0.02));
    for (int x = 0; x < town.width(); x += 7)
        for (int y = 0; y < town.height(); y += 7)
            ASSERT_EQ(town.pixelColor(x, y), basemap::landColour) << x << "," << y;
}

} // namespace
