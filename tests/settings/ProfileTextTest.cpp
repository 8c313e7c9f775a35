// Guards against a settings value misread, or a rewrite that changes bytes it should not touch.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "settings/ProfileText.h"

namespace {

const QString kDefault = QStringLiteral("<d>");

TEST(ProfileText, ReadFindsTheValueOrGivesTheDefault) {
    const struct {
        QByteArray content;
        const char* section;
        const char* key;
        QString expected;
    } rows[] = {
        {bytes("[setup]\r\nkey=v\r\n"), "SETUP", "KEY", "v"},
        {bytes("  [ S ]  \r\n \tK\t =  a b  \r\n"), "S", "K", "a b"},
        {bytes("[S]\r\nK=\"  x \"\r\n"), "S", "K", "  x "},
        {bytes("[S]\r\nK='x'\r\n"), "S", "K", "x"},
        {bytes("[S]\r\nK=\"x'\r\n"), "S", "K", "\"x'"},
        {bytes("[S]\r\nK=\r\n"), "S", "K", ""},
        {bytes("[S]\r\nK=a=b\r\n"), "S", "K", "a=b"},
        {bytes("[S]\r\n ;K=no\r\nK\r\nK=1\r\nK=2\r\n"), "S", "K", "1"},
        {bytes("[S]\r\nA=1\r\n[s]\r\nK=2\r\n"), "S", "K", kDefault},
        {bytes("K=1\r\n[S]\r\n[T]\r\nK=1\r\n"), "S", "K", kDefault},
        {bytes("[S\r\nK=1\r\n"), "S", "K", kDefault},
        {bytes("[S] ; the setup\r\nK=1\r\n"), "S", "K", "1"},
        {bytes("[S]\rA=1\rK=2\r"), "S", "K", "2"},
        {bytes("[S]\nA=1\nK=2\n"), "S", "K", "2"},
        {bytes("[S]\r\nK=last"), "S", "K", "last"},
        {bytes("[S]\r\nK=\xe9\x00\x80z\r\n"), "S", "K",
         QString::fromLatin1(bytes("\xe9\x00\x80z"))},
        {QByteArray(), "S", "K", kDefault},
    };
    for (const auto& row : rows)
        EXPECT_EQ(profileValueIn(row.content, row.section, row.key, kDefault), row.expected)
            << row.content.toStdString();
    const QByteArray longValue = "[S]\r\nK=" + QByteArray(600, 'x') + "\r\n";
    EXPECT_EQ(profileValueIn(longValue, "S", "K", "", 500), QString(499, u'x'));
    EXPECT_EQ(profileValueIn({}, "S", "K", "  ab  ", 500), QStringLiteral("  ab"));
}

TEST(ProfileText, WriteChangesOnlyTheKeysLine) {
    const struct {
        QByteArray before;
        const char* section;
        const char* key;
        const char* value;
        QByteArray after;
    } rows[] = {
        {QByteArray(), "SETUP", "K", "V", bytes("[SETUP]\r\nK=V\r\n")},
        {bytes("; hi \xff\r\n[A]\r\nX = 1\r\n\r\n[B]\r\nK = old ; x\r\nY=\x00\x01\r\n"), "b", "k",
         "new", bytes("; hi \xff\r\n[A]\r\nX = 1\r\n\r\n[B]\r\nK=new\r\nY=\x00\x01\r\n")},
        {bytes("[s]\r\n  key = 1\r\n"), "S", "KEY", "2", bytes("[s]\r\nkey=2\r\n")},
        {bytes("[A]\r\nX=1\r\n\r\n[B]\r\n"), "A", "Z", "3",
         bytes("[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\n")},
        {bytes("[A]\r\nX=1"), "A", "Z", "3", bytes("[A]\r\nX=1\r\nZ=3\r\n")},
        {bytes("[A]\r\n;X=1\r\n[A]\r\n"), "A", "X", "2", bytes("[A]\r\n;X=1\r\nX=2\r\n[A]\r\n")},
        {bytes("junk"), "N", "K", "V", bytes("junk\r\n[N]\r\nK=V\r\n")},
        {bytes("[A]\nX=1\nY=2\n"), "A", "X", "5", bytes("[A]\nX=5\r\nY=2\n")},
        {bytes("[A]\rX=1\rY=2\r"), "A", "Y", "5", bytes("[A]\rX=1\rY=5\r\n")},
        {bytes("[A]\r\n"), "A", "X", "1\r\n[B]", bytes("[A]\r\nX=1  [B]\r\n")},
    };
    for (const auto& row : rows) {
        const QByteArray written = profileWithValue(row.before, row.section, row.key, row.value);
        EXPECT_EQ(written, row.after) << row.before.toStdString();
        EXPECT_EQ(profileValueIn(written, row.section, row.key, kDefault),
                  QString::fromLatin1(row.value).replace(u'\r', u' ').replace(u'\n', u' '));
    }
}

} // namespace
