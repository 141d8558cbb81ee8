#pragma once
// A settings dialog as the model sees it: labelled text fields and one group
// of radio choices, loaded from the window and applied to it as texts. The
// Qt layer builds one generic dialog from a form, so the dialog's rules live
// here, next to the window they change, and are tested without a widget.
#include <string>
#include <vector>

namespace qx {

struct FormField {
    std::string label;
    std::string text;
    bool restoreOnError = false; // a refused apply puts back the window's value
};

struct FormChoice {
    std::string label;
    bool visible = true;
    int besideField = -1; // the field shown on the choice's line (-1 none)
};

struct FormState {
    std::vector<FormField> fields;
    std::vector<FormChoice> choices;
    int chosen = -1; // index into choices, -1 when the form has none
};

class DialogForm {
public:
    virtual ~DialogForm() = default;
    // The dialog's resource name ("JPARAM") and its title.
    virtual std::string name() const = 0;
    virtual std::string title() const = 0;
    // The fields and choices with the window's current values.
    virtual FormState load() const = 0;
    // Applies the texts (in field order) and the chosen item: 0 and the
    // window changed, or an error code and nothing changed.
    virtual int apply(const std::vector<std::string>& texts, int chosen) = 0;
};

} // namespace qx
