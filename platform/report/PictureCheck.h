// Checks the bytes of a page picture before it is played.
//
// Pages read from a file are untrusted. Qt plays a picture by reading its records and
// believes the counts it finds there (a polygon of four billion points is reserved before a
// point is read), so a damaged or hostile page could crash the player or make it allocate far
// more than the file holds. This check walks every record of the picture format this build
// writes, accepts only the kinds of record a page can contain, and checks every count, length,
// nesting and value against the bytes that are really there. A page that passes plays within
// the bounds of its own size.
#pragma once

#include <QString>

namespace qx::report {

// True when data holds a page picture of this build's format that is safe to play; otherwise
// false, with the reason in *why when given.
bool checkPictureData(const char* data, qsizetype size, QString* why = nullptr);

} // namespace qx::report
