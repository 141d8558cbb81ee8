#pragma once
// The modeless FNLIB ("user-defined functions") and CALCD ("constant
// manager") dialogs of a window's expression state. Their rules live in
// model/library_form.h and TFuncWin.
#include <QDialog>
#include <array>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace qx {
class TFuncWin;
}

namespace qx::ui {

class FunctionLibraryDialog : public QDialog {
    Q_OBJECT
public:
    FunctionLibraryDialog(TFuncWin& model, QWidget* parent);
    // "enter": true when the function was taken; otherwise the message and
    // the focus on the field at fault.
    bool enter();
    void editSelected();
    void deleteSelected();
    void refresh();

    QLineEdit* name = nullptr;
    std::array<QRadioButton*, 3> arity{};
    std::array<QLineEdit*, 3> definition{};
    QListWidget* list = nullptr;
    QPushButton* enterButton = nullptr;

private:
    TFuncWin& model_;
    int editing_ = -1;
};

class ConstantDialog : public QDialog {
    Q_OBJECT
public:
    ConstantDialog(TFuncWin& model, QWidget* parent);
    // "display": the current values of the chosen letters.
    void display();
    // "save": true when stored; otherwise the message.
    bool save();

    QRadioButton* pairMode = nullptr; // "x+yi"
    QRadioButton* zMode = nullptr;    // "z"
    QComboBox* letter = nullptr;
    QComboBox* secondLetter = nullptr;
    QLineEdit* value = nullptr;
    QLineEdit* secondValue = nullptr;

private:
    void modeChanged();
    int slot(const QComboBox* box) const;

    TFuncWin& model_;
};

} // namespace qx::ui
