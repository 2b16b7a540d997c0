#include "ModalDriver.h"
#include "dialog/VectorFontClipDialog.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaMethod>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

namespace {

template <typename T = QWidget> T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

// Every text a user can read in the window, sorted: title, captions, button
// texts, tooltips, placeholders and tab names.
QStringList visibleTexts(VectorFontClipDialog &dialog)
{
    QStringList texts{dialog.windowTitle()};
    for (QLabel *label : dialog.findChildren<QLabel *>())
        texts << label->text();
    for (QAbstractButton *button : dialog.findChildren<QAbstractButton *>())
        texts << button->text() << button->toolTip();
    for (QLineEdit *edit : dialog.findChildren<QLineEdit *>())
        texts << edit->placeholderText();
    auto *tabs = child<QTabWidget>(&dialog, "characterTabs");
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    texts.removeAll(QString());
    texts.sort();
    return texts;
}

// The widgets of a box layout in order, each with its stretch; a nested
// layout shows as "row", a stretch as "stretch".
QStringList layoutItems(QBoxLayout *layout)
{
    QStringList items;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        QString name = item->widget()   ? item->widget()->objectName()
                       : item->layout() ? QStringLiteral("row")
                                        : QStringLiteral("stretch");
        if (name.isEmpty())
            name = QStringLiteral("caption");
        items << QStringLiteral("%1 %2").arg(name).arg(layout->stretch(i));
    }
    return items;
}

QBoxLayout *rowOf(QLayout *layout, int index)
{
    return qobject_cast<QBoxLayout *>(layout->itemAt(index)->layout());
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts();
    void layoutAndLook();
    void slotTable();
    void previewTextIsLimitedTo64();
    void enterInOutputNamePressesGenerate();
    void escapeClosesTheWindow();
    void cleanup();
};

void TestMainWindow::texts_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QStringList>("texts");

    const QList<QPair<const char *, const char *>> texts = {
        {"Corvanta - Vector Font Subset Tool", "Corvanta - 矢量字库裁剪工具"},
        {"Source TTF font:", "待裁剪矢量字库:"},
        {"Select a font file...", "请选择字体文件..."},
        {"System Font", "选择系统字体"},
        {"Select from system font dialog", "从系统字体对话框中选择"},
        {"Browse...", "浏览..."},
        {"Browse for TTF/OTF/TTC file", "浏览选择 TTF/OTF/TTC 文件"},
        {"Output name:", "输出文件名:"},
        {"Name without path, e.g. 12MyFont", "不含路径，示例: 12MyFont"},
        {"Preview text:", "预览字符:"},
        {"Input all characters to keep (Chinese, English, digits, symbols, etc.). Import from file only "
         "supports UTF-8 encoded text.",
         "在此输入要保留的所有字符（支持中英文、数字、符号等）。从文件导入时仅支持 UTF-8 编码文本。"},
        {"Import from file...", "从文件导入..."},
        {"Unique characters: 0", "唯一字符数: 0"},
        {"Custom text", "自定义字符"},
        {"Choose Unicode blocks to keep", "按 Unicode 分区选择需要保留的字符块"},
        {"Select all", "全选"},
        {"Clear all", "全清"},
        {"Unicode blocks", "Unicode 分区"},
        {"Generate subset", "生成字库"},
        {"No valid font selected.", "未选择有效字库。"},
        {"Output format:", "输出格式:"},
        {"Also write CSS", "同时生成 CSS"},
    };
    QStringList english, chinese;
    for (const auto &[inEnglish, inChinese] : texts) {
        english << QString::fromUtf8(inEnglish);
        chinese << QString::fromUtf8(inChinese);
    }
    english.sort();
    chinese.sort();
    QTest::newRow("English") << 1 << english;
    QTest::newRow("Chinese") << 0 << chinese;
    QTest::newRow("any flag but 1 is Chinese") << 2 << chinese;
}

void TestMainWindow::texts()
{
    QFETCH(int, useEnglish);
    QFETCH(QStringList, texts);

    VectorFontClipDialog dialog(useEnglish);
    QCOMPARE(visibleTexts(dialog), texts);
    // The hint is one line, however wide that makes the window.
    QVERIFY(!child<QLabel>(&dialog, "customTextHint")->wordWrap());
}

