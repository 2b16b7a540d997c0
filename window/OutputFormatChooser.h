#pragma once

#include "subset/OutputFormat.h"

#include <QWidget>

class QCheckBox;
class QComboBox;

// The output format beside the output name, with the style sheet option
// that only a WOFF2 file has and the whole-family option of web slices.
class OutputFormatChooser : public QWidget
{
    Q_OBJECT

public:
    explicit OutputFormatChooser(QWidget *parent = nullptr);

    OutputFormat format() const;
    bool writeCss() const; // false unless the format is WOFF2
    bool allStyles() const; // slices of every installed style of the family; false unless slicing
    void setFormat(OutputFormat format, bool writeCss);

Q_SIGNALS:
    void formatChanged();

private:
    QComboBox *formats;
    QCheckBox *css;
    QCheckBox *styles;
};
