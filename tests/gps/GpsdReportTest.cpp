// Guards against a gpsd line that is no usable fix (garbage, NaN, no fix) moving the own station.
#include <gtest/gtest.h>

#include "feed/GpsdReport.h"

namespace {

using Kind = feed::GpsdReport::Kind;

struct Line {
    QByteArray text;
    Kind kind;
    double latitude = 0.0;
    double longitude = 0.0;
};

class GpsdReportTable : public testing::TestWithParam<Line> {};

TEST_P(GpsdReportTable, ReadsTheFixOrSaysWhyNot) {
    const feed::GpsdReport report = feed::readGpsdReport(GetParam().text);
    EXPECT_EQ(report.kind, GetParam().kind) << GetParam().text.toStdString();
    if (report.kind == Kind::Fix) {
        EXPECT_DOUBLE_EQ(report.latitude, GetParam().latitude);
        EXPECT_DOUBLE_EQ(report.longitude, GetParam().longitude);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GpsdReportTable,
    testing::Values(Line{R"({"class":"TPV","mode":3,"lat":52.0612,"lon":-1.0833,"alt":9})",
                         Kind::Fix, 52.0612, -1.0833},
                    Line{R"({"class":"TPV","mode":2,"lat":90,"lon":-180})", Kind::Fix, 90.0,
                         -180.0},
                    Line{R"({"class":"TPV","mode":1,"lat":52.0,"lon":-1.0})", Kind::NoFix},
                    Line{R"({"class":"TPV","mode":3,"lat":"52","lon":-1.0})", Kind::NoFix},
                    Line{R"({"class":"TPV","mode":3,"lat":90.5,"lon":1})", Kind::NoFix},
                    Line{R"({"class":"TPV","mode":3,"lat":1,"lon":180.01})", Kind::NoFix},
                    Line{R"({"class":"VERSION","release":"3.22","proto_major":3})", Kind::Other},
                    Line{R"({"class":"TPV","mode":3,"lat":1e999,"lon":1})", Kind::NotGpsd},
                    Line{R"({"class":"TPV","mode":3,"lat":NaN,"lon":-1.0})", Kind::NotGpsd},
                    Line{R"([{"class":"TPV","mode":3,"lat":52.0,"lon":-1.0}])", Kind::NotGpsd},
                    Line{QByteArray("\x00\xff{\x01", 4), Kind::NotGpsd}));

} // namespace
