#include "window/SubsetOptionsDialog.h"

#include "common/UiText.h"
#include "font/VariationAxes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The slider moves in hundredths, enough for any axis a user types by hand.
constexpr double sliderSteps = 100.0;

QLabel *explanationLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setIndent(22);
    label->setStyleSheet(QStringLiteral("color: gray;"));
    return label;
}

int checkedIndex(const QList<QAbstractButton *> &buttons)
{
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons.at(i)->isChecked())
            return i;
    }
    return 0;
}

} // namespace

SubsetOptionsDialog::SubsetOptionsDialog(const SubsetOptions &options, const FontFace &face, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(uiText("Options", "选项"));
    auto *mainLayout = new QVBoxLayout(this);

    auto *layoutGroup = new QGroupBox(uiText("Layout", "排版特性"), this);
    auto *layoutBox = new QVBoxLayout(layoutGroup);
    auto *layoutChoices = new QButtonGroup(this);
    layoutButtons = {
        addChoice(layoutBox, new QRadioButton(uiText("Keep every feature of the font", "保留字体的全部特性")),
                  uiText("For browsers and apps with a full shaper, as the tool always did.",
                         "适合浏览器和带完整排版引擎的应用，即以往的做法。")),
        addChoice(layoutBox, new QRadioButton(uiText("Keep common features only", "仅保留常用特性")),
                  uiText("hb-subset's common set: no palt, ruby, jp78, alternates and the like.",
                         "hb-subset 的常用特性集：不含 palt、注音、jp78、替代字形等。")),
        addChoice(layoutBox,
                  new QRadioButton(uiText("Drop layout tables (smallest; no kerning, no vertical or "
                                          "proportional forms)",
                                          "去掉排版表（最小；无字距调整，无竖排或比例字形）")),
                  uiText("GSUB, GPOS, GDEF, BASE, JSTF, kern, morx and kerx go; for simple rasterizers.",
                         "去掉 GSUB、GPOS、GDEF、BASE、JSTF、kern、morx、kerx：适合简单的光栅化器。"))};
    for (QAbstractButton *button : std::as_const(layoutButtons))
        layoutChoices->addButton(button);
    layoutButtons.at(int(options.layout))->setChecked(true);
    mainLayout->addWidget(layoutGroup);

    auto *hintingGroup = new QGroupBox(uiText("Hinting", "微调"), this);
    auto *hintingBox = new QVBoxLayout(hintingGroup);
    dropHinting = new QCheckBox(uiText("Drop hinting", "去掉微调"));
    dropHinting->setObjectName(QStringLiteral("dropHinting"));
    dropHinting->setChecked(options.dropHinting);
    addChoice(hintingBox, dropHinting,
              uiText("No TrueType instructions or CFF hints; a little softer at small sizes.",
                     "去掉 TrueType 指令与 CFF 提示；小字号下略显模糊。"));
    mainLayout->addWidget(hintingGroup);

    auto *namesGroup = new QGroupBox(uiText("Names", "名称记录"), this);
    auto *namesBox = new QVBoxLayout(namesGroup);
    auto *nameChoices = new QButtonGroup(this);
    nameButtons = {
        addChoice(namesBox, new QRadioButton(uiText("Identification only", "仅标识信息")),
                  uiText("Name IDs 0-6, hb-subset's default: the licence is dropped.",
                         "名称 ID 0-6，hb-subset 的默认值：不含许可证。")),
        addChoice(namesBox, new QRadioButton(uiText("Also keep the licence", "同时保留许可证")),
                  uiText("Adds IDs 13 and 14, the licence text and URL the OFL asks to travel along.",
                         "另加 ID 13 和 14：OFL 等许可证要求随字体附带的许可证文本和网址。")),
        addChoice(namesBox, new QRadioButton(uiText("Keep every name", "保留全部名称")),
                  uiText("Every name record of the source font.", "源字库的全部名称记录。"))};
    for (QAbstractButton *button : std::as_const(nameButtons))
        nameChoices->addButton(button);
    nameButtons.at(int(options.names))->setChecked(true);
    mainLayout->addWidget(namesGroup);

    if (QGroupBox *axes = makeAxesGroup(face, options))
        mainLayout->addWidget(axes);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    mainLayout->addWidget(buttons);
}

