#pragma once

#include <QList>
#include <QWidget>

class QListWidget;

// The "Unicode blocks" page: one check box per row of the block table, with
// buttons that tick or clear them all.
class BlockListPage : public QWidget
{
    Q_OBJECT

public:
    explicit BlockListPage(QWidget *parent = nullptr);

    // The ticked rows of the block table, counted from 1; a partial tick is no tick.
    QList<int> checkedRows() const;
    // Ticks exactly `rows`, counted from 1.
    void setCheckedRows(const QList<int> &rows);

Q_SIGNALS:
    // A row was ticked or cleared.
    void selectionChanged();

private:
    void setAllChecked(Qt::CheckState state);

    QListWidget *blockList;
};
