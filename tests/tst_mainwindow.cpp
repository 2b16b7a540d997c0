#include "ModalDriver.h"
#include "dialog/VectorFontClipDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaMethod>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtTest>

namespace {

template <typename T> T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

QLabel *labelWithText(QWidget *dialog, const QString &text)
{
    const auto labels = dialog->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

// Where `widget` sits in `layout` and with what stretch; -1 when not there.
int stretchOf(QBoxLayout *layout, QWidget *widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        if (layout->itemAt(i)->widget() == widget)
            return layout->stretch(i);
    }
    return -1;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts();
    void layoutTree();
    void slotTable();
    void secondaryLabelsAndPreviewBox();
    void blockListLooksBlack();
    void previewTextIsLimitedTo64();
    void enterInOutputNamePressesGenerate();
    void escapeClosesTheWindow();
    void cleanup();
};

void TestMainWindow::texts_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QStringList>("texts"); // title, captions..., see texts()

    QTest::newRow("English")
        << 1
        << QStringList{
               "Corvanta - Vector Font Subset Tool",
               "Source TTF font:",
               "Select a font file...",
               "System Font",
               "Select from system font dialog",
               "Browse...",
               "Browse for TTF/OTF/TTC file",
               "Output name:",
               "Name without path, e.g. 12MyFont",
               "Preview text:",
               "Input all characters to keep (Chinese, English, digits, symbols, etc.). Import "
               "from file only supports UTF-8 encoded text.",
               "Import from file...",
               "Unique characters: 0",
               "Custom text",
               "Choose Unicode blocks to keep",
               "Select all",
               "Clear all",
               "Unicode blocks",
               "Generate subset",
           };
    QTest::newRow("Chinese")
        << 0
        << QStringList{
               "Corvanta - 矢量字库裁剪工具",
               "待裁剪矢量字库:",
               "请选择字体文件...",
               "选择系统字体",
               "从系统字体对话框中选择",
               "浏览...",
               "浏览选择 TTF/OTF/TTC 文件",
               "输出文件名:",
               "不含路径，示例: 12MyFont",
               "预览字符:",
               "在此输入要保留的所有字符（支持中英文、数字、符号等）。从文件导入时仅支持 UTF-8 "
               "编码文本。",
               "从文件导入...",
               "唯一字符数: 0",
               "自定义字符",
               "按 Unicode 分区选择需要保留的字符块",
               "全选",
               "全清",
               "Unicode 分区",
               "生成字库",
           };
    // Any value other than 1 counts as Chinese.
    QTest::newRow("flag 2 is Chinese") << 2 << QStringList{"Corvanta - 矢量字库裁剪工具"};
}

void TestMainWindow::texts()
{
    QFETCH(int, useEnglish);
    QFETCH(QStringList, texts);

    VectorFontClipDialog dialog(useEnglish);
    QCOMPARE(dialog.windowTitle(), texts.at(0));
    if (texts.size() == 1)
        return;

    int at = 1;
    auto next = [&] { return texts.at(at++); };
    QVERIFY(labelWithText(&dialog, next()));
    QCOMPARE(child<QLineEdit>(&dialog, "fontPathEdit")->placeholderText(), next());
    auto *systemFont = child<QPushButton>(&dialog, "systemFontButton");
    QCOMPARE(systemFont->text(), next());
    QCOMPARE(systemFont->toolTip(), next());
    auto *browse = child<QPushButton>(&dialog, "browseButton");
    QCOMPARE(browse->text(), next());
    QCOMPARE(browse->toolTip(), next());
    QVERIFY(labelWithText(&dialog, next()));
    QCOMPARE(child<QLineEdit>(&dialog, "outputNameEdit")->placeholderText(), next());
    QVERIFY(labelWithText(&dialog, next()));
    QCOMPARE(child<QLineEdit>(&dialog, "previewEdit")->placeholderText(), QString());
    QLabel *hint = labelWithText(&dialog, next());
    QVERIFY(hint);
    QVERIFY(!hint->wordWrap());
    QCOMPARE(child<QPushButton>(&dialog, "importButton")->text(), next());
    QCOMPARE(child<QLabel>(&dialog, "uniqueCountLabel")->text(), next());
    auto *tabs = child<QTabWidget>(&dialog, "characterTabs");
    QCOMPARE(tabs->tabText(0), next());
    QVERIFY(labelWithText(&dialog, next()));
    QCOMPARE(child<QPushButton>(&dialog, "selectAllButton")->text(), next());
    QCOMPARE(child<QPushButton>(&dialog, "clearAllButton")->text(), next());
    QCOMPARE(tabs->tabText(1), next());
    QCOMPARE(child<QPushButton>(&dialog, "generateButton")->text(), next());
    QCOMPARE(at, texts.size());

    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 0);
    // Nothing is shown before a font is chosen.
    QCOMPARE(child<QLabel>(&dialog, "fontInfoLabel")->text(), QString());
}

