// The reader's key classifier: which field of an entry (EntryFields) the key of a body line
// names, and how its value is written, plus the case folding that keys, the header and the
// block markers share, since all are matched without regard to case. The reader calls it once
// per body line, so it decides by the first letter and at most two word compares, and it
// lives in this header alone: only the reader includes it, and the classifier has internal
// linkage, so the compiler folds it into the reader's line loop. A call per line would cost
// the reader about a twentieth of its time.
#pragma once

#include "EntryFields.h"

#include <QByteArrayView>

#include <cstring>
#include <type_traits>

namespace KeyClassifier {

// How the value of a key is written, and so how the reader takes it apart.
enum class Syntax : quint8 {
    None,   // no key the reader knows: the line asks for nothing
    Entry,  // "Name=value": a field of the entry itself
    Data,   // "Offffset07=value": a data slot text, the slot number right after the key
    Pipe,   // "ronno=7|value": a parameter slot member, in versions above 0.1
    Single, // "parametervalue=value": a member of parameter slot 0, in version "0.1" only
};

struct Classified
{
    Syntax syntax = Syntax::None;
    const EntryField *field = nullptr; // where the value goes; null for Syntax::None
};

inline char toLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

// True when `text` starts with `name` in any case; for the header and the block markers.
template<qsizetype N>
bool startsWithAnyCase(QByteArrayView text, const char (&name)[N])
{
    if (text.size() < N - 1) {
        return false;
    }
    for (qsizetype i = 0; i < N - 1; ++i) {
        if (toLower(text[i]) != toLower(name[i])) {
            return false;
        }
    }
    return true;
}

namespace { // internal linkage on purpose: see the top of this file

using namespace PatchSetFormat;

// Compares one word (4 or 8 bytes) of `text` and `name` in any case, given that `name` holds
// letters only: for a letter, setting bit 0x20 folds exactly its two cases together.
template<typename Word>
bool lettersEqual(const char *text, const char *name)
{
    constexpr Word Fold = Word(0x2020202020202020);
    Word got;
    Word wanted;
    std::memcpy(&got, text, sizeof got);
    std::memcpy(&wanted, name, sizeof wanted);
    return (got | Fold) == (wanted | Fold);
}

// True when `text` (at least as long as `name`) starts with the key `name` in any case.
// Every key is 4 to 16 letters long, so two words, overlapping where needed, cover it.
template<qsizetype N>
bool startsWithKey(const char *text, const char (&name)[N])
{
    constexpr qsizetype Length = N - 1;
    static_assert(Length >= 4 && Length <= 16, "keys are 4 to 16 letters long");
    using Word = std::conditional_t<(Length >= 8), quint64, quint32>;
    constexpr qsizetype Last = Length - qsizetype(sizeof(Word));
    return lettersEqual<Word>(text, name) && lettersEqual<Word>(text + Last, name + Last);
}

template<qsizetype N>
bool keyIs(QByteArrayView key, const char (&name)[N])
{
    return key.size() == N - 1 && startsWithKey(key.data(), name);
}

// Every key the reader knows. The entry, data and pipe key sets do not overlap, so one lookup
// by first letter and length finds the only candidate. The entry, data and pipe keys come in
// the order of EntryFields::all, the single-parameter keys in the order of its parameter
// fields, so a key finds its field by position.
enum class Key {
    None,
    Omnipresence,
    Name,
    Description,
    RequiresRemap,
    RequiresYiff,
    RequiresPart,
    RequiresSave,
    Dependencies,
    CondBehave,
    Offffset, // the data keys: a prefix, then the slot number
    DeflData,
    ModNData,
    ModRData,
    Bambi, // the pipe keys of versions above 0.1
    Ronno,
    Gprince,
    Faline,
    Mena,
    EnableParameter, // the single-parameter keys of version "0.1"
    ParameterOffset,
    ParameterValue,
    ParameterName,
    ParameterType,
};

Key keyOf(QByteArrayView key)
{
    if (key.isEmpty()) {
        return Key::None;
    }
    const bool longEnough = key.size() >= DataKeyPrefixLength;
    const char *text = key.data();
    // Setting bit 0x20 lowers a letter and turns nothing else into one.
    switch (text[0] | 0x20) {
    case 'b':
        return keyIs(key, KeyBambi) ? Key::Bambi : Key::None;
    case 'c':
        return keyIs(key, KeyCondBehave) ? Key::CondBehave : Key::None;
    case 'd':
        if (longEnough && startsWithKey(text, KeyDeflData)) {
            return Key::DeflData;
        }
        if (keyIs(key, KeyDescription)) {
            return Key::Description;
        }
        return keyIs(key, KeyDependencies) ? Key::Dependencies : Key::None;
    case 'e':
        return keyIs(key, KeyEnableParameter) ? Key::EnableParameter : Key::None;
    case 'f':
        return keyIs(key, KeyFaline) ? Key::Faline : Key::None;
    case 'g':
        return keyIs(key, KeyGprince) ? Key::Gprince : Key::None;
    case 'm':
        if (longEnough && startsWithKey(text, KeyModNData)) {
            return Key::ModNData;
        }
        if (longEnough && startsWithKey(text, KeyModRData)) {
            return Key::ModRData;
        }
        return keyIs(key, KeyMena) ? Key::Mena : Key::None;
    case 'n':
        return keyIs(key, KeyName) ? Key::Name : Key::None;
    case 'o':
        if (longEnough && startsWithKey(text, KeyOffffset)) {
            return Key::Offffset;
        }
        return keyIs(key, KeyOmnipresence) ? Key::Omnipresence : Key::None;
    case 'p':
        if (keyIs(key, KeyParameterOffset)) {
            return Key::ParameterOffset;
        }
        if (keyIs(key, KeyParameterValue)) {
            return Key::ParameterValue;
        }
        if (keyIs(key, KeyParameterName)) {
            return Key::ParameterName;
        }
        return keyIs(key, KeyParameterType) ? Key::ParameterType : Key::None;
    case 'r':
        if (keyIs(key, KeyRonno)) {
            return Key::Ronno;
        }
        if (keyIs(key, KeyRequiresRemap)) {
            return Key::RequiresRemap;
        }
        if (keyIs(key, KeyRequiresYiff)) {
            return Key::RequiresYiff;
        }
        if (keyIs(key, KeyRequiresPart)) {
            return Key::RequiresPart;
        }
        return keyIs(key, KeyRequiresSave) ? Key::RequiresSave : Key::None;
    default:
        return Key::None;
    }
}

constexpr const EntryField &fieldOf(Key key)
{
    return key >= Key::EnableParameter
        ? EntryFields::parameterSlot.first[int(key) - int(Key::EnableParameter)]
        : EntryFields::all[int(key) - int(Key::Omnipresence)];
}

// The first and the last key of each kind: a key added to one list but not the other shifts
// one of these.
static_assert(fieldOf(Key::Omnipresence).key == KeyOmnipresence);
static_assert(fieldOf(Key::CondBehave).key == KeyCondBehave);
static_assert(fieldOf(Key::Offffset).key == KeyOffffset);
static_assert(fieldOf(Key::ModRData).key == KeyModRData);
static_assert(fieldOf(Key::Bambi).key == KeyBambi);
static_assert(fieldOf(Key::Mena).key == KeyMena);
static_assert(fieldOf(Key::EnableParameter).key == KeyBambi);
static_assert(fieldOf(Key::ParameterType).key == KeyMena);

// `key` is what stands before the "=" (or the whole key part of a line without one). A data
// key is matched on its prefix alone: whatever follows it is the slot number.
Classified classify(QByteArrayView key)
{
    const Key found = keyOf(key);
    if (found == Key::None) {
        return {};
    }
    Syntax syntax = Syntax::Entry;
    if (found >= Key::EnableParameter) {
        syntax = Syntax::Single;
    } else if (found >= Key::Bambi) {
        syntax = Syntax::Pipe;
    } else if (found >= Key::Offffset) {
        syntax = Syntax::Data;
    }
    return {syntax, &fieldOf(found)};
}

} // namespace

} // namespace KeyClassifier
