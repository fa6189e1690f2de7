#include "app/check_list.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace app {

namespace {

// Every item exactly as high as the list says, whatever the font.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    FixedHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
    }

private:
    int height_;
};

}  // namespace

TCheckList::TCheckList(int columns, int itemHeight, QWidget* parent)
    : QListWidget(parent), columns_(std::max(1, columns)), itemHeight_(itemHeight)
{
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideRight);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setItemDelegate(new FixedHeightDelegate(itemHeight_, this));
    UpdateGrid();
}

void TCheckList::SetItems(const QStringList& texts)
{
    clear();
    for (const QString& text : texts) {
        auto* item = new QListWidgetItem(text, this);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void TCheckList::SetPlaceholderText(const QString& text)
{
    placeholder_ = text;
    viewport()->update();
}

void TCheckList::paintEvent(QPaintEvent* event)
{
    QListWidget::paintEvent(event);
    if (count() > 0 || placeholder_.isEmpty()) return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    // Where the text of the first item would stand; a long path loses its middle.
    const QRect line = QRect(0, 0, viewport()->width(), itemHeight_).adjusted(4, 0, -4, 0);
    const QString text = painter.fontMetrics().elidedText(placeholder_, Qt::ElideMiddle, line.width());
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void TCheckList::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    UpdateGrid();
}

void TCheckList::UpdateGrid()
{
    const QSize cell(std::max(1, viewport()->width() / columns_), itemHeight_);
    if (gridSize() != cell) setGridSize(cell);
}

}  // namespace app
