#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QList>
#include <QString>

// The entry point every fuzz target defines; the replay driver calls it too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// A property that must hold for every input; a failure is a finding like a crash, so it
// aborts where the fuzzer (or the replay driver) sees it and keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

inline QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A target over text: `check` gets the bytes read as Latin-1 and as UTF-8.
#define FUZZ_TEXT_TARGET(check)                                                                    \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {            \
        const QByteArray bytes = fuzzBytes(data, size);                                            \
        check(QString::fromLatin1(bytes));                                                         \
        check(QString::fromUtf8(bytes));                                                           \
        return 0;                                                                                  \
    }

// An input whose first lines are parameters (a section name, a key, ...) and whose rest is
// the text under test. Lines end at LF; missing lines are empty.
struct HeadAndBody {
    QList<QByteArray> head;
    QByteArray body;
};

inline HeadAndBody splitHead(const QByteArray& bytes, int lines) {
    HeadAndBody result;
    qsizetype from = 0;
    for (int i = 0; i < lines; ++i) {
        const qsizetype end = bytes.indexOf('\n', from);
        if (end < 0) {
            result.head.append(bytes.mid(from));
            from = bytes.size();
        } else {
            result.head.append(bytes.mid(from, end - from));
            from = end + 1;
        }
    }
    result.body = bytes.mid(from);
    return result;
}
