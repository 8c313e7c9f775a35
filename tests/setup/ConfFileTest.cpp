// Guards against the operator's kestrel32.conf losing a comment, a key or its order when the
// window saves it, a value written that did not change, a fault blamed on an option instead
// of the file's key, and an unknown key passed over in silence.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "CommandLine.h"
#include "TestFiles.h"
#include "TrackerConf.h"

namespace {

const QByteArray handEdited = "# my tracker\n"
                              "[General]\n"
                              "; who I am\n"
                              "Callsign = G0MOB-9\n"
                              "colour=green\n"
                              "latitude=52.0583\n"
                              "longitude=-1.0833\n"
                              "\n"
                              "aprs-is = \"rotate.example:14580\"   \n"
                              "range=50\n"
                              "\n"
                              "[Window]\n"
                              "geometry=800x600\n";

TEST(ConfFile, readsTheOperatorsFileAndNamesWhatItDoesNotKnow) {
    const ConfReading reading = readTrackerConf(handEdited, "k.conf");
    EXPECT_EQ(reading.fault, "");
    EXPECT_EQ(reading.conf.callsign, "G0MOB-9");
    EXPECT_EQ(reading.conf.aprsIs, "rotate.example:14580");
    EXPECT_EQ(reading.conf.effectiveLogin(), "G0MOB-9");
    EXPECT_EQ(reading.conf.rangeKm, 50);
    EXPECT_DOUBLE_EQ(*reading.conf.latitude, 52.0583);
    EXPECT_EQ(reading.unknownKeys, (QStringList{"colour", "Window/geometry"}));
}

// A fault names the file and the key, never an option; the first callsign key stands. (The
// field rules are SetupRulesTest's; the command line's reading of the file is gps/'s.)
TEST(ConfFile, aFaultNamesTheFileAndTheKey) {
    const QByteArray placed = "[General]\ncallsign=G0MOB\nlatitude=52\nlongitude=-1\n";
    const QString prefix = "/h/kestrel32.conf: key ";
    const std::pair<QByteArray, QString> rows[] = {
        {placed + "callsign=g0mob", ""},
        {placed + "unit=furlong", "unit: The distance unit is km, mi or nm."},
        {placed + "range=0", "range: The range is a whole number of kilometres from 1 to 20000."},
        {placed + "expire=0",
         "expire: Give the minutes after which unheard stations leave (more than 0)."},
        {"[General]\ncallsign=g0mob\n", "callsign: Use capital letters: G0MOB."},
        {"[General]\ncallsign=G0MOB\nlatitude=52\n",
         "longitude: a position needs both latitude and longitude."},
        {"[General]\ncallsign=G0MOB\n",
         "latitude: a fixed position needs latitude and longitude (or set gpsd)."}};
    for (const auto& [content, fault] : rows)
        EXPECT_EQ(readTrackerConf(content, "/h/kestrel32.conf").fault,
                  fault.isEmpty() ? fault : prefix + fault)
            << content.toStdString();
    EXPECT_EQ(readTrackerConf("[General]\ncallsign=G0MOB\ngpsd=127.0.0.1\n", "f").conf.gpsd,
              "127.0.0.1:2947");
}

TEST(ConfFile, savingChangesOnlyTheValuesThatChangedAndKeepsEveryOtherByte) {
    const TrackerConf before = readTrackerConf(handEdited, "k.conf").conf;
    TrackerConf after = before;
    after.aprsIs = "127.0.0.1:14580";
    after.login = "G0MOB";
    after.latitude = 52.0583; // the same number: its line stays as written
    after.kiss = "127.0.0.1:8001";
    after.passcode.clear();
    QByteArray expected = handEdited;
    expected.replace("aprs-is = \"rotate.example:14580\"   \n", "aprs-is=127.0.0.1:14580\n")
        .replace("range=50\n", "range=50\nkiss=127.0.0.1:8001\nlogin=G0MOB\n");
    EXPECT_EQ(withTrackerConf(handEdited, before, after), expected);
    // A link switched off loses its key; its comment and the rest stay.
    after = before;
    after.aprsIs.clear();
    expected = handEdited;
    expected.replace("aprs-is = \"rotate.example:14580\"   \n", "");
    EXPECT_EQ(withTrackerConf(handEdited, before, after), expected);
}

// The file's passcode goes out only with the file's login, and what the command line gave
// for the run is never written back. (A new file written whole, and a failed save, are the
// first start's in TrackerSetupTest.)
TEST(ConfFile, thePasscodeStaysWithItsLoginAndTheCommandLineIsNeverWritten) {
    QTemporaryDir home;
    const QString path = home.filePath("kestrel32.conf");
    const QByteArray written = "[General]\ncallsign=G4KST\nlatitude=52\nlongitude=-1\n"
                               "aprs-is=127.0.0.1:14580\npasscode=12345\n";
    ASSERT_TRUE(putFile(path, written));
    HostOptions options;
    QString text;
    ASSERT_EQ(parseCommandLine({"kestrel32", "--range", "30"}, options, text, path),
              CommandLineResult::Run)
        << text.toStdString();
    EXPECT_EQ(options.feed.login, "G4KST");
    EXPECT_EQ(options.feed.passcode, 12345);
    QString error;
    ASSERT_TRUE(saveTrackerConf(
        path, [](TrackerConf&) {}, &error));
    EXPECT_EQ(fileBytes(path), written) << "the command line's range was written";
    ASSERT_EQ(parseCommandLine({"kestrel32", "--login", "G4KST-2"}, options, text, path),
              CommandLineResult::Run);
    EXPECT_EQ(options.feed.passcode, -1);
}

} // namespace
