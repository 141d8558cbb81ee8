#pragma once
// The modeless view dialogs: VIEWCEN (centre and half-width) and VIEWCOR
// (corners). "apply" sets the view and redraws; the dialog stays open.
#include <QDialog>
#include <functional>
#include <vector>

class QLineEdit;

namespace qx {
class TKVAWing;
}

namespace qx::ui {

class ViewDialog : public QDialog {
    Q_OBJECT
public:
    // `redraw` runs after a view was applied.
    ViewDialog(TKVAWing& model, std::function<void()> redraw, QWidget* parent);
    bool byCorners() const { return byCorners_; }
    QLineEdit* field(const QString& name) const;
    // Reads the fields into the model; shows the error of a bad field. True on success.
    bool apply();
    // Puts the model's current view into the fields.
    void load();

private:
    TKVAWing& model_;
    std::function<void()> redraw_;
    bool byCorners_;
    std::vector<QLineEdit*> fields_;
};

} // namespace qx::ui
