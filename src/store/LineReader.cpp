#include "LineReader.h"

#include <algorithm>

namespace {

// Big enough that a read costs little per line, small enough to stay in the cache.
constexpr qsizetype ChunkSize = 256 * 1024;

// Room for a whole chunk behind the kept start of a line that did not end in the last one.
constexpr qsizetype LargestBuffer = ChunkSize + LineReader::KeptLength;

// Where the size is not known, the buffer starts small and grows with the lines it meets.
constexpr qsizetype FirstBuffer = 16 * 1024;

} // namespace

LineReader::LineReader(QByteArrayView bytes)
    : m_at(bytes.data()), m_end(bytes.data() + bytes.size()), m_atEnd(true)
{
}

LineReader::LineReader(ReadFunction read, qint64 sizeHint, ReuseFunction beforeReuse,
                       SkipZerosFunction skipZeros)
    : m_read(std::move(read)), m_beforeReuse(std::move(beforeReuse)),
      m_skipZeros(std::move(skipZeros))
{
    // One more byte than the hint, so a file read whole still sees its end in the first read.
    m_capacity = sizeHint < 0 ? FirstBuffer
                              : std::clamp<qsizetype>(sizeHint + 1, FirstBuffer, LargestBuffer);
    m_buffer.reset(new char[m_capacity]);
    m_at = m_end = m_buffer.get();
}

LineReader::~LineReader() = default;

const Line *LineReader::firstLine(qsizetype length)
{
    Q_ASSERT(m_lineNumber == 0 && length <= KeptLength);
    // Only as much is read as the start of the line needs; a read may bring more.
    while (!m_atEnd && m_end - m_at < length) {
        char *fresh = m_buffer.get() + (m_end - m_buffer.get());
        const qint64 got = m_read(fresh, m_capacity - (fresh - m_buffer.get()));
        if (got < 0) {
            return readFailed();
        }
        m_atEnd = got == 0;
        m_end = fresh + got;
    }
    if (m_at == m_end) {
        return nullptr;
    }
    const char *end = scanLine(m_at, m_end, m_line);
    if (end != m_end) {
        return handOut(end, length);
    }
    const char *begin = m_at;
    m_at = m_end;
    ++m_lineNumber;
    // Its end is still to come: next() skips to it.
    m_skippingRest = !m_atEnd;
    return cut(begin, m_end, length);
}

const Line *LineReader::readFailed()
{
    m_failed = true;
    m_atEnd = true;
    m_at = m_end;
    return nullptr;
}

const Line *LineReader::nextAcrossReads()
{
    for (;;) {
        // [m_at, m_end) is the start of a line whose end has not been read yet.
        if (m_atEnd) {
            if (m_at == m_end) {
                return nullptr;
            }
            const char *begin = m_at;
            m_at = m_end;
            ++m_lineNumber;
            return cut(begin, m_end); // scanned before the last read told of the end
        }
        // Only as much of the line as the format looks at is kept; the next read lands
        // behind it and the rest of the line is passed over.
        char *buffer = m_buffer.get();
        if (m_beforeReuse) {
            m_beforeReuse(QByteArrayView(buffer, m_end - buffer));
        }
        const qsizetype kept = m_skippingRest ? 0 : std::min<qsizetype>(m_end - m_at, KeptLength);
        if (kept > 0 && m_at != buffer) {
            std::memmove(buffer, m_at, size_t(kept));
        }
        if (m_capacity - kept < m_capacity / 2 && m_capacity < LargestBuffer) {
            const qsizetype capacity = std::min(2 * m_capacity, LargestBuffer);
            std::unique_ptr<char[]> grown(new char[capacity]);
            std::memcpy(grown.get(), buffer, size_t(kept));
            m_buffer = std::move(grown);
            m_capacity = capacity;
            buffer = m_buffer.get();
        }
        // From here to the line end nothing is kept: what needs no reading is passed over.
        if (m_skipZeros && (m_skippingRest || kept == KeptLength)) {
            m_skipZeros();
        }
        char *fresh = buffer + kept;
        const qint64 got = m_read(fresh, m_capacity - kept);
        m_at = buffer;
        m_end = fresh;
        if (got < 0) {
            return readFailed();
        }
        if (got == 0) {
            m_atEnd = true;
            continue;
        }
        m_end = fresh + got;
        if (m_crPending) {
            m_crPending = false;
            if (*fresh == '\n') {
                ++m_at; // nothing was kept: the last line ended with the CR
            }
        }
        if (m_skippingRest) {
            Line rest;
            const char *end = scanLine(fresh, m_end, rest);
            if (end == m_end) {
                m_at = m_end;
                continue;
            }
            m_skippingRest = false;
            stepPastLineEnd(end);
        }
        const char *end = scanLine(m_at, m_end, m_line);
        if (end != m_end) {
            return handOut(end);
        }
    }
}