void TestMainWindow::layoutTree()
{
    VectorFontClipDialog dialog(1);
    auto *mainLayout = qobject_cast<QVBoxLayout *>(dialog.layout());
    QVERIFY(mainLayout);
    QCOMPARE(mainLayout->count(), 7);

    auto row = [&](int index) { return qobject_cast<QHBoxLayout *>(mainLayout->itemAt(index)->layout()); };
    QVERIFY(row(0) && row(1) && row(2));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(mainLayout->stretch(i), 0);

    QCOMPARE(row(0)->count(), 4);
    QCOMPARE(stretchOf(row(0), child<QLineEdit>(&dialog, "fontPathEdit")), 1);
    QCOMPARE(row(0)->itemAt(2)->widget(), child<QWidget>(&dialog, "systemFontButton"));
    QCOMPARE(stretchOf(row(0), child<QWidget>(&dialog, "browseButton")), 0);
    QCOMPARE(row(1)->count(), 2);
    QCOMPARE(stretchOf(row(1), child<QWidget>(&dialog, "outputNameEdit")), 1);
    QCOMPARE(row(2)->count(), 3);
    QCOMPARE(stretchOf(row(2), child<QWidget>(&dialog, "previewEdit")), 0);
    QCOMPARE(stretchOf(row(2), child<QWidget>(&dialog, "previewLabel")), 1);

    QCOMPARE(stretchOf(mainLayout, child<QWidget>(&dialog, "fontInfoLabel")), 0);
    QCOMPARE(mainLayout->itemAt(3)->widget(), child<QWidget>(&dialog, "fontInfoLabel"));
    QCOMPARE(mainLayout->itemAt(4)->widget(), child<QWidget>(&dialog, "previewStatusLabel"));
    QCOMPARE(stretchOf(mainLayout, child<QWidget>(&dialog, "characterTabs")), 1);
    QCOMPARE(mainLayout->itemAt(6)->widget(), child<QWidget>(&dialog, "buttonBox"));
    QCOMPARE(mainLayout->stretch(6), 0);

    auto *customLayout = qobject_cast<QVBoxLayout *>(child<QWidget>(&dialog, "customTextPage")->layout());
    QVERIFY(customLayout);
    QCOMPARE(customLayout->count(), 3);
    auto *hintRow = qobject_cast<QHBoxLayout *>(customLayout->itemAt(0)->layout());
    QVERIFY(hintRow);
    QCOMPARE(hintRow->count(), 3);
    QVERIFY(hintRow->itemAt(1)->spacerItem());
    QCOMPARE(hintRow->itemAt(2)->widget(), child<QWidget>(&dialog, "importButton"));
    QCOMPARE(stretchOf(customLayout, child<QWidget>(&dialog, "customTextEdit")), 1);
    QCOMPARE(stretchOf(customLayout, child<QWidget>(&dialog, "uniqueCountLabel")), 0);

    auto *blocksLayout = qobject_cast<QVBoxLayout *>(child<QWidget>(&dialog, "blocksPage")->layout());
    QVERIFY(blocksLayout);
    QCOMPARE(blocksLayout->count(), 2);
    auto *blocksRow = qobject_cast<QHBoxLayout *>(blocksLayout->itemAt(0)->layout());
    QVERIFY(blocksRow);
    QCOMPARE(blocksRow->count(), 4);
    QVERIFY(blocksRow->itemAt(1)->spacerItem());
    QCOMPARE(blocksRow->itemAt(2)->widget(), child<QWidget>(&dialog, "selectAllButton"));
    QCOMPARE(blocksRow->itemAt(3)->widget(), child<QWidget>(&dialog, "clearAllButton"));
    QCOMPARE(stretchOf(blocksLayout, child<QWidget>(&dialog, "blockList")), 1);

    auto *buttonBox = child<QDialogButtonBox>(&dialog, "buttonBox");
    QCOMPARE(buttonBox->buttons().size(), 1);
    auto *generate = child<QPushButton>(&dialog, "generateButton");
    QCOMPARE(buttonBox->buttonRole(generate), QDialogButtonBox::AcceptRole);
    QVERIFY(generate->isDefault());
    QCOMPARE(buttonBox->orientation(), Qt::Horizontal);
}