void TestMainWindow::layoutAndLook()
{
    VectorFontClipDialog dialog(1);
    QLayout *main = dialog.layout();
    QCOMPARE(layoutItems(qobject_cast<QBoxLayout *>(main)),
             QStringList({"row 0", "row 0", "row 0", "fontInfoLabel 0", "previewStatusLabel 0",
                          "characterTabs 1", "buttonBox 0"}));
    QCOMPARE(layoutItems(rowOf(main, 0)),
             QStringList({"caption 0", "fontPathEdit 1", "systemFontButton 0", "browseButton 0"}));
    QCOMPARE(layoutItems(rowOf(main, 1)), QStringList({"caption 0", "outputNameEdit 1", "outputFormat 0"}));
    QCOMPARE(layoutItems(rowOf(main, 2)), QStringList({"caption 0", "previewEdit 0", "previewLabel 1"}));
    QLayout *custom = child(&dialog, "customTextPage")->layout();
    QCOMPARE(layoutItems(qobject_cast<QBoxLayout *>(custom)),
             QStringList({"row 0", "customTextEdit 1", "uniqueCountLabel 0"}));
    QCOMPARE(layoutItems(rowOf(custom, 0)), QStringList({"customTextHint 0", "stretch 0", "importButton 0"}));
    QLayout *blocks = child(&dialog, "blocksPage")->layout();
    QCOMPARE(layoutItems(qobject_cast<QBoxLayout *>(blocks)), QStringList({"row 0", "blockList 1"}));
    QCOMPARE(layoutItems(rowOf(blocks, 0)),
             QStringList({"caption 0", "stretch 0", "selectAllButton 0", "clearAllButton 0"}));
    QCOMPARE(child<QTabWidget>(&dialog, "characterTabs")->currentIndex(), 0);

    auto *buttonBox = child<QDialogButtonBox>(&dialog, "buttonBox");
    auto *generate = child<QPushButton>(&dialog, "generateButton");
    QCOMPARE(buttonBox->buttons(), QList<QAbstractButton *>{generate});
    QCOMPARE(buttonBox->buttonRole(generate), QDialogButtonBox::AcceptRole);
    QVERIFY(generate->isDefault());

    for (const char *name : {"fontInfoLabel", "previewStatusLabel"}) {
        auto *label = child<QLabel>(&dialog, name);
        QCOMPARE(label->styleSheet(), QStringLiteral("color: gray;"));
        QCOMPARE(label->font().pointSize(), dialog.font().pointSize() - 1);
    }
    // The count waits for a font; the preview status already asks for one.
    QCOMPARE(child<QLabel>(&dialog, "fontInfoLabel")->text(), QString());
    auto *preview = child<QLabel>(&dialog, "previewLabel");
    QCOMPARE(preview->minimumSize(), QSize(120, 64));
    QCOMPARE(preview->alignment(), Qt::AlignCenter);
    QCOMPARE(preview->frameShape(), QFrame::Box);
    QCOMPARE(preview->frameShadow(), QFrame::Sunken);

    // Readable black block names whatever the system theme.
    auto *list = child<QListWidget>(&dialog, "blockList");
    QCOMPARE(list->selectionMode(), QAbstractItemView::NoSelection);
    QCOMPARE(list->styleSheet(), QStringLiteral("QListWidget { color: black; }"));
    for (QWidget *widget : {static_cast<QWidget *>(list), list->viewport()}) {
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(widget->palette().color(group, QPalette::Text), QColor(Qt::black));
    }
}

void TestMainWindow::slotTable()
{
    const QMetaObject &meta = VectorFontClipDialog::staticMetaObject;
    QCOMPARE(meta.className(), "VectorFontClipDialog");
    QCOMPARE(meta.superClass(), &QDialog::staticMetaObject);
    QByteArrayList names;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Private);
        QCOMPARE(method.returnType(), int(QMetaType::Void));
        names << method.methodSignature();
    }
    QCOMPARE(names, QByteArrayList({"onBrowseTtf()", "onSelectFontDialog()", "onCustomTextChanged()",
                                    "onExportClicked()", "onImportCustomFile()", "onSelectAllPartitions()",
                                    "onClearAllPartitions()", "onPreviewChanged()"}));
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
    QCOMPARE(meta.enumeratorCount(), meta.enumeratorOffset());
    QCOMPARE(meta.classInfoCount(), meta.classInfoOffset());
}

void TestMainWindow::previewTextIsLimitedTo64()
{
    VectorFontClipDialog dialog(1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *preview = child<QLineEdit>(&dialog, "previewEdit");
    QTest::keyClicks(preview, QString(70, QLatin1Char('x')));
    QCOMPARE(preview->text(), QString(64, QLatin1Char('x')));
}

void TestMainWindow::enterInOutputNamePressesGenerate()
{
    VectorFontClipDialog dialog(1);
    QSignalSpy generate(child<QDialogButtonBox>(&dialog, "buttonBox"), &QDialogButtonBox::accepted);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // Without a font, generating stops with an error box, which is answered.
    ModalDriver driver;
    QString message;
    driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &message));
    QTest::keyClick(child(&dialog, "outputNameEdit"), Qt::Key_Return);
    QCOMPARE(generate.count(), 1);
    QCOMPARE(message, QStringLiteral("Please choose a valid source TTF font file first."));
    // Generating never closes the window.
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
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
