#include "settings/ProfileText.h"

#include <QList>

namespace {

struct Line {
    qsizetype begin; // first byte of the text
    qsizetype end;   // one past the text, where the line end starts
    qsizetype next;  // first byte of the following line
};

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QByteArray name; // section or key name, blanks dropped
    QByteArray value;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray trimmedBlanks(QByteArrayView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.sliced(first, last - first).toByteArray();
}

QList<Line> splitLines(const QByteArray& content) {
    QList<Line> lines;
    const qsizetype size = content.size();
    qsizetype begin = 0;
    while (begin < size) {
        qsizetype end = begin;
        while (end < size && content[end] != '\r' && content[end] != '\n')
            ++end;
        qsizetype next = end;
        if (next < size) {
            const bool carriageReturn = content[next] == '\r';
            ++next;
            if (carriageReturn && next < size && content[next] == '\n')
                ++next;
        }
        lines.append({begin, end, next});
        begin = next;
    }
    return lines;
}

ParsedLine parseLine(QByteArrayView text) {
    ParsedLine parsed;
    const QByteArray trimmed = trimmedBlanks(text);
    if (trimmed.isEmpty() || trimmed.front() == ';')
        return parsed;
    if (trimmed.front() == '[') {
        const qsizetype close = trimmed.lastIndexOf(']');
        if (close > 0) {
            parsed.kind = LineKind::Section;
            parsed.name = trimmedBlanks(QByteArrayView(trimmed).sliced(1, close - 1));
            return parsed;
        }
    }
    const qsizetype equals = trimmed.indexOf('=');
    if (equals < 0)
        return parsed;
    parsed.kind = LineKind::Key;
    parsed.name = trimmedBlanks(QByteArrayView(trimmed).first(equals));
    parsed.value = trimmedBlanks(QByteArrayView(trimmed).sliced(equals + 1));
    return parsed;
}

bool sameName(const QByteArray& fromFile, const QString& wanted) {
    return QString::fromLatin1(fromFile).compare(wanted, Qt::CaseInsensitive) == 0;
}

QByteArray withoutQuotes(const QByteArray& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

QString cutToBuffer(const QString& text, int bufferSize) {
    if (bufferSize <= 0)
        return {};
    return text.left(bufferSize - 1);
}

// Where section/key stand in content: the index of the section header line (-1: none), the
// index of the key's line (-1: none) and one past the section's last line.
struct Location {
    qsizetype sectionLine = -1;
    qsizetype keyLine = -1;
    qsizetype sectionEnd = -1;
};

Location locate(const QByteArray& content, const QList<Line>& lines, const QString& section,
                const QString& key) {
    Location where;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const ParsedLine parsed =
            parseLine(QByteArrayView(content).sliced(line.begin, line.end - line.begin));
        if (parsed.kind == LineKind::Section) {
            if (where.sectionLine >= 0) {
                where.sectionEnd = i;
                return where;
            }
            if (sameName(parsed.name, section))
                where.sectionLine = i;
        } else if (parsed.kind == LineKind::Key && where.sectionLine >= 0 && where.keyLine < 0 &&
                   sameName(parsed.name, key)) {
            where.keyLine = i;
        }
    }
    where.sectionEnd = lines.size();
    return where;
}

QByteArray oneLine(const QString& text) {
    QString flat = text;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return flat.toLatin1();
}

bool endsWithLineEnd(const QByteArray& content) {
    return content.endsWith('\r') || content.endsWith('\n');
}

} // namespace

QString profileValueIn(const QByteArray& content, const QString& section, const QString& key,
                       const QString& defaultValue, int bufferSize) {
    const QList<Line> lines = splitLines(content);
    const Location where = locate(content, lines, section, key);
    if (where.keyLine < 0) {
        QString fallback = defaultValue;
        while (!fallback.isEmpty() && isBlank(fallback.back().toLatin1()))
            fallback.chop(1);
        return cutToBuffer(fallback, bufferSize);
    }
    const Line& line = lines[where.keyLine];
    const ParsedLine parsed =
        parseLine(QByteArrayView(content).sliced(line.begin, line.end - line.begin));
    return cutToBuffer(QString::fromLatin1(withoutQuotes(parsed.value)), bufferSize);
}

QByteArray profileWithValue(const QByteArray& content, const QString& section, const QString& key,
                            const QString& value) {
    static const QByteArray kLineEnd("\r\n");
    const QList<Line> lines = splitLines(content);
    const Location where = locate(content, lines, section, key);
    QByteArray result = content;

    if (where.keyLine >= 0) {
        // Keep the name as the file spells it; only the value changes.
        const Line& line = lines[where.keyLine];
        const ParsedLine parsed =
            parseLine(QByteArrayView(content).sliced(line.begin, line.end - line.begin));
        result.replace(line.begin, line.next - line.begin,
                       parsed.name + '=' + oneLine(value) + kLineEnd);
        return result;
    }

    const QByteArray keyLine = oneLine(key) + '=' + oneLine(value) + kLineEnd;
    if (where.sectionLine >= 0) {
        // After the last non-empty line of the section, so that blank lines that part it
        // from the next section stay where they are.
        qsizetype last = where.sectionLine;
        for (qsizetype i = where.sectionLine + 1; i < where.sectionEnd; ++i) {
            const Line& line = lines[i];
            if (!trimmedBlanks(QByteArrayView(content).sliced(line.begin, line.end - line.begin))
                     .isEmpty())
                last = i;
        }
        const Line& after = lines[last];
        if (after.next == after.end) // the file's last line, without a line end
            result.insert(after.next, kLineEnd + keyLine);
        else
            result.insert(after.next, keyLine);
        return result;
    }

    if (!result.isEmpty() && !endsWithLineEnd(result))
        result.append(kLineEnd);
    result.append('[' + oneLine(section) + ']' + kLineEnd + keyLine);
    return result;
}
