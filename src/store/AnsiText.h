// Decoding of the 8-bit texts of patch set files for display. The files are written in the
// Windows-1252 code page; the store keeps their bytes unchanged and only the screen needs
// characters. Qt's own converters do not offer this code page without ICU, hence this table.
#pragma once

#include <QByteArray>
#include <QString>

// Every byte maps to one character; the five bytes that code page leaves undefined map
// to the control character of the same value, so no byte is ever lost or merged.
QString decodeAnsi(const QByteArray &bytes);
