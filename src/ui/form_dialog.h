#pragma once
// The modeless settings dialog of any tool, built from the tool's form
// (model/dialog_form.h): a line edit per field, one radio button per choice
// with a field beside it where the form says so, and "ok" and "redraw".
// "redraw" applies and stays open, "ok" applies and closes; a refused entry
// shows its message and puts back the fields the form names.
#include "model/dialog_form.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

class QLineEdit;
class QRadioButton;

namespace qx::ui {

class FormDialog : public QDialog {
    Q_OBJECT
public:
    FormDialog(std::unique_ptr<DialogForm> form, std::function<void()> redraw, QWidget* parent);
    // Shows the window's current values.
    void load();
    // Applies the fields; on an error shows it, puts back the fields the form names, returns false.
    bool apply();
    std::string formName() const { return form_->name(); }

    std::vector<QLineEdit*> fields;
    std::vector<QRadioButton*> choices;

private:
    std::unique_ptr<DialogForm> form_;
    std::function<void()> redraw_;
};

} // namespace qx::ui
