#pragma once
// A settings dialog as the model sees it: labelled text fields and one group
// of radio choices, loaded from the window and applied to it as texts. The
// Qt layer builds one generic dialog from a form, so the dialog's rules live
// here, next to the window they change, and are tested without a widget.
#include <string>
#include <utility>
#include <vector>

namespace qx {

// How a field is edited: a line of text, a check box (text "1" or "0"), a
// drop-down list or a row of radio buttons (the text is the chosen item).
enum class FieldKind { Text, Check, List, Radio };

struct FormField {
    FormField() = default;
    FormField(std::string l, std::string t, bool restore = false, FieldKind k = FieldKind::Text,
              std::vector<std::string> i = {})
        : label(std::move(l)), text(std::move(t)), restoreOnError(restore), kind(k), items(std::move(i))
    {
    }
    std::string label;
    std::string text;
    bool restoreOnError = false; // a refused apply puts back the window's value
    FieldKind kind = FieldKind::Text;
    std::vector<std::string> items; // List and Radio
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
