// Guards against an overlay object line misread, a description lost, or junk that stops the load.
#include <gtest/gtest.h>

#include <QStringList>

#include "engine/OverlayItems.h"

namespace {

// A continuation line with the object's name gives the description. Stars, names of nine
// characters, lines without "!" and fields that cannot be converted (or are beyond a float)
// are no objects. CR, LF and CR LF all end lines; the last needs none. Junk does not stop it.
TEST(OverlayLines, readsTheObjectsTheFileHolds) {
    const std::pair<const char*, QStringList> rows[] = {
        {"A!5212.34N/00455.12E#\r\nA>first * text\r\nB!5212.34N/00455.12E#\r\nb>x\r\n",
         {"A=first * text", "B="}},
        {"STAR!5212.34N/00455.12E#has * star\r\nNINECHARS!5212.34N/00455.12E#t\r\n"
         "just a comment\r\n\r\nEIGHTCHR!5212.34N/00455.12E#ok\r\n",
         {"EIGHTCHR=ok"}},
        {"\x01\x02\xff\r\nNODOT!521234N /00455.12E#\r\nHUGE!5212.34N/99912.34E#t\r\n"
         "B!.3e58B!)/00455.12E#\r\nGOOD!5212.34N/00455.12E#t\r\n",
         {"GOOD=t"}},
        {"A!5212.34N/00455.12E#\nA>two\rB!5212.34N/00455.12E#bee", {"A=two", "B=bee"}}};
    for (const auto& [bytes, namesAndTexts] : rows) {
        OverlayTable table;
        const int count = readOverlayObjects(QByteArray(bytes), table, 0);
        QStringList read;
        for (int i = 1; i <= count; ++i)
            read << table.gOverlayItems[size_t(i)].strName + "=" +
                        table.gOverlayItems[size_t(i)].strText;
        EXPECT_EQ(read, namesAndTexts) << bytes;
    }
}

} // namespace
