// A body line of a block taken apart as the patch set reader reads it: the key, the value,
// and whether the value was cut at the longest one kept. The reader stores what it finds,
// quotes it in its failure details and notes, and includes this header alone.
#pragma once

#include "LineReader.h"
#include "PatchSetFormat.h"

#include <QByteArrayView>

#include <algorithm>

namespace BodyLine {

using PatchSetFormat::maxKeyLength;
using PatchSetFormat::maxValueLength;

// Only the space counts as blank in a patch set file; a tab is an ordinary character.
inline bool isSpaces(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

struct KeyAndValue
{
    QByteArrayView key;
    QByteArrayView value;
};

// A body line taken apart as storing reads it, and as a failure's detail quotes it.
inline KeyAndValue splitBodyLine(const Line &line)
{
    const QByteArrayView text = line.text();
    const bool keyEndsAtEquals = line.equals >= 0 && line.equals < maxKeyLength;
    const QByteArrayView key =
        text.first(keyEndsAtEquals ? line.equals : std::min<qsizetype>(text.size(), maxKeyLength));

    // The value starts one past the key, which skips the "=" when there is one.
    qsizetype begin = std::min(key.size() + 1, text.size());
    qsizetype end = begin + std::min<qsizetype>(text.size() - begin, maxValueLength);
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    qsizetype comment = line.semicolon;
    if (comment >= 0 && comment < begin) {
        comment = text.indexOf(';', begin); // that one was part of the key
    }
    if (comment >= 0 && comment < end) {
        end = comment;
        while (end > begin && text[end - 1] == ' ') {
            --end;
        }
    }
    return {key, text.sliced(begin, end - begin)};
}

// Whether the value of a line, split into `key` and `value`, was cut at the longest value
// kept: it ends right at the limit, where the line goes on with more than a comment.
inline bool valueCut(QByteArrayView text, QByteArrayView key, QByteArrayView value)
{
    const qsizetype limit = std::min(key.size() + 1, text.size()) + maxValueLength;
    return limit < text.size() && text[limit] != ';'
        && value.data() + value.size() == text.data() + limit;
}

} // namespace BodyLine
