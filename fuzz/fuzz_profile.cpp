// The profile-file layer: reading and writing one value in the bytes of a settings file.
// Input: section LF key LF value LF file content.
#include <algorithm>

#include "FuzzInput.h"
#include "settings/ProfileText.h"

namespace {

// Names the reader and the writer must agree on: no blanks at the ends, nothing that
// makes a line a comment, a section header or a key/value separator.
bool plainName(const QString& name) {
    if (name.isEmpty() || name.front() == u' ' || name.back() == u' ')
        return false;
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == u' ' || c == u'_' || c == u'-' || c == u'.';
    });
}

// A value that reads back unchanged: no line breaks or blanks at its ends, not wrapped in a
// pair of quotes (those are dropped on reading), and short enough for the read buffer.
bool plainValue(const QString& value) {
    if (value.size() > 4000)
        return false;
    if (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()))
        return false;
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return false;
    return std::none_of(value.begin(), value.end(),
                        [](QChar c) { return c == u'\r' || c == u'\n' || c == u'\0'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const HeadAndBody input = splitHead(fuzzBytes(data, size), 3);
    const QString section = QString::fromLatin1(input.head[0]);
    const QString key = QString::fromLatin1(input.head[1]);
    const QString value = QString::fromLatin1(input.head[2]);
    const QByteArray& content = input.body;

    const int bufferSize = 1 + int(size % 600);
    const QString read =
        profileValueIn(content, section, key, QStringLiteral("fallback "), bufferSize);
    FUZZ_CHECK(read.size() <= std::max(0, bufferSize - 1));

    const QByteArray written = profileWithValue(content, section, key, value);
    // A value can never add lines of its own: at most the key's line and a section header.
    FUZZ_CHECK(written.count('\n') <= content.count('\n') + content.count('\r') + 3);

    if (plainName(section) && plainName(key) && plainValue(value)) {
        FUZZ_CHECK(profileValueIn(written, section, key, QString(), 8192) == value);
        // Writing the same value again finds the line just written and changes nothing.
        FUZZ_CHECK(profileWithValue(written, section, key, value) == written);
    }
    return 0;
}
