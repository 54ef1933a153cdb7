// Cuts the bytes of a patch set file into lines for the reader: in place from memory, or in
// chunks from a device or a file. A line ends at CR LF, LF or a lone CR; the last one needs
// no line end. No line is handed out longer than the format ever looks at: the rest of a
// longer line is skipped as it is read, so a file without line ends costs no more memory
// than a short one, and the first line can be judged by its start before any of its rest is
// read. Every body line is split at its first "=" and cut at a ";", so the scan for the line
// end notes where those are on its way.
#pragma once

#include "PatchSetFormat.h"

#include <QByteArrayView>
#include <QtAlgorithms>

#include <cstring>
#include <functional>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// One line as the reader hands it out. Plain fields rather than a view: the parser reads
// them right after they were written, and copying a view whole would stall on that.
struct Line
{
    const char *begin = nullptr;
    qsizetype length = 0;     // without the line end
    qsizetype equals = -1;    // position of the first "=", or -1
    qsizetype semicolon = -1; // position of the first ";", or -1

    QByteArrayView text() const { return QByteArrayView(begin, length); }
};

class LineReader
{
public:
    // Fills `buffer` with up to `room` bytes; returns how many, 0 at the end, -1 on error.
    using ReadFunction = std::function<qint64(char *buffer, qint64 room)>;
    // Told which bytes are about to be overwritten, so views into them can be copied first.
    using ReuseFunction = std::function<void(QByteArrayView bytes)>;
    // Moves the read position past zero bytes that need no reading (a hole of a sparse file).
    using SkipZerosFunction = std::function<void()>;

    // A line is handed out with at most this many characters: one more than the format looks
    // at, so that the reader can tell when a value was cut.
    static constexpr qsizetype KeptLength = PatchSetFormat::MaxLineLength + 1;

    // Reads `bytes` in place; they must stay unchanged while the reader is used. Lines stay
    // valid as long as the bytes do.
    explicit LineReader(QByteArrayView bytes);
    // Reads through `read` in chunks; `sizeHint` (or -1) only keeps small inputs cheap. A
    // line stays valid until `beforeReuse` is called with a range that holds it. While the
    // rest of a long line is skipped, `skipZeros` (if given) is called before each read: zero
    // bytes are no line end, so passing over them unread changes nothing but the time.
    LineReader(ReadFunction read, qint64 sizeHint, ReuseFunction beforeReuse,
               SkipZerosFunction skipZeros = {});
    ~LineReader();

    // The first line, cut to `length` characters, with no more read than that takes: a file
    // whose first line goes on for gigabytes is judged by its start at once. The rest of the
    // line is skipped by the next call to next(). Null for an empty input and on a read error
    // (then failed() is true). Only as the first call.
    const Line *firstLine(qsizetype length);

    // The next line, valid until the next call; null at the end of the input and after a
    // read error (then failed() is true).
    const Line *next()
    {
        const char *end = scanLine(m_at, m_end, m_line);
        if (end == m_end) {
            return nextAcrossReads();
        }
        return handOut(end);
    }

    bool failed() const { return m_failed; }
    // Lines handed out so far.
    int lineNumber() const { return m_lineNumber; }

private:
    // The first CR or LF in [begin, end), or end; notes in `line` the first "=" and ";"
    // before it, counted from `begin`, or -1. Found in locals and stored once: a field of
    // `line` would be stored and loaded again on every round.
    static const char *scanLine(const char *begin, const char *end, Line &line)
    {
        qsizetype equalsAt = -1;
        qsizetype semicolonAt = -1;
        const auto found = [&](const char *at) {
            line.equals = equalsAt;
            line.semicolon = semicolonAt;
            return at;
        };
        const char *p = begin;
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i equals = _mm_set1_epi8('=');
        const __m128i semicolon = _mm_set1_epi8(';');
        for (; end - p >= 16; p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            const quint32 lineEnds = quint32(_mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr))));
            // Only what comes before the line end belongs to this line.
            const quint32 inLine = lineEnds != 0 ? (lineEnds & (0u - lineEnds)) - 1 : 0xFFFFu;
            const quint32 foundEquals =
                quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, equals))) & inLine;
            const quint32 foundSemicolon =
                quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, semicolon))) & inLine;
            if (equalsAt < 0 && foundEquals != 0) {
                equalsAt = (p - begin) + qCountTrailingZeroBits(foundEquals);
            }
            if (semicolonAt < 0 && foundSemicolon != 0) {
                semicolonAt = (p - begin) + qCountTrailingZeroBits(foundSemicolon);
            }
            if (lineEnds != 0) {
                return found(p + qCountTrailingZeroBits(lineEnds));
            }
        }
#endif
        for (; p < end && *p != '\n' && *p != '\r'; ++p) {
            if (*p == '=' && equalsAt < 0) {
                equalsAt = p - begin;
            } else if (*p == ';' && semicolonAt < 0) {
                semicolonAt = p - begin;
            }
        }
        return found(p);
    }

    // Moves m_at to the start of the line after the line end at `end`.
    void stepPastLineEnd(const char *end)
    {
        m_at = end + 1;
        if (*end == '\r') {
            if (m_at < m_end) {
                m_at += *m_at == '\n' ? 1 : 0;
            } else {
                m_crPending = !m_atEnd; // an LF at the start of the next read belongs to it
            }
        }
    }

    const Line *handOut(const char *end, qsizetype keep = KeptLength)
    {
        const char *begin = m_at;
        stepPastLineEnd(end);
        ++m_lineNumber;
        return cut(begin, end, keep);
    }

    // Hands out [begin, end) as m_line, no longer than `keep`.
    const Line *cut(const char *begin, const char *end, qsizetype keep = KeptLength)
    {
        const qsizetype length = std::min<qsizetype>(end - begin, keep);
        m_line.begin = begin;
        m_line.length = length;
        m_line.equals = m_line.equals < length ? m_line.equals : -1;
        m_line.semicolon = m_line.semicolon < length ? m_line.semicolon : -1;
        return &m_line;
    }

    const Line *nextAcrossReads();
    // Ends the input after a read error: no line is handed out any more.
    const Line *readFailed();

    ReadFunction m_read;
    ReuseFunction m_beforeReuse;
    SkipZerosFunction m_skipZeros;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_capacity = 0;
    const char *m_at = nullptr;  // start of the next line
    const char *m_end = nullptr; // end of the bytes at hand
    bool m_atEnd = false;
    bool m_crPending = false;
    bool m_failed = false;
    bool m_skippingRest = false; // the first line was handed out before its end was read
    int m_lineNumber = 0;
    Line m_line;
};
