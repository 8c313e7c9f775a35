// The list file (Ringwarden.LST): reading any bytes, and writing what was read back.
#include <QBuffer>

#include "FuzzInput.h"
#include "lists/ListFile.h"

namespace {

// Lines end at CR or CR LF; a last line without a line end counts; every line is one entry.
qsizetype lineCount(const QByteArray& bytes) {
    const qsizetype lastCr = bytes.lastIndexOf('\r');
    QByteArray tail = bytes.mid(lastCr + 1);
    if (lastCr >= 0 && tail.startsWith('\n'))
        tail.remove(0, 1);
    return bytes.count('\r') + (tail.isEmpty() ? 0 : 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes = fuzzBytes(data, size);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    const LoadedLists lists = readLists(in);
    FUZZ_CHECK(lists.complete);
    FUZZ_CHECK(lists.acked.size() + lists.watch.size() == lineCount(bytes));

    QByteArray saved;
    QBuffer out(&saved);
    out.open(QIODevice::WriteOnly);
    FUZZ_CHECK(writeLists(out, lists.acked, lists.watch));
    out.close();

    QBuffer again(&saved);
    again.open(QIODevice::ReadOnly);
    const LoadedLists reread = readLists(again);
    FUZZ_CHECK(reread.acked == lists.acked);
    FUZZ_CHECK(reread.watch == lists.watch);

    // A file larger than the limit is reported as not read to its end.
    if (size > 1) {
        QBuffer small(&bytes);
        small.open(QIODevice::ReadOnly);
        FUZZ_CHECK(!readLists(small, qint64(size) - 1).complete);
    }
    return 0;
}
