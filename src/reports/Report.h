#pragma once

#include "db/Connection.h"
#include "reports/ReportDefinition.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

namespace reports {

// A parameter field of an opened report with the values given to it.
struct ParameterField {
    QString name;                 // as declared, e.g. {?@DocumentNumber}
    QStringList currentValues;
};

// An opened report: what its file declares, plus what the program sets
// before showing it (title, table locations and logons, parameter values)
// and where it reads its rows.
class Report {
public:
    // Asked for the connection each time the report runs, so that the report
    // never holds on to a connection that its owner may replace.
    using ConnectionSource = std::function<db::Connection&()>;

    // Reads the file; report files are only ever read. Throws ReportError.
    static std::shared_ptr<Report> Open(const QString& path);
    explicit Report(ReportDefinition definition, QString path = QString());

    const QString& FilePath() const { return path_; }
    const ReportDefinition& Definition() const { return definition_; }

    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    int TableCount() const { return int(tables_.size()); }
    ReportTable& Table(int index) { return tables_[index]; }
    const ReportTable& Table(int index) const { return tables_.at(index); }

    int ParameterFieldCount() const { return int(parameters_.size()); }
    ParameterField& ParameterFieldAt(int index) { return parameters_[index]; }
    const ParameterField& ParameterFieldAt(int index) const { return parameters_.at(index); }
    // The first current value of the named field (case-insensitive), empty
    // when it has none or the report has no such field.
    QString ParameterValue(const QString& name) const;

    void SetConnectionSource(ConnectionSource source) { connection_ = std::move(source); }
    bool HasConnectionSource() const { return bool(connection_); }

    // The query with every {Table} replaced by that table's location and
    // every {?Field} by its value as a quoted text.
    QString Statement() const;
    // Runs the statement on the report's connection. Throws ReportError when
    // there is no connection or the database refuses the statement (with
    // the server's description).
    db::RowSet FetchRows() const;

private:
    ReportDefinition definition_;
    QString path_;
    QString title_;
    QVector<ReportTable> tables_;
    QVector<ParameterField> parameters_;
    ConnectionSource connection_;
};

} // namespace reports
