#pragma once
// The modeless MARKATT dialog (marker kind, big, size, colour) and NEWTEXT
// dialog (a free label: text, position, angle, size, colour, opaque). Their
// fields are checked by the model (TKVAWinm / TKVAWint), which shows nothing.
#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace qx {
class TKVAWinm;
}

namespace qx::ui {

class MarkAttDialog : public QDialog {
    Q_OBJECT
public:
    MarkAttDialog(TKVAWinm& model, std::function<void()> recompose, QWidget* parent);
    void load();
    // Reads the controls into the model; shows the error of a bad field. True on success.
    bool apply();

    QRadioButton* cross;
    QRadioButton* box;
    QCheckBox* big;
    QLineEdit* size;
    QLineEdit* colour;

private:
    TKVAWinm& model_;
    std::function<void()> recompose_;
};

class TextDialog : public QDialog {
    Q_OBJECT
public:
    TextDialog(TKVAWinm& model, std::function<void()> recompose, QWidget* parent);
    // Fresh fields: an empty text at the view's centre.
    void load();
    // Adds the label; shows the error of a bad field. True on success.
    bool apply();

    QLineEdit* text;
    QLineEdit* x;
    QLineEdit* y;
    QLineEdit* angle;
    QLineEdit* size;
    QLineEdit* colour;
    QCheckBox* opaque;

private:
    TKVAWinm& model_;
    std::function<void()> recompose_;
};

} // namespace qx::ui
