#include "window/SubsetOptionsButton.h"

#include "common/UiText.h"
#include "window/SubsetOptionsDialog.h"

SubsetOptionsButton::SubsetOptionsButton(std::function<FontFace()> currentFace, QWidget *parent)
    : QPushButton(uiText("Options...", "选项..."), parent), currentFace(std::move(currentFace))
{
    setObjectName(QStringLiteral("subsetOptions"));
    setToolTip(uiText("Layout, hinting, names and variable-font axes of the subset",
                      "子集的排版特性、微调、名称记录与可变字体轴"));
    connect(this, &QAbstractButton::clicked, this, &SubsetOptionsButton::openOptions);
}

SubsetOptions SubsetOptionsButton::optionsFor(const FontFace &face) const
{
    SubsetOptions options = chosen;
    if (face != pinnedFace)
        options.pins.clear();
    return options;
}

void SubsetOptionsButton::openOptions()
{
    const FontFace face = currentFace();
    SubsetOptionsDialog dialog(optionsFor(face), face, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    chosen = dialog.options();
    pinnedFace = face;
    showOptionsFor(face);
}

void SubsetOptionsButton::showOptionsFor(const FontFace &face)
{
    // A changed set shows on the button, so a forgotten switch is seen before
    // generating; pins that do not apply to this face change nothing.
    setText(optionsFor(face) == SubsetOptions() ? uiText("Options...", "选项...")
                                                : uiText("Options (changed)...", "选项（已更改）..."));
}

void SubsetOptionsButton::setOptions(const FontFace &face, const SubsetOptions &options)
{
    chosen = options;
    pinnedFace = face;
    showOptionsFor(face);
}
