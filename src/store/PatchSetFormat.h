// The pieces of the patch set file format that the reader and the writer share: the header,
// the block markers, the key names as the writer spells them, and the limits the reader
// enforces. Keys and markers are matched without regard to case when read; these spellings
// are what gets written. Used by the reader (with its line reader and key classifier), the
// writer and the list of an entry's fields (EntryFields.h).
#pragma once

#include <QtGlobal>

namespace PatchSetFormat {

inline constexpr char HeaderKeyword[] = "TAVRO=";
inline constexpr char WrittenVersion[] = "0.3";
inline constexpr char LineEnd[] = "\r\n";

// The header keeps at most this many characters after "TAVRO=" as the version.
inline constexpr int VersionLength = 10;

// Block numbers index the table; a larger one would let a tiny file demand a huge table.
inline constexpr int MaxBlockNumber = 32767;

// A saved set numbers its entries by position from block 0, so a table longer than this
// would save to a file that no load takes back; the writer refuses it and the copies into
// DEST stop short of it.
inline constexpr int MaxEntries = MaxBlockNumber + 1;

// Longer values are cut to this length before anything else is done with them.
inline constexpr int MaxValueLength = 60000;

// The "=" that ends a key must lie within this many characters of the line.
inline constexpr int MaxKeyLength = 255;

// No rule looks further into a line than the longest key, the "=" and the longest value, so
// the rest of a longer line is skipped as it is read: a file without line ends costs no
// more memory than a short one.
inline constexpr int MaxLineLength = MaxKeyLength + 1 + MaxValueLength;

// Parameter texts read from a pipe line keep at most this many characters.
inline constexpr int MaxPipeTextLength = 50;

// A block is a begin line, body lines and an end line; each marker is followed by a space
// and the block number when written, and only its first four characters count when read.
inline constexpr char BeginMarker[] = "/bgn";
inline constexpr char EndMarker[] = "/end";
inline constexpr int MarkerLength = 4;

inline constexpr char KeyOmnipresence[] = "Omnipresence";
inline constexpr char KeyName[] = "Name";
inline constexpr char KeyDescription[] = "Description";
inline constexpr char KeyRequiresRemap[] = "RequiresRemap";
inline constexpr char KeyRequiresYiff[] = "RequiresYiff";
inline constexpr char KeyRequiresPart[] = "RequiresPart";
inline constexpr char KeyRequiresSave[] = "RequiresSave";
inline constexpr char KeyDependencies[] = "Dependencies";
inline constexpr char KeyCondBehave[] = "CondBehave";

// Data keys are these prefixes followed by the slot number.
inline constexpr char KeyOffffset[] = "Offffset";
inline constexpr char KeyDeflData[] = "DeflData";
inline constexpr char KeyModNData[] = "ModNData";
inline constexpr char KeyModRData[] = "ModRData";
inline constexpr int DataKeyPrefixLength = 8;

// Pipe keys ("slot|text"), the parameter syntax of every version above 0.1.
inline constexpr char KeyBambi[] = "bambi";     // existence
inline constexpr char KeyRonno[] = "ronno";     // offsetka
inline constexpr char KeyGprince[] = "gprince"; // parametervalka
inline constexpr char KeyFaline[] = "faline";   // parameternamka
inline constexpr char KeyMena[] = "mena";       // parametertypka

// Single-parameter keys of version "0.1", all aimed at parameter slot 0; never written.
inline constexpr char KeyEnableParameter[] = "enableparameter";
inline constexpr char KeyParameterOffset[] = "parameteroffset";
inline constexpr char KeyParameterValue[] = "parametervalue";
inline constexpr char KeyParameterName[] = "parametername";
inline constexpr char KeyParameterType[] = "parametertype";

} // namespace PatchSetFormat
