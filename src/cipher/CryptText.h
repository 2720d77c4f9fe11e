#pragma once

#include <QString>

namespace cipher {

// The suite's reversible keyed text cipher. Mode "E" enciphers into "5B"
// followed by one blank-padded upper-case hexadecimal pair per character;
// mode "D" deciphers; any other mode gives empty text.
// Throws std::invalid_argument for an empty key when there is anything to
// process, and std::overflow_error for a text of 32 767 characters or more
// or a key longer than 32 767 characters.
QString CryptText(const QString& mode, const QString& key, const QString& text);

// A password as the password database stores it: enciphered with the
// suite's password key.
QString EncipherPassword(const QString& password);

// The characters of a text that the cipher cannot tell apart (it enciphers
// each of them as "?"), each once, in the order they first appear. Empty
// when the cipher keeps every character.
QString CharactersNotEnciphered(const QString& text);

} // namespace cipher
