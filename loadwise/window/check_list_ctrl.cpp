#include "loadwise/window/check_list_ctrl.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>

#include "loadwise/window/check_list_item_model.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/text_codec.h"

namespace loadwise {
namespace {

// The average character width of the font the column widths were made for.
constexpr int kClassicAverageCharWidth = 6;

}  // namespace

// Draws the rows with the style's own check box; finds where it lies. It
// never toggles a check itself: the list does, by its hit rule.
class CheckListDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QRect CheckBoxRect(QStyleOptionViewItem option, const QModelIndex& index,
                       const QWidget* widget) const {
        initStyleOption(&option, index);
        return widget->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option,
                                               widget);
    }

  protected:
    bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&,
                     const QModelIndex&) override {
        return false;
    }
};

CCheckListCtrl::CCheckListCtrl(QWidget* parent)
    : QTreeView(parent),
      items_(new CheckListItemModel(this)),
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
    setTextElideMode(Qt::ElideRight);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(false);  // until the first sort
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header(), &QHeaderView::sectionClicked, this, &CCheckListCtrl::SortByColumn);
}

void CCheckListCtrl::InitCheckList() {
    items_->InitCheckList();
    fitTexts_.clear();
    header()->setSortIndicatorShown(false);
}

bool CCheckListCtrl::AddColumn(const std::string& heading, kitdata::ColumnType type) {
    if (!items_->AddColumn(heading, type)) {
        return false;
    }
    const int column = Rows().GetColumnCount() - 1;
    fitTexts_.resize(static_cast<std::size_t>(column + 1));
    header()->setSectionResizeMode(column,
                                   column == 0 ? QHeaderView::Stretch : QHeaderView::Interactive);
    ApplyColumnWidth(column);
    return true;
}

int CCheckListCtrl::AddRow(const std::string& text) {
    return items_->AddRow(text);
}

bool CCheckListCtrl::SetCellText(int row, int column, const std::string& text) {
    return items_->SetCellText(row, column, text);
}

std::string CCheckListCtrl::GetCellText(int row, int column) const {
    return Rows().GetCellText(row, column);
}

bool CCheckListCtrl::GetCheck(int row) const {
    return Rows().GetCheck(row);
}

bool CCheckListCtrl::SetCheck(int row, bool ticked) {
    return items_->SetCheck(row, ticked);
}

void CCheckListCtrl::ToggleCheck(int row) {
    items_->ToggleCheck(row);
}

int CCheckListCtrl::GetRowCount() const {
    return Rows().GetRowCount();
}

const kitdata::CheckListModel& CCheckListCtrl::Rows() const {
    return items_->Rows();
}

void CCheckListCtrl::SetColumnWidth(int column, int width) {
    if (items_->SetColumnWidth(column, width)) {
        ApplyColumnWidth(column);
    }
}

void CCheckListCtrl::FitColumnTo(int column, const std::vector<std::string>& texts) {
    if (column < 0 || column >= Rows().GetColumnCount()) {
        return;
    }
    fitTexts_[column].clear();
    for (const std::string& text : texts) {
        fitTexts_[column].push_back(platform::ui::FromCp1252(text));
    }
    ApplyColumnWidth(column);
}

int CCheckListCtrl::CellWidthFor(const QString& text) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = text;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width();
}

void CCheckListCtrl::ApplyColumnWidth(int column) {
    if (column < 0 || column >= Rows().GetColumnCount()) {
        return;
    }
    const int width = Rows().ColumnWidth(column);
    header()->setSectionHidden(column, width == 0);
    if (width > 0) {
        if (averageCharWidth_ == 0) {
            averageCharWidth_ = platform::ui::DialogUnits(font()).baseX();
        }
        int fitted = std::max(width, width * averageCharWidth_ / kClassicAverageCharWidth);
        for (const QString& text : fitTexts_[column]) {
            fitted = std::max(fitted, CellWidthFor(text));
        }
        header()->resizeSection(column, fitted);
    }
}

void CCheckListCtrl::SortByColumn(int column) {
    if (!items_->SortByColumn(column)) {
        return;
    }
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(
        column, Rows().SortDirection() == 1 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QRect CCheckListCtrl::CheckImageRect(int row) const {
    const QModelIndex index = items_->index(row, 0);
    if (!index.isValid()) {
        return {};
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return delegate_->CheckBoxRect(option, index, this);
}

kitdata::ListHit CCheckListCtrl::HitTest(const QPoint& point, int& row) const {
    const QModelIndex index = indexAt(point);
    if (!index.isValid()) {
        row = -1;
        return kitdata::ListHit::Nowhere;
    }
    row = index.row();
    if (index.column() == 0 && CheckImageRect(row).contains(point)) {
        return kitdata::ListHit::CheckBox;
    }
    return kitdata::ListHit::Text;
}

void CCheckListCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    int row = -1;
    if (kitdata::PressTogglesCheck(HitTest(event->position().toPoint(), row))) {
        ToggleCheck(row);
    }
    QTreeView::mousePressEvent(event);
    emit Clicked(row);
}

void CCheckListCtrl::keyPressEvent(QKeyEvent* event) {
    const int before = currentIndex().row();
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) &&
        event->modifiers() == Qt::NoModifier) {
        if (before >= 0) {
            ToggleCheck(before);
            emit Clicked(before);
        }
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        // The keyboard's other way to the context menu, beside the Menu key;
        // the menu opens at the current row.
        const QRect row = visualRect(currentIndex());
        const QPoint at =
            viewport()->mapTo(this, row.isValid() ? row.center() : viewport()->rect().center());
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, mapToGlobal(at));
        contextMenuEvent(&menu);
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
    const int after = currentIndex().row();
    if (after >= 0 && after != before) {
        emit CurrentRowMoved(after);
    }
}

void CCheckListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (int column = 0; column < Rows().GetColumnCount(); ++column) {
        if (header()->isSectionHidden(column)) {
            continue;
        }
        const QString heading = platform::ui::FromCp1252(Rows().Heading(column));
        connect(menu.addAction(tr("Sort by %1").arg(heading)), &QAction::triggered, this,
                [this, column] { SortByColumn(column); });
    }
    if (!menu.isEmpty()) {
        menu.exec(event->globalPos());
    }
}

void CCheckListCtrl::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        averageCharWidth_ = 0;
        for (int column = 0; column < Rows().GetColumnCount(); ++column) {
            ApplyColumnWidth(column);
        }
    }
}

}  // namespace loadwise
