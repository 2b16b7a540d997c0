#include "window/SystemFontPicker.h"

#include "common/UiText.h"
#include "font/platform/FontFamilyCandidates.h"
#include "font/platform/FontFileLookup.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int familyRole = Qt::UserRole;       // the name the lookup after the pick is given
constexpr int allNamesRole = Qt::UserRole + 1; // every name the search looks at

// Hides the families none of whose names contain the search text. What OK
// or Enter accepts is always a row the user can see: a current row that the
// search hides gives way to the first visible one, and with none visible
// there is nothing to accept.
void filterFamilyList(QListWidget *list, QPushButton *okButton, const QString &searchText)
{
    QListWidgetItem *firstVisible = nullptr;
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        const QStringList names = item->data(allNamesRole).toStringList();
        const bool matches =
            searchText.isEmpty() || std::any_of(names.cbegin(), names.cend(), [&](const QString &name) {
                return name.contains(searchText, Qt::CaseInsensitive);
            });
        item->setHidden(!matches);
        if (matches && !firstVisible)
            firstVisible = item;
    }
    QListWidgetItem *current = list->currentItem();
    if (!current || current->isHidden())
        list->setCurrentItem(firstVisible);
    okButton->setEnabled(firstVisible != nullptr);
}

// How well a name's language suits the window: lower is better.
int languageRank(const QString &language)
{
    const QString tag = language.toLower();
    const bool english = tag == QLatin1String("en") || tag.startsWith(QLatin1String("en-"));
    if (uiEnglish())
        return english ? 0 : 3;
    if (tag == QLatin1String("zh-cn") || tag == QLatin1String("zh-sg") ||
        tag.startsWith(QLatin1String("zh-hans")))
        return 0;
    if (tag == QLatin1String("zh") || tag.startsWith(QLatin1String("zh-")))
        return 1;
    return english ? 2 : 3;
}

// The family's name in the window's language where it has one.
QString nameForWindow(const InstalledFontFamily &family, const QString &fallback)
{
    QString best = fallback;
    int bestRank = 3;
    for (qsizetype i = 0; i < family.names.size(); ++i) {
        const int rank = languageRank(family.languages.value(i));
        if (rank < bestRank) {
            bestRank = rank;
            best = family.names.at(i);
        }
    }
    return best;
}

struct PickableFamily
{
    QString shown;
    QString family;
    QStringList names;
    QStringList files;
};

// The families worth offering: each once, and only those that lead to a font
// file through the lookup that follows the pick. Aliases such as "Sans Serif"
// or "Monospace" never do, so offering them would only end in a warning.
QList<PickableFamily> pickableFamilies()
{
    const QList<InstalledFontFamily> installed = installedFontFamilies();
    QHash<QString, qsizetype> byName;
    for (qsizetype i = 0; i < installed.size(); ++i) {
        for (const QString &name : installed.at(i).names)
            byName.insert(name.toCaseFolded(), i);
    }
    QList<PickableFamily> families;
    QSet<QString> seen;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Any)) {
        const qsizetype known = byName.value(withoutFoundrySuffix(family).toCaseFolded(), -1);
        PickableFamily pickable{family, family, {family}, {}};
        if (known >= 0) {
            const InstalledFontFamily &names = installed.at(known);
            pickable.shown = nameForWindow(names, family);
            pickable.names += names.names;
            pickable.files = names.files;
        }
        const QString key = pickable.shown.toCaseFolded();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (!resolveFontFilePath(family).isEmpty())
            families.append(pickable);
    }
    return families;
}

// The row of the family whose files hold `face`; 0 when none does.
int rowOf(const QList<PickableFamily> &families, const FontFace &face)
{
    const QString path = QFileInfo(face.path).canonicalFilePath();
    for (qsizetype row = 0; !path.isEmpty() && row < families.size(); ++row) {
        for (const QString &file : families.at(row).files) {
            if (QFileInfo(file).canonicalFilePath() == path)
                return int(row);
        }
    }
    return 0;
}

} // namespace

QString pickSystemFontFamily(QWidget *parent, const FontFace &current)
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

    const QList<PickableFamily> families = pickableFamilies();
    for (const PickableFamily &family : families) {
        auto *item = new QListWidgetItem(family.shown, familyList);
        item->setData(familyRole, family.family);
        item->setData(allNamesRole, family.names);
        QFont font(family.family);
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

    if (familyList->count() > 0) {
        familyList->setCurrentRow(rowOf(families, current));
        familyList->scrollToItem(familyList->currentItem(), QAbstractItemView::PositionAtCenter);
    }
    okButton->setEnabled(familyList->count() > 0);

    if (picker.exec() != QDialog::Accepted)
        return QString();
    const QListWidgetItem *chosen = familyList->currentItem();
    return chosen && !chosen->isHidden() ? chosen->data(familyRole).toString() : QString();
}
