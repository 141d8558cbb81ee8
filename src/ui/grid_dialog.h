#pragma once
// The modeless SETGRID dialog: axes, ticks, scales and the rectangular grid.
#include "graphics/grid_settings.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qx {
class TGridWin;
}

namespace qx::ui {

class GridDialog : public QDialog {
    Q_OBJECT
public:
    GridDialog(TGridWin& model, std::function<void()> recompose, QWidget* parent);
    // Reads every control into the model; shows the error of a bad field. True on success.
    bool apply();
    void load();

    QCheckBox* axesOn;
    QComboBox* axesKind;
    QCheckBox* ticks;
    QCheckBox* scale;
    QCheckBox* letters;
    QCheckBox* arrows;
    QLineEdit* tickLength;
    QLineEdit* xInterval;
    QLineEdit* yInterval;
    QLineEdit* xPlaces;
    QLineEdit* yPlaces;
    QLineEdit* xFrequency;
    QLineEdit* yFrequency;
    QCheckBox* xPi;
    QCheckBox* yPi;
    QCheckBox* quadrant[4];
    QCheckBox* dotted;

private:
    TGridWin& model_;
    std::function<void()> recompose_;
};

} // namespace qx::ui