void TestMainWindow::slotTable()
{
    const QMetaObject &meta = VectorFontClipDialog::staticMetaObject;
    QCOMPARE(meta.className(), "VectorFontClipDialog");
    QCOMPARE(meta.superClass(), &QDialog::staticMetaObject);
    const QByteArrayList expected = {
        "onBrowseTtf()",        "onSelectFontDialog()",    "onCustomTextChanged()",  "onExportClicked()",
        "onImportCustomFile()", "onSelectAllPartitions()", "onClearAllPartitions()", "onPreviewChanged()"};
    QCOMPARE(meta.methodCount() - meta.methodOffset(), int(expected.size()));
    for (int i = 0; i < expected.size(); ++i) {
        const QMetaMethod method = meta.method(meta.methodOffset() + i);
        QCOMPARE(method.methodSignature(), expected.at(i));
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Private);
        QCOMPARE(method.returnType(), int(QMetaType::Void));
    }
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
    QCOMPARE(meta.enumeratorCount(), meta.enumeratorOffset());
    QCOMPARE(meta.classInfoCount(), meta.classInfoOffset());
    QCOMPARE(meta.constructorCount(), 0);
}

void TestMainWindow::secondaryLabelsAndPreviewBox()
{
    VectorFontClipDialog dialog(0);
    const QFont dialogFont = dialog.font();
    for (const char *name : {"fontInfoLabel", "previewStatusLabel"}) {
        auto *label = child<QLabel>(&dialog, name);
        QCOMPARE(label->styleSheet(), QStringLiteral("color: gray;"));
        QCOMPARE(label->font().pointSize(), dialogFont.pointSize() - 1);
    }
    auto *preview = child<QLabel>(&dialog, "previewLabel");
    QCOMPARE(preview->minimumSize(), QSize(120, 64));
    QCOMPARE(preview->alignment(), Qt::AlignCenter);
    QCOMPARE(preview->frameShape(), QFrame::Box);
    QCOMPARE(preview->frameShadow(), QFrame::Sunken);
    QCOMPARE(preview->text(), QString());
}

void TestMainWindow::blockListLooksBlack()
{
    VectorFontClipDialog dialog(1);
    auto *list = child<QListWidget>(&dialog, "blockList");
    QCOMPARE(list->selectionMode(), QAbstractItemView::NoSelection);
    QCOMPARE(list->styleSheet(), QStringLiteral("QListWidget { color: black; }"));
    for (QWidget *widget : {static_cast<QWidget *>(list), list->viewport()}) {
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(widget->palette().color(group, QPalette::Text), QColor(Qt::black));
    }
}

void TestMainWindow::previewTextIsLimitedTo64()
{
    VectorFontClipDialog dialog(1);
    auto *preview = child<QLineEdit>(&dialog, "previewEdit");
    QCOMPARE(preview->maxLength(), 64);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    preview->setFocus();
    QTest::keyClicks(preview, QString(70, QLatin1Char('x')));
    QCOMPARE(preview->text(), QString(64, QLatin1Char('x')));
}

void TestMainWindow::enterInOutputNamePressesGenerate()
{
    VectorFontClipDialog dialog(1);
    auto *buttonBox = child<QDialogButtonBox>(&dialog, "buttonBox");
    QSignalSpy accepted(buttonBox, &QDialogButtonBox::accepted);
    QSignalSpy dialogAccepted(&dialog, &QDialog::accepted);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // With no font chosen, generation stops with an error box; whatever it
    // shows is answered so that the window stays the only one open.
    ModalDriver driver(500);
    auto *outputName = child<QLineEdit>(&dialog, "outputNameEdit");
    outputName->setFocus();
    QTest::keyClick(outputName, Qt::Key_Return);
    QCOMPARE(accepted.count(), 1);
    // Generating never closes the window.
    QCOMPARE(dialogAccepted.count(), 0);
    QVERIFY(dialog.isVisible());
}

void TestMainWindow::escapeClosesTheWindow()
{
    VectorFontClipDialog dialog(1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

void TestMainWindow::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
