#include "window/BlockListPage.h"

#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The block list stays black on every style and colour group, so the check
// boxes and ranges remain readable under dark system themes.
void forceBlackText(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::All, QPalette::Text, QBrush(Qt::black, Qt::SolidPattern));
    widget->setPalette(palette);
}

} // namespace

BlockListPage::BlockListPage(QWidget *parent) : QWidget(parent), blockList(new QListWidget(this))
{
    setObjectName(QStringLiteral("blocksPage"));
    auto *caption =
        new QLabel(uiText("Choose Unicode blocks to keep", "按 Unicode 分区选择需要保留的字符块"), this);
    auto *selectAllButton = new QPushButton(uiText("Select all", "全选"), this);
    selectAllButton->setObjectName(QStringLiteral("selectAllButton"));
    auto *clearAllButton = new QPushButton(uiText("Clear all", "全清"), this);
    clearAllButton->setObjectName(QStringLiteral("clearAllButton"));
    connect(selectAllButton, &QAbstractButton::clicked, this, [this] { setAllChecked(Qt::Checked); });
    connect(clearAllButton, &QAbstractButton::clicked, this, [this] { setAllChecked(Qt::Unchecked); });

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(caption, 0);
    buttonRow->addStretch(0);
    buttonRow->addWidget(selectAllButton, 0);
    buttonRow->addWidget(clearAllButton, 0);

    blockList->setObjectName(QStringLiteral("blockList"));
    blockList->setSelectionMode(QAbstractItemView::NoSelection);
    blockList->setStyleSheet(QStringLiteral("QListWidget { color: black; }"));
    forceBlackText(blockList);
    forceBlackText(blockList->viewport());
    for (const UnicodeBlock &block : unicodeBlockTable) {
        auto *item = new QListWidgetItem(unicodeBlockItemText(block), blockList);
        item->setData(Qt::UserRole, QVariant::fromValue<uint>(block.first));
        item->setData(Qt::UserRole + 1, QVariant::fromValue<uint>(block.last));
        item->setForeground(QBrush(Qt::black, Qt::SolidPattern));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }

    connect(blockList, &QListWidget::itemChanged, this, &BlockListPage::selectionChanged);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttonRow);
    layout->addWidget(blockList, 1);
}

QList<int> BlockListPage::checkedRows() const
{
    QList<int> rows;
    for (int i = 0; i < blockList->count(); ++i) {
        if (blockList->item(i)->checkState() == Qt::Checked)
            rows.append(i + 1);
    }
    return rows;
}

void BlockListPage::setAllChecked(Qt::CheckState state)
{
    for (int i = 0; i < blockList->count(); ++i)
        blockList->item(i)->setCheckState(state);
}

void BlockListPage::setCheckedRows(const QList<int> &rows)
{
    for (int row = 0; row < blockList->count(); ++row)
        blockList->item(row)->setCheckState(rows.contains(row + 1) ? Qt::Checked : Qt::Unchecked);
}
