#include "window/SystemFontPicker.h"

#include "common/UiText.h"
#include "font/platform/FontFileLookup.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

namespace {

// Hides the families that do not contain the search text. What OK or Enter
// accepts is always a row the user can see: a current row that the search
// hides gives way to the first visible one, and with none visible there is
// nothing to accept.
void filterFamilyList(QListWidget *list, QPushButton *okButton, const QString &searchText)
{
    QListWidgetItem *firstVisible = nullptr;
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        const bool matches =
            searchText.isEmpty() || item->text().indexOf(searchText, 0, Qt::CaseInsensitive) >= 0;
        item->setHidden(!matches);
        if (matches && !firstVisible)
            firstVisible = item;
    }
    QListWidgetItem *current = list->currentItem();
    if (!current || current->isHidden())
        list->setCurrentItem(firstVisible);
    okButton->setEnabled(firstVisible != nullptr);
}

// The families worth offering: each once, and only those that lead to a font
// file through the lookup that follows the pick. Aliases such as "Sans Serif"
// or "Monospace" never do, so offering them would only end in a warning.
QStringList pickableFamilies()
{
    QStringList families;
    QSet<QString> seen;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Any)) {
        const QString key = family.toCaseFolded();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (!resolveFontFilePath(family).isEmpty())
            families.append(family);
    }
    return families;
}

} // namespace

QString pickSystemFontFamily(QWidget *parent)
{
    QDialog picker(parent);
    picker.setObjectName(QStringLiteral("systemFontPicker"));
    picker.setWindowTitle(uiText("Select System Font", "选择系统字体"));
    picker.resize(400, 500);

    auto *layout = new QVBoxLayout(&picker);
    auto *searchEdit = new QLineEdit(&picker);
    searchEdit->setObjectName(QStringLiteral("fontSearchEdit"));
    searchEdit->setPlaceholderText(uiText("Search font...", "搜索字体..."));
    searchEdit->setClearButtonEnabled(true);
    auto *familyList = new QListWidget(&picker);
    familyList->setObjectName(QStringLiteral("fontFamilyList"));
    familyList->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(searchEdit, 0);
    layout->addWidget(familyList, 1);

    for (const QString &family : pickableFamilies()) {
        auto *item = new QListWidgetItem(family, familyList);
        QFont font(family);
        font.setPointSize(11);
        item->setFont(font);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &picker);
    buttons->setObjectName(QStringLiteral("fontPickerButtons"));
    QPushButton *okButton = buttons->button(QDialogButtonBox::Ok);
    QObject::connect(
        searchEdit, &QLineEdit::textChanged, searchEdit,
        [familyList, okButton](const QString &text) { filterFamilyList(familyList, okButton, text); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &picker, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &picker, &QDialog::reject);
    layout->addWidget(buttons, 0);
    QObject::connect(familyList, &QListWidget::itemDoubleClicked, &picker, &QDialog::accept);

    if (familyList->count() > 0)
        familyList->setCurrentRow(0);
    okButton->setEnabled(familyList->count() > 0);

    if (picker.exec() != QDialog::Accepted)
        return QString();
    const QListWidgetItem *chosen = familyList->currentItem();
    return chosen && !chosen->isHidden() ? chosen->text() : QString();
}
