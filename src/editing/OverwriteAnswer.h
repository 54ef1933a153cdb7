// The answers to the question a copy asks before it overwrites a DEST entry of the same name.
// The editor asks it through the question the window gives it, and the window's dialog seam
// shows it; a test answers it from a list.
#pragma once

enum class OverwriteAnswer {
    Yes,      // overwrite this entry
    No,       // keep this entry
    YesToAll, // overwrite this one and every later namesake of the same copy, unasked
    NoToAll,  // keep this one and every later namesake of the same copy, unasked
    Cancel,   // keep this one and stop the copy here; what it already did stays
};
