#include "window/LvglSettingsRow.h"

#include "common/UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

LvglSettingsRow::LvglSettingsRow(QWidget *parent)
    : QWidget(parent),
      size(new QSpinBox(this)),
      bpp(new QComboBox(this)),
      hinting(new QCheckBox(uiText("Hinting", "微调"), this)),
      compress(new QCheckBox(uiText("Compress", "压缩"), this)),
      kerning(new QCheckBox(uiText("Kerning", "字距调整"), this)),
      symbol(new QLineEdit(this))
{
    setObjectName(QStringLiteral("lvglSettings"));
    const LvglOptions defaults;
    size->setObjectName(QStringLiteral("lvglSizeSpin"));
    size->setRange(lvglMinimumSize, lvglMaximumSize);
    size->setValue(16);
    size->setSuffix(QStringLiteral(" px"));
    size->setToolTip(uiText("The one pixel size every glyph is rasterized at", "所有字形栅格化所用的像素大小"));
    bpp->setObjectName(QStringLiteral("lvglBppCombo"));
    for (int bits : {1, 2, 4, 8})
        bpp->addItem(QString::number(bits), bits);
    bpp->setCurrentIndex(bpp->findData(defaults.bpp));
    bpp->setToolTip(uiText("Bits per pixel: 1 is black and white, 4 gives 16 levels of grey",
                           "每像素位数：1 为黑白，4 为 16 级灰度"));
    hinting->setObjectName(QStringLiteral("lvglHintingCheck"));
    hinting->setChecked(defaults.hinting);
    hinting->setToolTip(uiText("FreeType's auto-hinter in light mode, as lv_font_conv does by default",
                               "使用 FreeType 自动微调的轻量模式，与 lv_font_conv 默认相同"));
    compress->setObjectName(QStringLiteral("lvglCompressCheck"));
    compress->setChecked(defaults.compress);
    compress->setToolTip(uiText("LVGL's RLE compression of the bitmaps (not at 1 bit per pixel)",
                                "使用 LVGL 的 RLE 压缩位图（每像素 1 位时不压缩）"));
    kerning->setObjectName(QStringLiteral("lvglKerningCheck"));
    kerning->setChecked(defaults.kerning);
    symbol->setObjectName(QStringLiteral("lvglSymbolEdit"));
    symbol->setPlaceholderText(uiText("C name (default: output name)", "C 名称（默认取输出文件名）"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *sizeCaption = new QLabel(uiText("Size:", "大小:"), this);
    sizeCaption->setBuddy(size);
    auto *bppCaption = new QLabel(uiText("Bits per pixel:", "每像素位数:"), this);
    bppCaption->setBuddy(bpp);
    layout->addWidget(sizeCaption);
    layout->addWidget(size);
    layout->addWidget(bppCaption);
    layout->addWidget(bpp);
    layout->addWidget(hinting);
    layout->addWidget(compress);
    layout->addWidget(kerning);
    layout->addWidget(symbol, 1);

    connect(size, &QSpinBox::valueChanged, this, &LvglSettingsRow::optionsChanged);
    connect(bpp, &QComboBox::currentIndexChanged, this, &LvglSettingsRow::optionsChanged);
    for (QCheckBox *box : {hinting, compress, kerning})
        connect(box, &QCheckBox::toggled, this, &LvglSettingsRow::optionsChanged);
}

LvglOptions LvglSettingsRow::options() const
{
    LvglOptions options;
    options.size = size->value();
    options.bpp = bpp->currentData().toInt();
    options.hinting = hinting->isChecked();
    options.compress = compress->isChecked();
    options.kerning = kerning->isChecked();
    options.symbol = symbol->text().trimmed();
    return options;
}

void LvglSettingsRow::setOptions(const LvglOptions &options)
{
    {
        const QSignalBlocker blockers[] = {QSignalBlocker(size),    QSignalBlocker(bpp),
                                           QSignalBlocker(hinting), QSignalBlocker(compress),
                                           QSignalBlocker(kerning), QSignalBlocker(symbol)};
        size->setValue(options.size);
        bpp->setCurrentIndex(bpp->findData(options.bpp));
        hinting->setChecked(options.hinting);
        compress->setChecked(options.compress);
        kerning->setChecked(options.kerning);
        symbol->setText(options.symbol);
    }
    Q_EMIT optionsChanged();
}
