#pragma once

#include "admin/CsvReader.h"
#include "db/Connection.h"

#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <optional>

namespace admin {

// What a site's first records come from: comma-separated files with a
// header row naming the columns (ImportColumnsHelp lists them per kind).
// The reference tables of the item records come first, then the records
// that refer to them.
enum class ImportKind {
    Terms, Suppliers, Units, Classifications, GenericClasses, Generics, Locations, Items, Stock, Kits, Users
};

std::optional<ImportKind> ImportKindNamed(const QString& name);
QString ImportKindName(ImportKind kind);

// How far an import has come: the rows read from the file, checked, and
// the share of what is to be written that is.
struct ImportProgress {
    qsizetype read = 0;
    qsizetype checked = 0;
    qsizetype written = 0;
    qsizetype toWrite = 0;   // statements, once the rows are checked
};

struct ImportOptions {
    bool dryRun = false;     // check every row, write nothing
    bool update = false;     // a code that exists is updated instead of refused
    // Told now and then how far the import has come, and at the end of
    // each step.
    std::function<void(const ImportProgress&)> progress = {};
};

// The progress in a line: "1200 rows read, 800 checked".
QString DescribeProgress(const ImportProgress& progress);

// Shows an import's progress on one line of a terminal, written over as it
// changes and cleared at the end; writes nothing at all when the stream is
// no terminal (a log file, a pipe).
class ProgressLine {
public:
    explicit ProgressLine(std::FILE* stream);
    ProgressLine(std::FILE* stream, bool terminal);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(const ImportProgress& progress);
    // Clears the line, so that what follows starts on a clean one.
    void Clear();
    // Show, as ImportOptions::progress takes it.
    std::function<void(const ImportProgress&)> Reporter();

private:
    std::FILE* stream_;
    bool terminal_;
    QString shown_;
};

struct ImportSummary {
    int added = 0;
    int updated = 0;
    // Imported users that have no password yet, in file order.
    QStringList withoutPassword;
};

// Checks every record, then writes them all in one transaction, or none:
// when any row is bad, throws AdminError listing each bad row with its line
// and reason. The first record is the header.
ImportSummary ImportRecords(db::Connection& connection, ImportKind kind, const QVector<CsvRecord>& records,
                            const ImportOptions& options);
ImportSummary ImportFile(db::Connection& connection, ImportKind kind, const QString& csvPath,
                         const ImportOptions& options);

// The operator's lines after an import (or a dry run) of `target`.
QString DescribeImport(ImportKind kind, const ImportSummary& summary, const ImportOptions& options,
                       const QString& target);

// The columns of each kind, which are required and their defaults, as the
// usage text shows them.
QString ImportColumnsHelp();

} // namespace admin
