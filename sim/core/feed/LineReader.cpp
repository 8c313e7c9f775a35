#include "feed/LineReader.h"

namespace feed {

void LineReader::reset() {
    m_buffer.clear();
    m_skipping = false;
}

QByteArray LineReader::finish() {
    QByteArray last = m_skipping ? QByteArray() : m_buffer;
    if (last.endsWith('\r'))
        last.chop(1);
    reset();
    return last;
}

QList<QByteArray> LineReader::feed(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        const qsizetype end = lf < 0 ? bytes.size() : lf;
        if (!m_skipping) {
            m_buffer.append(bytes.constData() + start, end - start);
            // The limit counts the text without its CR.
            const qsizetype textLength = m_buffer.size() - (m_buffer.endsWith('\r') ? 1 : 0);
            if (textLength > m_maxLine) {
                ++m_tooLong;
                m_buffer.clear();
                m_skipping = lf < 0;
            } else if (lf >= 0) {
                if (m_buffer.endsWith('\r'))
                    m_buffer.chop(1);
                lines.append(m_buffer);
                m_buffer.clear();
            }
        } else if (lf >= 0) {
            m_skipping = false;
        }
        if (lf < 0)
            break;
        start = lf + 1;
    }
    return lines;
}

} // namespace feed
