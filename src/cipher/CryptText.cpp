#include "cipher/CryptText.h"

#include <QList>

#include <stdexcept>

namespace cipher {

namespace {

constexpr int kSeed = 91;        // written as the first pair, "5B"
constexpr int kModulus = 255;    // not 256: codes 0 and 255 collide
constexpr int kMaxLength = 32767;  // the stored form was built with 16-bit counters

// The characters of the Windows Western code page that lie outside Latin-1,
// with their byte values. Stored passwords were enciphered from that code
// page, so a typed "€" must count as 0x80 to match what is stored.
struct CodePageExtra {
    char16_t unicode;
    unsigned char code;
};
constexpr CodePageExtra kCodePageExtras[] = {
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
    {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
    {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
    {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
    {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
    {0x017E, 0x9E}, {0x0178, 0x9F},
};

constexpr int kUnknownCode = -1;

// The single-byte code of a character in the code page; kUnknownCode for a
// character outside it.
int CodePageCode(QChar c)
{
    const char16_t u = c.unicode();
    if (u <= 0xFF)
        return u;
    for (const CodePageExtra& extra : kCodePageExtras) {
        if (extra.unicode == u)
            return extra.code;
    }
    return kUnknownCode;
}

// The single-byte code of a character. Latin-1 characters are their own
// code; the code page's extra characters map to their bytes; anything else
// becomes "?", as the single-byte conversion of the platform did.
int CodeOf(QChar c)
{
    const int code = CodePageCode(c);
    return code == kUnknownCode ? '?' : code;
}

// Cycles through the key from its first character, positions from 1.
class KeyWheel {
public:
    explicit KeyWheel(const QString& key) : key_(key) {}
    int Next()
    {
        position_ = position_ < key_.size() ? position_ + 1 : 1;
        return CodeOf(key_.at(position_ - 1));
    }

private:
    const QString& key_;
    qsizetype position_ = 0;
};

void RequireKey(const QString& key)
{
    if (key.isEmpty())
        throw std::invalid_argument("CryptText: the key is empty");
}

// Upper-case hexadecimal, right-aligned in two positions with a blank.
QString HexPair(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char(' ')).toUpper();
}

// The value of a pair: blanks stripped, then its leading hexadecimal digits;
// a pair with none (corrupt input) reads as 0.
int PairValue(const QString& pair)
{
    int value = 0;
    for (const QChar c : pair.trimmed()) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= '0' && u <= '9')
            digit = u - '0';
        else if (u >= 'A' && u <= 'F')
            digit = u - 'A' + 10;
        else if (u >= 'a' && u <= 'f')
            digit = u - 'a' + 10;
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

QString Encipher(const QString& key, const QString& text)
{
    QString out = HexPair(kSeed);
    if (text.isEmpty())
        return out;
    RequireKey(key);
    KeyWheel wheel(key);
    int prev = kSeed;
    for (const QChar c : text) {
        const int v = ((CodeOf(c) + prev) % kModulus) ^ wheel.Next();
        out += HexPair(v);
        prev = v;
    }
    return out;
}

// Deciphered characters come back as Latin-1, so every code 1..254 returns
// the character it came from.
QString Decipher(const QString& key, const QString& text)
{
    QString out;
    if (text.size() <= 2)
        return out;
    RequireKey(key);
    KeyWheel wheel(key);
    int prev = PairValue(text.left(2));
    for (qsizetype j = 2; j < text.size(); j += 2) {
        const int v = PairValue(text.mid(j, 2));
        const int x = v ^ wheel.Next();
        const int p = x <= prev ? x + kModulus - prev : x - prev;
        out += QChar(char16_t(p));
        prev = v;
    }
    return out;
}

} // namespace

QString CryptText(const QString& mode, const QString& key, const QString& text)
{
    const bool encipher = mode == QLatin1String("E");
    if (!encipher && mode != QLatin1String("D"))
        return QString();
    if (text.size() >= kMaxLength || key.size() > kMaxLength)
        throw std::overflow_error("CryptText: text or key too long");
    return encipher ? Encipher(key, text) : Decipher(key, text);
}

QString EncipherPassword(const QString& password)
{
    return CryptText(QStringLiteral("E"), QStringLiteral("QUENTAVIXLORM"), password);
}

// By code point: a character beyond the 16-bit range is two halves in the
// text, each of which the cipher turns into "?".
QString CharactersNotEnciphered(const QString& text)
{
    QString found;
    for (const uint c : text.toUcs4()) {
        const bool kept = c <= 0xFFFF && CodePageCode(QChar(char16_t(c))) != kUnknownCode;
        const QString character = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        if (!kept && !found.contains(character))
            found += character;
    }
    return found;
}

} // namespace cipher
