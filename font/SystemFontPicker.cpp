#include "font/SystemFontPicker.h"

#include "common/UiText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

// Hides the families that do not contain the search text. The current
// item is left alone even when hidden, so a search never changes a pick
// the user has not made; only a list without one gets the first match.
void filterFamilyList(QListWidget *list, const QString &searchText)
{
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        const bool matches =
            searchText.isEmpty() || item->text().indexOf(searchText, 0, Qt::CaseInsensitive) >= 0;
        item->setHidden(!matches);
        if (matches && !list->currentItem())
            list->setCurrentItem(item);
    }
}

} // namespace

QString pickSystemFontFamily(QWidget *parent, int useEnglish)
{
    QDialog picker(parent);
    picker.setObjectName(QStringLiteral("systemFontPicker"));
    picker.setWindowTitle(uiText(useEnglish, "Select System Font", "选择系统字体"));
    picker.resize(400, 500);

    auto *layout = new QVBoxLayout(&picker);
    auto *searchEdit = new QLineEdit(&picker);
    searchEdit->setObjectName(QStringLiteral("fontSearchEdit"));
    searchEdit->setPlaceholderText(uiText(useEnglish, "Search font...", "搜索字体..."));
    searchEdit->setClearButtonEnabled(true);
    auto *familyList = new QListWidget(&picker);
    familyList->setObjectName(QStringLiteral("fontFamilyList"));
    familyList->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(searchEdit, 0);
    layout->addWidget(familyList, 1);

    const QStringList families = QFontDatabase::families(QFontDatabase::Any);
    for (const QString &family : families) {
        auto *item = new QListWidgetItem(family, familyList);
        QFont font(family);
        font.setPointSize(11);
        item->setFont(font);
    }

    QObject::connect(searchEdit, &QLineEdit::textChanged, searchEdit,
                     [familyList](const QString &text) { filterFamilyList(familyList, text); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &picker);
    buttons->setObjectName(QStringLiteral("fontPickerButtons"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &picker, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &picker, &QDialog::reject);
    layout->addWidget(buttons, 0);
    QObject::connect(familyList, &QListWidget::itemDoubleClicked, &picker, &QDialog::accept);

    if (familyList->count() > 0)
        familyList->setCurrentRow(0);

    if (picker.exec() != QDialog::Accepted)
        return QString();
    const QListWidgetItem *chosen = familyList->currentItem();
    return chosen ? chosen->text() : QString();
}
