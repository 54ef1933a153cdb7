// The pieces of the patch set file format that the reader and the writer share: the header,
// the block markers, the key names as the writer spells them, and the limits the reader
// enforces. Keys and markers are matched without regard to case when read; these spellings
// are what gets written. Used by the reader (with its line reader and key classifier), the
// writer and the list of an entry's fields (EntryFields.h).
#pragma once

#include <QtGlobal>

namespace PatchSetFormat {

inline constexpr char headerKeyword[] = "TAVRO=";
inline constexpr char writtenVersion[] = "0.3";
inline constexpr char lineEnd[] = "\r\n";

// The header keeps at most this many characters after "TAVRO=" as the version.
inline constexpr int versionLength = 10;

// Block numbers index the table; a larger one would let a tiny file demand a huge table.
inline constexpr int maxBlockNumber = 32767;

// A saved set numbers its entries by position from block 0, so a table longer than this
// would save to a file that no load takes back; the writer refuses it and the copies into
// DEST stop short of it.
inline constexpr int maxEntries = maxBlockNumber + 1;

// Longer values are cut to this length before anything else is done with them.
inline constexpr int maxValueLength = 60000;

// The "=" that ends a key must lie within this many characters of the line.
inline constexpr int maxKeyLength = 255;

// No rule looks further into a line than the longest key, the "=" and the longest value, so
// the rest of a longer line is skipped as it is read: a file without line ends costs no
// more memory than a short one.
inline constexpr int maxLineLength = maxKeyLength + 1 + maxValueLength;

// Parameter texts read from a pipe line keep at most this many characters.
inline constexpr int maxPipeTextLength = 50;

// A block is a begin line, body lines and an end line; each marker is followed by a space
// and the block number when written, and only its first four characters count when read.
inline constexpr char beginMarker[] = "/bgn";
inline constexpr char endMarker[] = "/end";
inline constexpr int markerLength = 4;

inline constexpr char keyOmnipresence[] = "Omnipresence";
inline constexpr char keyName[] = "Name";
inline constexpr char keyDescription[] = "Description";
inline constexpr char keyRequiresRemap[] = "RequiresRemap";
inline constexpr char keyRequiresYiff[] = "RequiresYiff";
inline constexpr char keyRequiresPart[] = "RequiresPart";
inline constexpr char keyRequiresSave[] = "RequiresSave";
inline constexpr char keyDependencies[] = "Dependencies";
inline constexpr char keyCondBehave[] = "CondBehave";

// Data keys are these prefixes followed by the slot number.
inline constexpr char keyOffffset[] = "Offffset";
inline constexpr char keyDeflData[] = "DeflData";
inline constexpr char keyModNData[] = "ModNData";
inline constexpr char keyModRData[] = "ModRData";
inline constexpr int dataKeyPrefixLength = 8;

// Pipe keys ("slot|text"), the parameter syntax of every version above 0.1.
inline constexpr char keyBambi[] = "bambi";     // existence
inline constexpr char keyRonno[] = "ronno";     // offsetka
inline constexpr char keyGprince[] = "gprince"; // parametervalka
inline constexpr char keyFaline[] = "faline";   // parameternamka
inline constexpr char keyMena[] = "mena";       // parametertypka

// Single-parameter keys of version "0.1", all aimed at parameter slot 0; never written.
inline constexpr char keyEnableParameter[] = "enableparameter";
inline constexpr char keyParameterOffset[] = "parameteroffset";
inline constexpr char keyParameterValue[] = "parametervalue";
inline constexpr char keyParameterName[] = "parametername";
inline constexpr char keyParameterType[] = "parametertype";

} // namespace PatchSetFormat
