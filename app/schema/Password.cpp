#include "app/schema/Password.h"

#include "platform/rtl/Exceptions.h"

#include <sodium.h>

namespace qx::app {

namespace {

const char kHashPrefix[] = "$argon2";

void ensureSodium()
{
    // sodium_init is safe to call again and from several threads; 1 means "already done".
    if (sodium_init() < 0)
        throw Exception(QStringLiteral("口令加密库初始化失败"));
}

// The folded password as UTF-8 bytes, wiped from memory when it goes out of scope.
class SecretBytes
{
public:
    explicit SecretBytes(const QString& password)
        : m_bytes(foldPasswordCase(password).toUtf8())
    {}
    ~SecretBytes() { sodium_memzero(m_bytes.data(), size_t(m_bytes.size())); }
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;

    const char* data() const { return m_bytes.constData(); }
    unsigned long long size() const { return static_cast<unsigned long long>(m_bytes.size()); }

private:
    QByteArray m_bytes;
};

} // namespace

QString foldPasswordCase(const QString& password)
{
    QString folded = password;
    for (QChar& c : folded) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return folded;
}

bool isPasswordHash(const QString& stored)
{
    return stored.startsWith(QLatin1String(kHashPrefix));
}

QString hashPassword(const QString& password)
{
    ensureSodium();
    const SecretBytes secret(password);
    char hashed[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hashed, secret.data(), secret.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0) {
        throw Exception(QStringLiteral("口令加密失败：内存不足"));
    }
    return QString::fromLatin1(hashed);
}

PasswordCheck verifyPassword(const QString& stored, const QString& typed)
{
    if (isPasswordHash(stored)) {
        ensureSodium();
        const QByteArray hashed = stored.toLatin1();
        // A text longer than any hash libsodium writes is damaged, not a hash to parse.
        if (hashed.size() >= qsizetype(crypto_pwhash_STRBYTES))
            return PasswordCheck::Mismatch;
        const SecretBytes secret(typed);
        if (crypto_pwhash_str_verify(hashed.constData(), secret.data(), secret.size()) != 0)
            return PasswordCheck::Mismatch;
        if (crypto_pwhash_str_needs_rehash(hashed.constData(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                           crypto_pwhash_MEMLIMIT_INTERACTIVE)
            != 0) {
            return PasswordCheck::MatchNeedsRehash;
        }
        return PasswordCheck::Match;
    }
    // A clear password of an older database: the login's own comparison.
    if (foldPasswordCase(stored) == foldPasswordCase(typed))
        return PasswordCheck::MatchNeedsRehash;
    return PasswordCheck::Mismatch;
}

} // namespace qx::app
