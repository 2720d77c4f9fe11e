#include "cipher/CryptText.h"

#include <gtest/gtest.h>

#include <stdexcept>

using cipher::CryptText;

namespace {

const QString kKey = QStringLiteral("QUENTAVIXLORM");

QString Latin1(std::initializer_list<int> codes)
{
    QString text;
    for (int code : codes)
        text += QChar(char16_t(code));
    return text;
}

struct Case {
    const char* name;
    QString mode;
    QString key;
    QString text;
    QString expected;
};

} // namespace

TEST(CryptText, Cases)
{
    // "ABC" by hand, prev starting at 0x5B and the key Q=0x51, U=0x55, E=0x45:
    //   A: (0x41 + 0x5B) mod 255 = 0x9C, ^ 0x51 = 0xCD
    //   B: (0x42 + 0xCD) mod 255 = 0x10, ^ 0x55 = 0x45
    //   C: (0x43 + 0x45) mod 255 = 0x88, ^ 0x45 = 0xCD
    // "EN0" ends in 0x45 ^ 0x45 = 0, written " 0"; "IZA" gives 5 and 3.
    const Case cases[] = {
        {"empty text enciphers to the seed", "E", kKey, "", "5B"},
        {"empty text deciphers to nothing", "D", kKey, "", ""},
        {"seed alone deciphers to nothing", "D", kKey, "5B", ""},
        {"empty text needs no key", "E", "", "", "5B"},
        {"a seed needs no key", "D", "", "5B", ""},
        {"lower-case e is no mode", "e", kKey, "ABC", ""},
        {"lower-case d is no mode", "d", kKey, "5BCD45CD", ""},
        {"other mode", "EN", kKey, "ABC", ""},
        {"worked example", "E", kKey, "ABC", "5BCD45CD"},
        {"worked example back", "D", kKey, "5BCD45CD", "ABC"},
        {"zero written blank-padded", "E", kKey, "EN0", "5BF115 0"},
        {"values below 16 blank-padded", "E", kKey, "IZA", "5BF5 5 3"},
        {"blank-padded pairs read back", "D", kKey, "5BF5 5 3", "IZA"},
        {"odd length: last character is the last pair", "D", kKey, "5BF1150", "EN0"},
        {"outside Latin-1: code page byte", "E", kKey, QString(QChar(0x20AC)), CryptText("E", kKey, Latin1({0x80}))},
        {"outside Latin-1 and code page: question mark", "E", kKey, QString(QChar(0x03A9)), CryptText("E", kKey, "?")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CryptText(c.mode, c.key, c.text).toStdString(), c.expected.toStdString()) << c.name;
}

TEST(CryptText, KeyCyclesFromItsFirstCharacter)
{
    const QString text = QStringLiteral("PASSWORD1");
    EXPECT_EQ(CryptText("E", "AB", text), CryptText("E", "ABABABABA", text));
    EXPECT_EQ(CryptText("E", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", text), CryptText("E", "ABCDEFGHI", text));
    const QString enciphered = CryptText("E", "AB", text);
    EXPECT_EQ(CryptText("D", "AB", enciphered), text);
    EXPECT_EQ(CryptText("D", "ABABABABA", enciphered), text);
}

TEST(CryptText, EveryCodeFrom1To254RoundTrips)
{
    QString text;
    for (int code = 1; code <= 254; ++code)
        text += QChar(char16_t(code));
    for (const QString& key : {kKey, QStringLiteral("k"), Latin1({255, 1, 128})}) {
        const QString enciphered = CryptText("E", key, text);
        EXPECT_EQ(enciphered.size(), 2 + 2 * text.size());
        EXPECT_EQ(CryptText("D", key, enciphered), text) << key.toStdString();
    }
}

TEST(CryptText, Codes0And255Collide)
{
    // Both encipher alike; they come back as 255, or as 0 after an
    // enciphered 255 ("S" under key "Q" enciphers to 0xFF).
    EXPECT_EQ(CryptText("E", "Q", Latin1({0})), CryptText("E", "Q", Latin1({255})));
    EXPECT_EQ(CryptText("D", "Q", CryptText("E", "Q", Latin1({0}))), Latin1({255}));
    EXPECT_EQ(CryptText("E", "Q", "S"), "5BFF");
    EXPECT_EQ(CryptText("D", "Q", CryptText("E", "Q", Latin1({'S', 255}))), Latin1({'S', 0}));
}

TEST(CryptText, Failures)
{
    EXPECT_THROW(CryptText("E", "", "A"), std::invalid_argument);
    EXPECT_THROW(CryptText("D", "", "5BCD"), std::invalid_argument);
    EXPECT_THROW(CryptText("D", "", "5BC"), std::invalid_argument);

    const QString longest(32766, QLatin1Char('A'));
    EXPECT_NO_THROW(CryptText("E", kKey, longest));
    EXPECT_THROW(CryptText("E", kKey, longest + "A"), std::overflow_error);
    EXPECT_THROW(CryptText("D", kKey, longest + "A"), std::overflow_error);
    const QString longestKey(32767, QLatin1Char('K'));
    EXPECT_NO_THROW(CryptText("E", longestKey, "A"));
    EXPECT_THROW(CryptText("E", longestKey + "K", "A"), std::overflow_error);
}

TEST(CryptText, NamesEachCharacterItWouldStoreAsAQuestionMarkOnce)
{
    struct NamedCase { const char* text; const char* lost; };
    const NamedCase cases[] = {
        {"plain ASCII 1!", ""},
        {"päss-€Œ™", ""},                    // Latin-1 and the code page's own extras
        {"päss-пароль", "пароль"},
        {"ΩmegaΩ", "Ω"},
        {"a😀b😀c🙂", "😀🙂"},               // beyond 16 bits: one character, not its two halves
    };
    for (const NamedCase& c : cases)
        EXPECT_EQ(cipher::CharactersNotEnciphered(QString::fromUtf8(c.text)), QString::fromUtf8(c.lost)) << c.text;
    // Why it matters: such a password is stored as another one.
    EXPECT_EQ(cipher::EncipherPassword(QString::fromUtf8("päss-пароль")),
              cipher::EncipherPassword(QString::fromUtf8("päss-??????")));
}
