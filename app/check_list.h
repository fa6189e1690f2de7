#pragma once
#include <QListWidget>

namespace app {

// A list with a check box in front of every item, items of one fixed height,
// laid out in columns of equal width: the first column is filled top to
// bottom, then the next, and the list scrolls sideways when they overflow.
class TCheckList : public QListWidget {
    Q_OBJECT
public:
    TCheckList(int columns, int itemHeight, QWidget* parent = nullptr);

    int Columns() const { return columns_; }

    // Replaces every item by these texts, all unticked.
    void SetItems(const QStringList& texts);

    // Shown in the first line, greyed, while the list has no items.
    const QString& PlaceholderText() const { return placeholder_; }
    void SetPlaceholderText(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateGrid();

    int columns_;
    int itemHeight_;
    QString placeholder_;
};

}  // namespace app
