#include "window/OutputFormatChooser.h"

#include "common/UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

OutputFormatChooser::OutputFormatChooser(QWidget *parent)
    : QWidget(parent), formats(new QComboBox(this)), css(new QCheckBox(this)), styles(new QCheckBox(this))
{
    setObjectName(QStringLiteral("outputFormat"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(uiText("Output format:", "输出格式:"), this);
    formats->setObjectName(QStringLiteral("outputFormatCombo"));
    formats->addItem(QStringLiteral("TrueType/OpenType (.ttf)"), int(OutputFormat::TrueType));
    formats->addItem(QStringLiteral("WOFF2 (.woff2)"), int(OutputFormat::Woff2));
    formats->addItem(QStringLiteral("C array (.h)"), int(OutputFormat::CArray));
    formats->addItem(uiText("LVGL font (.c)", "LVGL 字库 (.c)"), int(OutputFormat::Lvgl));
    formats->addItem(uiText("LVGL binary font (.bin)", "LVGL 二进制字库 (.bin)"), int(OutputFormat::LvglBin));
    formats->addItem(uiText("WOFF2 slices for the web", "网页分片 WOFF2"), int(OutputFormat::Woff2Slices));
    caption->setBuddy(formats);
    css->setObjectName(QStringLiteral("writeCssCheck"));
    css->setText(uiText("Also write CSS", "同时生成 CSS"));
    css->setEnabled(false);
    formats->setToolTip(uiText("TrueType for apps and systems, WOFF2 for web pages, a C array for firmware, "
                               "LVGL bitmap fonts for displays without a TrueType renderer",
                               "TrueType 用于应用与系统，WOFF2 用于网页，C 数组用于固件，"
                               "LVGL 点阵字库用于没有 TrueType 渲染器的显示屏"));
    css->setToolTip(uiText("Write an @font-face style sheet beside the WOFF2 file",
                           "在 WOFF2 文件旁写出 @font-face 样式表"));
    styles->setObjectName(QStringLiteral("allStylesCheck"));
    styles->setText(uiText("All styles", "全部样式"));
    styles->setToolTip(uiText("Slice every installed style of the font's family into one style sheet",
                              "将该字体族已安装的全部样式切片到同一样式表"));
    styles->setVisible(false);
    connect(formats, &QComboBox::currentIndexChanged, this, [this] {
        css->setEnabled(format() == OutputFormat::Woff2);
        // Slices always come with their style sheet.
        css->setVisible(format() != OutputFormat::Woff2Slices);
        styles->setVisible(format() == OutputFormat::Woff2Slices);
    });
    connect(formats, &QComboBox::currentIndexChanged, this, &OutputFormatChooser::formatChanged);
    layout->addWidget(caption);
    layout->addWidget(formats);
    layout->addWidget(css);
    layout->addWidget(styles);
}

OutputFormat OutputFormatChooser::format() const
{
    return OutputFormat(formats->currentData().toInt());
}

bool OutputFormatChooser::writeCss() const
{
    return css->isEnabled() && css->isChecked();
}

void OutputFormatChooser::setFormat(OutputFormat format, bool writeCss)
{
    const int index = formats->findData(int(format));
    if (index >= 0)
        formats->setCurrentIndex(index);
    css->setChecked(writeCss);
}

bool OutputFormatChooser::allStyles() const
{
    return format() == OutputFormat::Woff2Slices && styles->isChecked();
}
