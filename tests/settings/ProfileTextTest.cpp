// Guards against a settings value misread, or a rewrite that changes bytes it should not touch.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "settings/ProfileText.h"

namespace {

const QString kDefault = QStringLiteral("<d>");

// Every row reads key K of section S.
TEST(ProfileText, ReadFindsTheValueOrGivesTheDefault) {
    const std::pair<QByteArray, QString> rows[] = {
        {bytes("[s]\r\nk=v\r\n"), "v"},
        {bytes("  [ S ]  \r\n \tK\t =  a b  \r\n"), "a b"},
        {bytes("[S]\r\nK=\"  x \"\r\n"), "  x "},
        {bytes("[S]\r\nK='x'\r\n"), "x"},
        {bytes("[S]\r\nK=\"x'\r\n"), "\"x'"},
        {bytes("[S]\r\nK=\r\n"), ""},
        {bytes("[S]\r\nK=a=b\r\n"), "a=b"},
        {bytes("[S]\r\n ;K=no\r\nK\r\nK=1\r\nK=2\r\n"), "1"},
        {bytes("[S]\r\nA=1\r\n[s]\r\nK=2\r\n"), kDefault},
        {bytes("K=1\r\n[S]\r\n[T]\r\nK=1\r\n"), kDefault},
        {bytes("[S\r\nK=1\r\n"), kDefault},
        {bytes("[S] ; the setup\r\nK=1\r\n"), "1"},
        {bytes("[S]\rA=1\rK=2\r"), "2"},
        {bytes("[S]\nA=1\nK=2\n"), "2"},
        {bytes("[S]\r\nK=last"), "last"},
        {bytes("[S]\r\nK=\xe9\x00\x80z\r\n"), QString::fromLatin1(bytes("\xe9\x00\x80z"))}};
    for (const auto& [content, value] : rows)
        EXPECT_EQ(profileValueIn(content, "S", "K", kDefault), value) << content.toStdString();
    const QByteArray longValue = "[S]\r\nK=" + QByteArray(600, 'x') + "\r\n";
    EXPECT_EQ(profileValueIn(longValue, "S", "K", "", 500), QString(499, u'x'));
    EXPECT_EQ(profileValueIn({}, "S", "K", "  ab  ", 500), QStringLiteral("  ab"));
}

// Every row writes key x of section a; the file's own spelling of both is kept.
TEST(ProfileText, WriteChangesOnlyTheKeysLine) {
    const struct {
        QByteArray before;
        const char* value;
        QByteArray after;
    } rows[] = {
        {QByteArray(), "V", bytes("[a]\r\nx=V\r\n")},
        {bytes("; hi \xff\r\n[B]\r\nX = 1\r\n\r\n[A]\r\nX = old ; x\r\nY=\x00\x01\r\n"), "new",
         bytes("; hi \xff\r\n[B]\r\nX = 1\r\n\r\n[A]\r\nX=new\r\nY=\x00\x01\r\n")},
        {bytes("[A]\r\n  X = 1\r\n"), "2", bytes("[A]\r\nX=2\r\n")},
        {bytes("[A]\r\nW=1\r\n\r\n[B]\r\n"), "3", bytes("[A]\r\nW=1\r\nx=3\r\n\r\n[B]\r\n")},
        {bytes("[A]\r\nW=1"), "3", bytes("[A]\r\nW=1\r\nx=3\r\n")},
        {bytes("[A]\r\n;X=1\r\n[A]\r\n"), "2", bytes("[A]\r\n;X=1\r\nx=2\r\n[A]\r\n")},
        {bytes("junk"), "V", bytes("junk\r\n[a]\r\nx=V\r\n")},
        {bytes("[A]\nX=1\nY=2\n"), "5", bytes("[A]\nX=5\r\nY=2\n")},
        {bytes("[A]\rY=1\rX=2\r"), "5", bytes("[A]\rY=1\rX=5\r\n")},
        {bytes("[A]\r\n"), "1\r\n[B]", bytes("[A]\r\nx=1  [B]\r\n")}};
    for (const auto& row : rows) {
        const QByteArray written = profileWithValue(row.before, "a", "x", row.value);
        EXPECT_EQ(written, row.after) << row.before.toStdString();
        EXPECT_EQ(profileValueIn(written, "A", "X", kDefault),
                  QString::fromLatin1(row.value).replace(u'\r', u' ').replace(u'\n', u' '));
    }
}

} // namespace
