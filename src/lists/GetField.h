#pragma once

#include <QString>

// Field index of text split at separator. Index 0 is the text before the first separator
// (the whole text when there is none); index k is the text between the k-th and the
// (k+1)-th separator, or after the k-th to the end when there are exactly k. With fewer
// than k separators, or a negative index, the result is the separator itself, not an empty
// text: callers compare it with a tag word, which a one-character separator never equals.
QString GetField(int index, const QString& separator, const QString& text);
