#pragma once

#include "db/RowSet.h"

#include <QString>
#include <QtGlobal>
#include <optional>

namespace db {

// The whole number a stored code stands for, as the server converts a text
// to an integer: blanks around, an optional sign and digits only. Nothing
// for any other text ("S001", "12.5", "*").
std::optional<qlonglong> WholeNumber(const QString& code);

// The highest whole number among the codes in the first column of `rows`,
// plus one; codes that stand for no whole number are passed over, and 1
// comes back when none does. `ignoredLetter` is removed from each code
// first, without regard to case (the item codes' "P").
qlonglong HighestWholeNumberPlusOne(const RowSet& rows, const QString& ignoredLetter = QString());

} // namespace db
