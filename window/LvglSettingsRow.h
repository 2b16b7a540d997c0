#pragma once

#include "lvgl/LvglOptions.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

// How an LVGL font is made, shown beside the output format while an LVGL
// format is chosen: pixel size, bits per pixel, hinting, compression,
// kerning and the C name.
class LvglSettingsRow : public QWidget
{
    Q_OBJECT

public:
    explicit LvglSettingsRow(QWidget *parent = nullptr);

    LvglOptions options() const;
    // Shows `options`, as an opened recipe holds them; emits optionsChanged() once.
    void setOptions(const LvglOptions &options);

Q_SIGNALS:
    void optionsChanged();

private:
    QSpinBox *size;
    QComboBox *bpp;
    QCheckBox *hinting;
    QCheckBox *compress;
    QCheckBox *kerning;
    QLineEdit *symbol;
};
