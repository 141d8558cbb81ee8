#pragma once
// The modeless settings dialog of any tool, built from the tool's form
// (model/dialog_form.h): a line edit, check box, drop-down list or radio
// row per field, one radio button per choice
// with a field beside it where the form says so, and "ok" and "redraw".
// "redraw" applies and stays open, "ok" applies and closes; a refused entry
// shows its message and puts back the fields the form names. runModal shows
// a form as a modal dialog with "ok" and "cancel" instead.
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
    FormDialog(std::unique_ptr<DialogForm> form, std::function<void()> redraw, QWidget* parent,
               bool modal = false);
    // The form as a modal dialog: true once "ok" applied it without an error,
    // false on "cancel" (a refused entry keeps the dialog open).
    static bool runModal(DialogForm& form, QWidget* parent);
    // Shows the window's current values.
    void load();
    // Applies the fields; on an error shows it, puts back the fields the form names, returns false.
    bool apply();
    std::string formName() const { return form_->name(); }

    // The text of field i, whatever edits it (a check box gives "1" or "0",
    // a list or radio row its chosen item), and setting it.
    std::string fieldText(size_t i) const;
    void setFieldText(size_t i, const std::string& text);

    std::vector<QLineEdit*> fields; // the line edits; null for the other kinds
    std::vector<QRadioButton*> choices;

private:
    std::vector<QWidget*> editors_; // the widget of each field
    std::vector<FieldKind> kinds_;
    std::vector<std::vector<std::string>> items_;
    std::unique_ptr<DialogForm> form_;
    std::function<void()> redraw_;
};

} // namespace qx::ui
