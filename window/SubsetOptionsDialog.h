#pragma once

#include "font/FontFace.h"
#include "subset/SubsetOptions.h"

#include <QDialog>
#include <QList>

class QAbstractButton;
class QCheckBox;
class QDoubleSpinBox;
class QGroupBox;
class QVBoxLayout;

// What a subset keeps besides its characters: layout, hinting, name records
// and, for a variable face, its axes. Each choice carries one line saying
// what it costs or buys.
class SubsetOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    SubsetOptionsDialog(const SubsetOptions &options, const FontFace &face, QWidget *parent = nullptr);

    SubsetOptions options() const;

private:
    QAbstractButton *addChoice(QVBoxLayout *layout, QAbstractButton *button, const QString &explanation);
    QGroupBox *makeAxesGroup(const FontFace &face, const SubsetOptions &options);

    QList<QAbstractButton *> layoutButtons; // in the order of LayoutChoice
    QList<QAbstractButton *> nameButtons;   // in the order of NameChoice
    QCheckBox *dropHinting;
    QCheckBox *pinAxes = nullptr;
    QList<QString> axisTags;
    QList<QDoubleSpinBox *> axisValues;
};
