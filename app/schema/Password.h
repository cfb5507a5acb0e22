// Operators' passwords. t_UserDB.Password holds a salted Argon2 hash (libsodium's
// crypto_pwhash_str text, "$argon2id$...", at most 127 characters; the column is TEXT(128)) of
// the password with the ASCII letters a-z folded to A-Z. Folding before hashing keeps the
// login's comparison, which ignores the case of A-Z and nothing else.
//
// Databases made before the hashes hold the password in clear; such a password is still
// accepted when it matches, and the caller is told to replace it by its hash.
#pragma once

#include <QString>

namespace qx::app {

enum class PasswordCheck {
    Mismatch,         // wrong password
    Match,            // right password, stored hash is current
    MatchNeedsRehash  // right password, but stored in clear or with older limits: store
                      // hashPassword(typed) on every row of the operator
};

// The password with a-z folded to A-Z; every other character is kept as it is.
QString foldPasswordCase(const QString& password);

// True when the stored text is a hash written by hashPassword (not a clear password).
bool isPasswordHash(const QString& stored);

// A new salted hash of the password (interactive limits, a fraction of a second). Raises
// Exception when the hash cannot be computed (out of memory).
QString hashPassword(const QString& password);

// Checks the typed password against the stored text: a hash, or a clear password of an older
// database (an empty or null stored text is the empty password).
PasswordCheck verifyPassword(const QString& stored, const QString& typed);

} // namespace qx::app
