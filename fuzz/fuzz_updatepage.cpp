// The update page: any body the server sends, judged against the own version.
#include "FuzzInput.h"
#include "update/UpdateOutcome.h"
#include "update/UpdatePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString page = pageTextFromBytes(fuzzBytes(data, size));
    FUZZ_CHECK(page.size() == qsizetype(size));
    const QString app = QStringLiteral("Ringwarden");
    const UpdateOutcome outcome =
        evaluateUpdatePage(page, app, UpdateVersion{1, 1, 0}, QStringLiteral("example.org"), ".");
    FUZZ_CHECK(!outcome.status.isEmpty());
    if (outcome.result == UpdateOutcome::Result::UpdateAvailable) {
        FUZZ_CHECK(!outcome.updateFile.isEmpty());
        // The name runs from the character after "=" (which may itself be a blank) up to
        // the next blank.
        FUZZ_CHECK(!outcome.updateFile.mid(1).contains(u' '));
        FUZZ_CHECK(outcome.colour == UpdateStatusColour::Success);
    }
    if (!pageHasSignature(page))
        FUZZ_CHECK(outcome.result == UpdateOutcome::Result::NoSignature);
    if (const auto text = findVersionText(page, app))
        FUZZ_CHECK(text->size() <= 10);
    return 0;
}
