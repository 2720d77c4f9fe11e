#include "support/TempDatabase.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace testing_support {

QStringList ColumnTexts(const db::RowSet& rows, int column)
{
    QStringList texts;
    for (const db::RowSet::Row& row : rows.Rows())
        texts << row.value(column).toString();
    return texts;
}

TempDatabase::TempDatabase()
    : path_(dir_.filePath(QStringLiteral("test.db"))),
      connection_(db::SqliteConnection::Create(path_)) {}

std::unique_ptr<db::SqliteConnection> TempDatabase::OpenAnother() const
{
    return db::SqliteConnection::Open(path_);
}

void TempDatabase::Insert(const char* table, std::initializer_list<Field> fields)
{
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (const Field& f : fields) {
        names << QString::fromLatin1(f.first);
        marks << QStringLiteral("?");
        values << f.second;
    }
    connection_->ExecuteNative(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(QString::fromLatin1(table), names.join(QLatin1Char(',')),
                                        marks.join(QLatin1Char(','))),
                               values);
}

qlonglong TempDatabase::Scalar(const QString& sql)
{
    const db::RowSet rows = connection_->ExecuteNative(sql);
    return rows.IsEmpty() ? 0 : rows.Field(0).toLongLong();
}

} // namespace testing_support
