#pragma once

#include "admin/CsvReader.h"
#include "db/Connection.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace admin {

// What a site's first records come from: comma-separated files with a
// header row naming the columns (ImportColumnsHelp lists them per kind).
enum class ImportKind { Locations, Items, Stock, Kits, Users };

std::optional<ImportKind> ImportKindNamed(const QString& name);
QString ImportKindName(ImportKind kind);

struct ImportOptions {
    bool dryRun = false;     // check every row, write nothing
    bool update = false;     // a code that exists is updated instead of refused
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
