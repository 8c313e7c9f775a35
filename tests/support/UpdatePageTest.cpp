// Guards against a version or update file name cut from the wrong place of the update page.
#include <gtest/gtest.h>

#include "support/UpdatePage.h"

namespace {

const QString kApp = QStringLiteral("Kestrel32 add-on Ringwarden");
const QString kRecord = QStringLiteral("UpdateFile_") + kApp + u'=';

TEST(UpdatePage, VersionTextIsUpToTenCharactersAfterTheKeyAndOneMore) {
    const std::pair<QString, std::optional<QString>> rows[] = {
        {kApp + " Version V1.2.0 and more", QStringLiteral("1.2.0 and ")},
        {kApp + " Version X9.9.9 ", QStringLiteral("9.9.9 ")},
        {kApp + " Version V1.2", QStringLiteral("1.2")},
        {kApp + " Version ", QString()},
        {kApp + " Version V1.0.0 " + kApp + " Version V2.0.0 ", QStringLiteral("1.0.0 Kest")},
        {kApp.toLower() + " Version V1.2.0 ", std::nullopt},
        {kApp + "Version V1.2.0 ", std::nullopt}};
    for (const auto& [page, text] : rows)
        EXPECT_EQ(findVersionText(page, kApp), text) << page.toStdString();
}

TEST(UpdatePage, UpdateFileNameRunsToTheFirstBlankAfterItsFirstCharacter) {
    const std::pair<QString, std::optional<QString>> rows[] = {
        {"x " + kRecord + "rw-1.2.0.deb y", QStringLiteral("rw-1.2.0.deb")},
        {kRecord + "  z", QStringLiteral(" ")},
        {kRecord + "rw-1.2.0.deb", std::nullopt},
        {"UpdateFile_Other=x.deb ", std::nullopt}};
    for (const auto& [page, name] : rows)
        EXPECT_EQ(findUpdateFileName(page, kApp), name) << page.toStdString();
}

} // namespace
