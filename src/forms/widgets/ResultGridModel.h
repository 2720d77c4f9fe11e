#pragma once

#include <QAbstractTableModel>
#include <QPointer>

namespace forms {

class ResultGrid;

// Shows a ResultGrid in a Qt item view. The view asks for more rows as it
// scrolls (canFetchMore / fetchMore), and the grid reads them then.
class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows read at a time as the view scrolls.
    static constexpr int kPageRows = 64;

    ResultGridModel(ResultGrid* grid, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    void Reset();
    void RowsAppended(int lastRow);

    QPointer<ResultGrid> grid_;
    // The rows the view knows of; the grid may hold more only for the
    // moment between reading them and announcing them.
    int rows_ = 0;
    int cols_ = 0;
};

} // namespace forms
