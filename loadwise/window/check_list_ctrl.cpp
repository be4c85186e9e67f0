#include "loadwise/window/check_list_ctrl.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "loadwise/res/check_boxes_bitmap.h"
#include "loadwise/window/check_hit_rule.h"
#include "loadwise/window/check_list_item_model.h"
#include "platform/ui/dialog_template.h"

namespace loadwise {
namespace {

// The average character width of the font the column widths were made for.
constexpr int kClassicAverageCharWidth = 6;

}  // namespace

// Finds where the style draws a row's check image.
class CheckListDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QRect DecorationRect(QStyleOptionViewItem option, const QModelIndex& index,
                         const QWidget* widget) const {
        initStyleOption(&option, index);
        QStyle* style = widget != nullptr ? widget->style() : nullptr;
        return style != nullptr
                   ? style->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, widget)
                   : QRect();
    }
};

CCheckListCtrl::CCheckListCtrl(QWidget* parent)
    : QTreeView(parent),
      items_(new CheckListItemModel(list_, this)),
      delegate_(new CheckListDelegate(this)) {
    setModel(items_);
    setItemDelegate(delegate_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);  // our sort, never the view's
    setIconSize(QSize(kCheckImageSize, kCheckImageSize));
    setTextElideMode(Qt::ElideRight);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header(), &QHeaderView::sectionClicked, this, &CCheckListCtrl::OnColumnClick);
}

void CCheckListCtrl::InitCheckList() {
    items_->InitCheckList();
}

bool CCheckListCtrl::AddColumn(const std::string& heading, ColumnType type) {
    if (!items_->AddColumn(heading, type)) {
        return false;
    }
    ApplyColumnWidth(list_.GetColumnCount() - 1);
    return true;
}

int CCheckListCtrl::AddRow(const std::string& text) {
    return items_->AddRow(text);
}

bool CCheckListCtrl::SetCellText(int row, int column, const std::string& text) {
    if (!list_.SetCellText(row, column, text)) {
        return false;
    }
    items_->CellsChanged(row, row);
    return true;
}

std::string CCheckListCtrl::GetCellText(int row, int column) const {
    return list_.GetCellText(row, column);
}

bool CCheckListCtrl::GetCheck(int row) const {
    return list_.GetCheck(row);
}

bool CCheckListCtrl::SetCheck(int row, bool ticked) {
    if (!list_.SetCheck(row, ticked)) {
        return false;
    }
    items_->CellsChanged(row, row);
    return true;
}

void CCheckListCtrl::ToggleCheck(int row) {
    list_.ToggleCheck(row);
    items_->CellsChanged(row, row);
}

int CCheckListCtrl::GetRowCount() const {
    return list_.GetRowCount();
}

void CCheckListCtrl::SetColumnWidth(int column, int width) {
    list_.SetColumnWidth(column, width);
    ApplyColumnWidth(column);
}

void CCheckListCtrl::ApplyColumnWidth(int column) {
    if (column < 0 || column >= list_.GetColumnCount()) {
        return;
    }
    const int width = list_.ColumnWidth(column);
    header()->setSectionHidden(column, width == 0);
    if (width > 0) {
        if (averageCharWidth_ == 0) {
            averageCharWidth_ = platform::ui::DialogUnits(font()).baseX();
        }
        header()->resizeSection(
            column, std::max(width, width * averageCharWidth_ / kClassicAverageCharWidth));
    }
}

void CCheckListCtrl::SortByColumn(int column) {
    list_.SortByColumn(column);
    items_->CellsChanged(0, list_.GetRowCount() - 1);
}

void CCheckListCtrl::OnColumnClick(int column) {
    SortByColumn(column);
}

QRect CCheckListCtrl::CheckImageRect(int row) const {
    const QModelIndex index = items_->index(row, 0);
    if (!index.isValid()) {
        return {};
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return delegate_->DecorationRect(option, index, this);
}

unsigned CCheckListCtrl::HitTest(const QPoint& point, int& row) const {
    const QModelIndex index = indexAt(point);
    if (!index.isValid()) {
        row = -1;
        return LVHT_NOWHERE;
    }
    row = index.row();
    if (index.column() == 0 && CheckImageRect(row).contains(point)) {
        return LVHT_ONITEMSTATEICON;
    }
    return LVHT_ONITEMLABEL;
}

void CCheckListCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    int row = -1;
    const unsigned flags = HitTest(point, row);
    if (PressTogglesCheck(flags, false, point.x(), 0)) {
        ToggleCheck(row);
    }
    QTreeView::mousePressEvent(event);
    emit Clicked(row);
}

void CCheckListCtrl::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        averageCharWidth_ = 0;
        for (int column = 0; column < list_.GetColumnCount(); ++column) {
            ApplyColumnWidth(column);
        }
    }
}

}  // namespace loadwise
