#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace admin {

// One record of a comma-separated file: its fields, and the line of the file
// it starts on (counted from 1; a quoted field may run over several lines).
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// How a file that is not UTF-8 text is saved as such.
inline const QString kSaveAsUtf8 =
    QStringLiteral("Save it as UTF-8, or from a spreadsheet as \"CSV UTF-8 (Comma delimited)\".");

// Reads comma-separated text as spreadsheets write it: fields in double
// quotes may hold commas, line breaks and doubled quotes; lines end in LF or
// CRLF; a leading byte-order mark is dropped. Blank lines are skipped.
// Throws AdminError for a quoted field that never ends, text after a
// closing quote, or lines that end in CR alone. `read`, when given, is told
// the records read so far now and then, and at the end.
using RecordsRead = std::function<void(qsizetype records)>;
QVector<CsvRecord> ReadCsv(QStringView text, const RecordsRead& read = {});

// The file as UTF-8 text, read by ReadCsv. Throws AdminError when it cannot
// be read or is no UTF-8 (naming the first line that is not, or UTF-16),
// saying how to save it.
QVector<CsvRecord> ReadCsvFile(const QString& path, const RecordsRead& read = {});

} // namespace admin
