#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace db {

enum class ColumnType { Text, Integer, Float, Money, DateTime, Flag };

struct ColumnDef {
    QString name;
    ColumnType type = ColumnType::Text;
    int length = 0;          // text columns: the most characters stored
    bool nullable = true;
};

struct TableDef {
    QString database;        // "INVENTORY" or "Password"
    QString name;
    QVector<ColumnDef> columns;
    QStringList primaryKey;

    const ColumnDef* FindColumn(const QString& column) const;
};

struct IndexDef {
    QString name;
    QString table;
    // Columns, or expressions in the embedded database's SQL.
    QStringList columns;
    // An index on expressions that only the embedded database's
    // translation of the program's statements asks for.
    bool embeddedOnly = false;
};

// Every table and column the program reads or writes, described once. The
// embedded schema is generated from it and the statement translation asks it
// which columns hold text and which hold date-times. Names compare without
// regard to case, as on the server.
class Catalog {
public:
    static const Catalog& Instance();

    const QVector<TableDef>& Tables() const { return tables_; }
    const QVector<IndexDef>& Indexes() const { return indexes_; }
    const TableDef* FindTable(const QString& table) const;
    const ColumnDef* FindColumn(const QString& table, const QString& column) const;

    // The type a column name has in every table that holds it (the catalog
    // keeps one type per name); nullptr when no table has the column.
    const ColumnType* TypeOfColumnName(const QString& column) const;
    bool IsDateTimeColumn(const QString& column) const;
    bool IsTextColumn(const QString& column) const;

    // CREATE TABLE and CREATE INDEX statements of the embedded database.
    QStringList SqliteDdl() const;
    // The CREATE INDEX statements alone.
    QStringList SqliteIndexDdl() const;
    // A table's CREATE TABLE statement under the given name. Texts longer
    // than their columns are refused by the check named kTextLengthCheck,
    // as the server refuses them.
    static QString SqliteTableDdl(const TableDef& table, const QString& name);
    static constexpr QLatin1String kTextLengthCheck{"TextLength"};

private:
    Catalog();
    QVector<TableDef> tables_;
    QVector<IndexDef> indexes_;
    // Each column name (lower-case) with the type the first table holding it
    // gives it: asked for every result column of every statement.
    QHash<QString, ColumnType> typeOfName_;
    // The names of the date-time columns: asked of every result column.
    QStringList dateTimeNames_;
};

} // namespace db
