// The two patch sets the program holds for its whole run, SRC (side Left, shown on the
// left) and DEST (side Right), with the path and header version of each side.
// Owned by the window; the load and save commands and the editing routines change it.
// Tables start empty; a load replaces one side as a whole, editing changes it in place.
#pragma once

#include "PatchEntry.h"
#include "Side.h"

#include <QByteArray>
#include <QString>

struct PatchSets
{
    PatchTable SrcTable;
    PatchTable DestTable;
    QString SrcPath;
    QString DestPath;
    QByteArray SrcVersion; // at most 10 characters, as the header had them
    QByteArray DestVersion;

    PatchTable &table(Side side) { return side == Side::Left ? SrcTable : DestTable; }
    const PatchTable &table(Side side) const { return side == Side::Left ? SrcTable : DestTable; }
    QString &path(Side side) { return side == Side::Left ? SrcPath : DestPath; }
    QByteArray &version(Side side) { return side == Side::Left ? SrcVersion : DestVersion; }
    const QByteArray &version(Side side) const
    {
        return side == Side::Left ? SrcVersion : DestVersion;
    }

    // Tables go last: the short fields tell most pairs apart first, and tables that share
    // their storage compare at once.
    friend bool operator==(const PatchSets &a, const PatchSets &b)
    {
        return a.SrcVersion == b.SrcVersion && a.DestVersion == b.DestVersion
            && a.SrcPath == b.SrcPath && a.DestPath == b.DestPath && a.SrcTable == b.SrcTable
            && a.DestTable == b.DestTable;
    }
    friend bool operator!=(const PatchSets &a, const PatchSets &b) { return !(a == b); }
};
