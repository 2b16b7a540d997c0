#pragma once

#include "font/FontFace.h"
#include "subset/SubsetOptions.h"

#include <QPushButton>

#include <functional>

// "Options...": opens the subset options for the current face and keeps what
// was chosen there. Pinned axes belong to the face they were set for.
class SubsetOptionsButton : public QPushButton
{
    Q_OBJECT

public:
    // `currentFace` is asked each time the options open.
    SubsetOptionsButton(std::function<FontFace()> currentFace, QWidget *parent = nullptr);

    // The options to cut `face` with: pins set for another face are left out.
    SubsetOptions optionsFor(const FontFace &face) const;

    // As if chosen in the options for `face`.
    void setOptions(const FontFace &face, const SubsetOptions &options);

public Q_SLOTS:
    // The label says whether a run of `face` would differ from the defaults.
    void showOptionsFor(const FontFace &face);

private:
    void openOptions();

    std::function<FontFace()> currentFace;
    SubsetOptions chosen;
    FontFace pinnedFace;
};
