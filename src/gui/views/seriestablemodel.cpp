#include "gui/views/seriestablemodel.h"

#include "gui/displaytext.h"
#include "gui/views/listviewsort.h"

#include <QColor>
#include <algorithm>

namespace zob {

void SeriesTableModel::setRows(std::vector<SeriesPtr> rows) {
    // Removed and inserted rather than reset: the grid's heading keeps the
    // order rows were dragged into across a reset, but not across a removal.
    if (!rows_.empty()) {
        beginRemoveRows({}, 0, static_cast<int>(rows_.size()) - 1);
        rows_.clear();
        endRemoveRows();
    }
    if (!rows.empty()) {
        beginInsertRows({}, 0, static_cast<int>(rows.size()) - 1);
        rows_ = std::move(rows);
        endInsertRows();
    }
}

void SeriesTableModel::appendRow(SeriesPtr series) {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows({}, row, row);
    rows_.push_back(std::move(series));
    endInsertRows();
}

SeriesPtr SeriesTableModel::series(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        return nullptr;
    }
    return rows_[static_cast<std::size_t>(row)];
}

int SeriesTableModel::rowOf(const SeriesRec& series) const {
    const auto found = std::find_if(rows_.begin(), rows_.end(), [&series](const SeriesPtr& row) {
        return row.get() == &series;
    });
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

void SeriesTableModel::rowChanged(int row) {
    if (series(row)) {
        emit dataChanged(index(row, 0), index(row, listColumnCount - 1), {Qt::DisplayRole});
    }
}

void SeriesTableModel::markHeading(int column, const QFont& headingFont) {
    markedColumn_ = column;
    headingFont_ = headingFont;
    emit headerDataChanged(Qt::Horizontal, 0, listColumnCount - 1);
}

int SeriesTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SeriesTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : listColumnCount;
}

QVariant SeriesTableModel::data(const QModelIndex& index, int role) const {
    const SeriesPtr shown = series(index.row());
    if (!shown || role != Qt::DisplayRole) {
        return {};
    }
    return toDisplay(listCellText(*shown, index.column()));
}

QVariant SeriesTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        // The row grips carry no numbers: rows keep their place when dragged.
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    }
    if (section < 0 || section >= listColumnCount) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromLatin1(listColumns[static_cast<std::size_t>(section)].heading);
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::FontRole: {
        QFont font = headingFont_;
        font.setBold(section == markedColumn_);
        font.setUnderline(section == markedColumn_);
        return font;
    }
    default:
        return {};
    }
}

} // namespace zob
