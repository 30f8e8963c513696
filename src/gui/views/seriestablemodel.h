#pragma once

#include "catalogue/seriesrec.h"

#include <QAbstractTableModel>
#include <QFont>
#include <vector>

namespace zob {

// The list view's rows: one series a row, in the columns of listColumns. The
// cells are worked out when the grid paints them, so a list of ten thousand
// series is shown as soon as its records are in order.
class SeriesTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Replaces every row; the grid forgets its selection and dragged rows.
    void setRows(std::vector<SeriesPtr> rows);
    void appendRow(SeriesPtr series);
    const std::vector<SeriesPtr>& rows() const { return rows_; }
    // Null outside 0 .. rowCount() - 1.
    SeriesPtr series(int row) const;
    // The row showing `series`, or -1.
    int rowOf(const SeriesRec& series) const;
    // The row's cells are read again (its files changed on disk).
    void rowChanged(int row);

    // The heading of `column` is drawn bold and underlined; -1 marks none.
    void markHeading(int column, const QFont& headingFont);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // The list owns the records; this only keeps them alive while shown.
    std::vector<SeriesPtr> rows_;
    int markedColumn_ = -1;
    QFont headingFont_;
};

} // namespace zob
