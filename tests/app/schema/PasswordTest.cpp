// Password hashes: case folding of A-Z only, salted hashes, and clear passwords of older
// databases.
#include "app/schema/Password.h"

#include <gtest/gtest.h>

#include <sodium.h>

using qx::app::PasswordCheck;
using qx::app::foldPasswordCase;
using qx::app::hashPassword;
using qx::app::isPasswordHash;
using qx::app::verifyPassword;

TEST(Password, FoldsOnlyAsciiLetters)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"", ""},
        {"abcXYZ", "ABCXYZ"},
        {"a1-b_2", "A1-B_2"},
        {"äöü", "äöü"},            // letters beyond A-Z must match exactly
        {"ｂ口令z", "ｂ口令Z"},      // so must full-width letters
    };
    for (const Case& c : cases)
        EXPECT_EQ(foldPasswordCase(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(Password, HashVerifiesWithoutCaseOfAToZ)
{
    const QString stored = hashPassword(QStringLiteral("Shop8x"));
    EXPECT_TRUE(isPasswordHash(stored));
    EXPECT_LE(stored.size(), 127);  // fits t_UserDB.Password, TEXT(128)

    struct Case { const char* typed; PasswordCheck expected; };
    const Case cases[] = {
        {"Shop8x", PasswordCheck::Match},
        {"SHOP8X", PasswordCheck::Match},
        {"shop8x", PasswordCheck::Match},
        {"Shop8", PasswordCheck::Mismatch},
        {"Shop8x ", PasswordCheck::Mismatch},
        {"", PasswordCheck::Mismatch},
    };
    for (const Case& c : cases)
        EXPECT_EQ(verifyPassword(stored, QString::fromUtf8(c.typed)), c.expected) << c.typed;
}

TEST(Password, NonAsciiLettersKeepTheirCase)
{
    const QString stored = hashPassword(QStringLiteral("ä口令"));
    EXPECT_EQ(verifyPassword(stored, QStringLiteral("ä口令")), PasswordCheck::Match);
    EXPECT_EQ(verifyPassword(stored, QStringLiteral("Ä口令")), PasswordCheck::Mismatch);
}

TEST(Password, EmptyPasswordHashVerifiesOnlyEmpty)
{
    const QString stored = hashPassword(QString());
    EXPECT_EQ(verifyPassword(stored, QString()), PasswordCheck::Match);
    EXPECT_EQ(verifyPassword(stored, QStringLiteral("x")), PasswordCheck::Mismatch);
    EXPECT_EQ(verifyPassword(stored, QStringLiteral(" ")), PasswordCheck::Mismatch);
}

TEST(Password, HashesAreSalted)
{
    const QString first = hashPassword(QStringLiteral("same"));
    const QString second = hashPassword(QStringLiteral("same"));
    EXPECT_NE(first, second);
    EXPECT_EQ(verifyPassword(first, QStringLiteral("SAME")), PasswordCheck::Match);
    EXPECT_EQ(verifyPassword(second, QStringLiteral("same")), PasswordCheck::Match);
}

TEST(Password, ClearPasswordsOfOlderDatabasesMatchAndAskForTheHash)
{
    struct Case { const char* stored; const char* typed; PasswordCheck expected; };
    const Case cases[] = {
        {"secret", "secret", PasswordCheck::MatchNeedsRehash},
        {"secret", "SeCrEt", PasswordCheck::MatchNeedsRehash},
        {"SECRET", "secret", PasswordCheck::MatchNeedsRehash},
        {"secret", "secret1", PasswordCheck::Mismatch},
        {"secret", "", PasswordCheck::Mismatch},
        {"", "", PasswordCheck::MatchNeedsRehash},   // a new operator without password
        {"", "a", PasswordCheck::Mismatch},
        {"口令ä", "口令ä", PasswordCheck::MatchNeedsRehash},
        {"口令ä", "口令Ä", PasswordCheck::Mismatch},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(isPasswordHash(QString::fromUtf8(c.stored))) << c.stored;
        EXPECT_EQ(verifyPassword(QString::fromUtf8(c.stored), QString::fromUtf8(c.typed)), c.expected)
            << c.stored << " / " << c.typed;
    }
    // A null column reads as the empty password.
    EXPECT_EQ(verifyPassword(QString(), QString()), PasswordCheck::MatchNeedsRehash);
}

TEST(Password, HashWithOlderLimitsAsksForANewHash)
{
    ASSERT_GE(sodium_init(), 0);
    char weak[crypto_pwhash_STRBYTES];
    const char folded[] = "ABC";
    ASSERT_EQ(crypto_pwhash_str(weak, folded, 3, crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN), 0);
    const QString stored = QString::fromLatin1(weak);
    EXPECT_EQ(verifyPassword(stored, QStringLiteral("abc")), PasswordCheck::MatchNeedsRehash);
    EXPECT_EQ(verifyPassword(stored, QStringLiteral("abd")), PasswordCheck::Mismatch);
}

TEST(Password, DamagedHashNeverMatches)
{
    const QString good = hashPassword(QString());
    const QString damaged[] = {
        QStringLiteral("$argon2id$"),
        good.left(good.size() - 5),
        good + QString(200, QLatin1Char('A')),
    };
    for (const QString& stored : damaged)
        EXPECT_EQ(verifyPassword(stored, QString()), PasswordCheck::Mismatch) << stored.toStdString();
}