QAbstractButton *SubsetOptionsDialog::addChoice(QVBoxLayout *layout, QAbstractButton *button,
                                                const QString &explanation)
{
    layout->addWidget(button);
    layout->addWidget(explanationLabel(explanation, this));
    return button;
}

QGroupBox *SubsetOptionsDialog::makeAxesGroup(const FontFace &face, const SubsetOptions &options)
{
    const QList<VariationAxis> axes = variationAxes(face);
    if (axes.isEmpty())
        return nullptr;
    auto *group = new QGroupBox(uiText("Variable font", "可变字体"), this);
    group->setObjectName(QStringLiteral("axesGroup"));
    auto *grid = new QGridLayout(group);
    pinAxes = new QCheckBox(uiText("Pin the axes at these values", "将各轴固定为以下数值"), group);
    pinAxes->setObjectName(QStringLiteral("pinAxes"));
    grid->addWidget(pinAxes, 0, 0, 1, 3);
    // hb-subset 6.0 instances glyf outlines only, and only all axes at once.
    const bool cff2 = hasCff2Outlines(face);
    const QString note = cff2 ? uiText("hb-subset cannot pin CFF2 outlines: the axes stay variable.",
                                       "hb-subset 无法固定 CFF2 轮廓：各轴保持可变。")
                              : uiText("Unchecked, the font stays variable; checked, one static instance.",
                                       "不勾选则保持可变；勾选则只留一个静态实例。");
    grid->addWidget(explanationLabel(note, group), 1, 0, 1, 3);
    pinAxes->setEnabled(!cff2);
    pinAxes->setChecked(!cff2 && !options.pins.isEmpty());

    for (const VariationAxis &axis : axes) {
        const int row = grid->rowCount();
        double value = axis.defaultValue;
        for (const AxisPin &pin : options.pins) {
            if (pin.tag == axis.tag)
                value = pin.value;
        }
        grid->addWidget(new QLabel(QStringLiteral("%1  %2  (%3 – %4)")
                                       .arg(axis.tag, axis.name, QString::number(axis.minimum),
                                            QString::number(axis.maximum)),
                                   group),
                        row, 0);
        auto *slider = new QSlider(Qt::Horizontal, group);
        slider->setRange(int(std::lround(axis.minimum * sliderSteps)),
                         int(std::lround(axis.maximum * sliderSteps)));
        auto *spin = new QDoubleSpinBox(group);
        spin->setObjectName(QStringLiteral("axis_") + axis.tag.trimmed());
        spin->setDecimals(2);
        spin->setRange(axis.minimum, axis.maximum);
        spin->setValue(value);
        slider->setValue(int(std::lround(value * sliderSteps)));
        connect(slider, &QSlider::valueChanged, spin,
                [spin](int position) { spin->setValue(position / sliderSteps); });
        connect(spin, &QDoubleSpinBox::valueChanged, slider,
                [slider](double typed) { slider->setValue(int(std::lround(typed * sliderSteps))); });
        for (QWidget *widget : {static_cast<QWidget *>(slider), static_cast<QWidget *>(spin)}) {
            widget->setEnabled(pinAxes->isChecked());
            connect(pinAxes, &QCheckBox::toggled, widget, &QWidget::setEnabled);
        }
        grid->addWidget(slider, row, 1);
        grid->addWidget(spin, row, 2);
        axisTags.append(axis.tag);
        axisValues.append(spin);
    }
    return group;
}

SubsetOptions SubsetOptionsDialog::options() const
{
    SubsetOptions chosen;
    chosen.layout = LayoutChoice(checkedIndex(layoutButtons));
    chosen.names = NameChoice(checkedIndex(nameButtons));
    chosen.dropHinting = dropHinting->isChecked();
    if (pinAxes && pinAxes->isChecked()) {
        for (int i = 0; i < axisTags.size(); ++i)
            chosen.pins.append({axisTags.at(i), axisValues.at(i)->value()});
    }
    return chosen;
}
