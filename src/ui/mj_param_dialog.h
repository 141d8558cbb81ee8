#pragma once
// The settings dialog of the Mandelbrot and Julia windows (JPARAM):
// threshold, maximum reps (with "@1" for anti-aliasing), DEM thickness and
// the display mode. "redraw" applies and stays open, "ok" applies and closes.
#include <QDialog>
#include <functional>

class QLineEdit;
class QRadioButton;

namespace qx {
class TMJ0Win;
}

namespace qx::ui {

class MJParamDialog : public QDialog {
    Q_OBJECT
public:
    MJParamDialog(TMJ0Win& model, std::function<void()> redraw, QWidget* parent);
    void load();
    // Applies the fields; on an error shows it, puts back threshold and thickness, returns false.
    bool apply();

    QLineEdit* threshold;
    QLineEdit* maxReps;
    QLineEdit* thickness;
    QRadioButton* modes[5]; // bands, DEM, IIM, blend, binary

private:
    TMJ0Win& model_;
    std::function<void()> redraw_;
};

} // namespace qx::ui
