#include "gui/views/tilegeometry.h"

#include <QApplication>
#include <QCursor>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace zob;

constexpr int cellWidth = 133;
constexpr int cellHeight = 190;
constexpr int margin = 10;

TEST(TileColumns, ReservesRoomForAScrollBarThatIsNotShowing) {
    constexpr int bar = 17;
    // No bar showing: client width = outer width, room for one is kept.
    for (int usable = 399; usable <= 531; ++usable) {
        EXPECT_EQ(tileColumnsFor(cellWidth, usable + bar, usable + bar, bar), 3) << usable;
    }
    EXPECT_EQ(tileColumnsFor(cellWidth, 398 + bar, 398 + bar, bar), 2);
    EXPECT_EQ(tileColumnsFor(cellWidth, 532 + bar, 532 + bar, bar), 4);
    // A bar showing already narrowed the client area: nothing more comes off.
    EXPECT_EQ(tileColumnsFor(cellWidth, 532, 532 + bar, bar), 4);
    EXPECT_EQ(tileColumnsFor(cellWidth, 531, 532 + bar, bar), 3);
    // A frame of 2 pixels each side with the bar showing.
    EXPECT_EQ(tileColumnsFor(cellWidth, 532, 532 + bar + 4, bar), 4);
}

TEST(TileColumns, AtLeastOne) {
    EXPECT_EQ(tileColumnsFor(cellWidth, 100, 100, 17), 1);
    EXPECT_EQ(tileColumnsFor(cellWidth, 0, 0, 17), 1);
    EXPECT_EQ(tileColumnsFor(cellWidth, 10, 40, 17), 1);
}

TEST(TileRect, CellOriginPlusMarginCellSized) {
    EXPECT_EQ(tileRectFor(0, 4, cellWidth, cellHeight, margin), QRect(10, 10, 133, 190));
    EXPECT_EQ(tileRectFor(3, 4, cellWidth, cellHeight, margin), QRect(409, 10, 133, 190));
    EXPECT_EQ(tileRectFor(5, 4, cellWidth, cellHeight, margin), QRect(143, 200, 133, 190));
    EXPECT_EQ(tileRectFor(7, 1, cellWidth, cellHeight, 0), QRect(0, 1330, 133, 190));
    // The exclusive right and bottom edges are one cell past the origin.
    const QRect rect = tileRectFor(5, 4, cellWidth, cellHeight, margin);
    EXPECT_EQ(rect.left() + rect.width(), 143 + 133);
    EXPECT_EQ(rect.top() + rect.height(), 200 + 190);
}

TEST(TileIndexAt, InvertsTileRect) {
    for (int columns = 1; columns <= 6; ++columns) {
        for (int index = 0; index < 40; ++index) {
            const QRect rect = tileRectFor(index, columns, cellWidth, cellHeight, margin);
            const QPoint cellOrigin = rect.topLeft() - QPoint(margin, margin);
            EXPECT_EQ(tileIndexAtFor(columns, cellWidth, cellHeight, rect.topLeft()), index);
            EXPECT_EQ(tileIndexAtFor(columns, cellWidth, cellHeight, cellOrigin), index);
            EXPECT_EQ(tileIndexAtFor(columns, cellWidth, cellHeight,
                                     cellOrigin + QPoint(cellWidth - 1, cellHeight - 1)),
                      index);
        }
    }
    EXPECT_EQ(tileIndexAtFor(4, cellWidth, cellHeight, QPoint(133, 189)), 1);
    EXPECT_EQ(tileIndexAtFor(4, cellWidth, cellHeight, QPoint(132, 190)), 4);
}

// A tile box as the cover wall uses it: 571 x 649, contents for 40 rows.
class TileBox : public ::testing::Test {
protected:
    void SetUp() override {
        box.resize(571, 649);
        auto* contents = new QWidget;
        contents->resize(540, 40 * cellHeight);
        box.setWidget(contents);
        box.show();
        QApplication::processEvents();
    }
    int bar() const { return box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box); }

    QScrollArea box;
};

TEST_F(TileBox, ColumnsFollowTheViewport) {
    ASSERT_TRUE(box.verticalScrollBar()->isVisible());
    const int columns = tileColumns(cellWidth, box);
    EXPECT_EQ(columns, tileColumnsFor(cellWidth, box.viewport()->width(), box.width(), bar()));
    EXPECT_EQ(columns, box.viewport()->width() / cellWidth);
    EXPECT_EQ(tileRect(columns, cellWidth, cellHeight, box, margin),
              QRect(margin, cellHeight + margin, cellWidth, cellHeight));
    EXPECT_EQ(tileIndexAt(cellWidth, cellHeight, box, QPoint(140, 200)), columns + 1);

    // Widening by less than a cell keeps the columns.
    const int slack = box.viewport()->width() - columns * cellWidth;
    box.resize(box.width() + (cellWidth - 1 - slack), box.height());
    QApplication::processEvents();
    EXPECT_EQ(tileColumns(cellWidth, box), columns);
    box.resize(box.width() + 1, box.height());
    QApplication::processEvents();
    EXPECT_EQ(tileColumns(cellWidth, box), columns + 1);
}

TEST_F(TileBox, CursorIndexCountsTheScrollPosition) {
    box.verticalScrollBar()->setValue(3 * cellHeight);
    const QPoint inViewport(cellWidth + 5, 20);
    QCursor::setPos(box.viewport()->mapToGlobal(inViewport));
    if (box.viewport()->mapFromGlobal(QCursor::pos()) != inViewport) {
        GTEST_SKIP() << "this platform cannot move the pointer";
    }
    EXPECT_EQ(tileIndexAtCursor(cellWidth, cellHeight, box), 3 * tileColumns(cellWidth, box) + 1);
}

} // namespace
