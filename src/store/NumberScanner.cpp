#include "NumberScanner.h"

#include <algorithm>

using NumberScanner::isDigit;

namespace {

// Numbers saturate here: far above every limit, so an overlong number stays too large
// instead of wrapping round into range.
constexpr qint64 saturatedNumber = 1000000000;

const char *skipSpaces(const char *p, const char *end)
{
    while (p < end && *p == ' ') {
        ++p;
    }
    return p;
}

// Reads digits with an optional fraction ("12", "12.", "12.5", ".5") and rounds a half to
// the even neighbour. Returns the position after the number; `hasDigits` is false when
// there was no digit at all.
const char *scanDecimal(const char *p, const char *end, qint64 &rounded, bool &hasDigits)
{
    qint64 whole = 0;
    hasDigits = false;
    for (; p < end && isDigit(*p); ++p) {
        whole = std::min(whole * 10 + (*p - '0'), saturatedNumber);
        hasDigits = true;
    }
    if (p < end && *p == '.') {
        int firstFraction = -1;
        bool restNonZero = false;
        for (++p; p < end && isDigit(*p); ++p) {
            if (firstFraction < 0) {
                firstFraction = *p - '0';
            } else if (*p != '0') {
                restNonZero = true;
            }
            hasDigits = true;
        }
        const bool half = firstFraction == 5 && !restNonZero;
        if (firstFraction > 5 || (firstFraction == 5 && !half) || (half && (whole & 1))) {
            ++whole;
        }
    }
    rounded = whole;
    return p;
}

} // namespace

namespace NumberScanner {

std::optional<qint64> number(QByteArrayView text)
{
    const char *end = text.end();
    const char *p = skipSpaces(text.begin(), end);
    qint64 value = 0;
    bool hasDigits = false;
    p = skipSpaces(scanDecimal(p, end, value, hasDigits), end);
    if (!hasDigits || p != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<quint8> byteValue(QByteArrayView text)
{
    // The common case, one to three plain digits, without the general scan.
    const qsizetype size = text.size();
    if (size >= 1 && size <= 3) {
        int value = 0;
        bool digits = true;
        for (const char c : text) {
            digits = digits && isDigit(c);
            value = value * 10 + (c - '0');
        }
        if (digits) {
            return value <= 255 ? std::optional<quint8>(quint8(value)) : std::nullopt;
        }
    }
    const std::optional<qint64> value = number(text);
    if (!value || *value > 255) {
        return std::nullopt;
    }
    return quint8(*value);
}

qint64 prefix(QByteArrayView text)
{
    const char *end = text.end();
    const char *p = skipSpaces(text.begin(), end);
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    qint64 value = 0;
    bool hasDigits = false;
    scanDecimal(p, end, value, hasDigits);
    return negative ? -value : value;
}

bool versionAboveOneTenth(QByteArrayView version)
{
    const char *end = version.end();
    const char *p = skipSpaces(version.begin(), end);
    if (p < end && (*p == '-' || *p == '+')) {
        if (*p == '-') {
            return false;
        }
        ++p;
    }
    bool wholeNonZero = false;
    for (; p < end && isDigit(*p); ++p) {
        wholeNonZero = wholeNonZero || *p != '0';
    }
    if (wholeNonZero) {
        return true;
    }
    if (p == end || *p != '.') {
        return false;
    }
    ++p;
    if (p == end || !isDigit(*p) || *p == '0') {
        return false;
    }
    if (*p > '1') {
        return true;
    }
    for (++p; p < end && isDigit(*p); ++p) {
        if (*p != '0') {
            return true;
        }
    }
    return false;
}

} // namespace NumberScanner
