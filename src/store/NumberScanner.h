// Numbers as the patch set reader finds them in the bytes of a line, converted in place:
// number values (0 to 255 for the byte members), numeric prefixes (block and slot numbers),
// slot numbers as the writer spells them, and the version test. Only the reader and its key
// classifier call these; the reader's tests pin every rule.
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace NumberScanner {

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One or two plain digits, as slot numbers are written, or -1 for any other text, which the
// caller then reads by its general rule (number or prefix): this way costs no scan, and
// nearly every slot number read takes it. Inline, since the reader asks once per slot line.
inline int plainSlotNumber(QByteArrayView text)
{
    if (text.size() == 2 && isDigit(text[0]) && isDigit(text[1])) {
        return (text[0] - '0') * 10 + (text[1] - '0');
    }
    if (text.size() == 1 && isDigit(text[0])) {
        return text[0] - '0';
    }
    return -1;
}

// A number value: the whole text must be a decimal number, spaces around it allowed (values
// keep their trailing spaces), a fraction rounded half to even. No sign, exponent or
// hexadecimal form: "+1", "1e2" and "0x10" are not numbers, so a hand-edited typo fails
// loudly instead of storing a surprise. Nothing for a text that is no number.
std::optional<qint64> number(QByteArrayView text);

// A number value that fits a byte member (0 to 255), or nothing.
std::optional<quint8> byteValue(QByteArrayView text);

// A numeric prefix: leading spaces, an optional sign, a decimal number rounded half to even;
// whatever follows is ignored and no number at all reads as 0. Large numbers saturate far
// above every limit instead of wrapping round into range.
qint64 prefix(QByteArrayView text);

// Whether the leading number of a version text is above 0.1, decided on the digits so that
// "0.1" itself never creeps over through binary fractions.
bool versionAboveOneTenth(QByteArrayView version);

} // namespace NumberScanner
