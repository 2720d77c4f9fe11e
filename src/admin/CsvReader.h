#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace admin {

// One record of a comma-separated file: its fields, and the line of the file
// it starts on (counted from 1; a quoted field may run over several lines).
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// Reads comma-separated text as spreadsheets write it: fields in double
// quotes may hold commas, line breaks and doubled quotes; lines end in LF or
// CRLF; a leading byte-order mark is dropped. Blank lines are skipped.
// Throws AdminError for a quoted field that never ends or text after a
// closing quote.
QVector<CsvRecord> ReadCsv(QStringView text);

// The file as UTF-8 text, read by ReadCsv. Throws AdminError when it cannot
// be read or is no UTF-8.
QVector<CsvRecord> ReadCsvFile(const QString& path);

} // namespace admin
