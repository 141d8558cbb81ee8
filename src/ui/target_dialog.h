#pragma once
// The modeless TARGET dialog of the map tools: the kind and colouring
// pattern of the current target, its texts (named and enabled by kind),
// the sectors switch, and new, delete, next, undo, find, ok and draw.
#include "model/target_editor.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qx::ui {

class TargetDialog : public QDialog {
    Q_OBJECT
public:
    TargetDialog(TargetEditor& model, std::function<void()> redraw, QWidget* parent);
    // Shows the window's current target.
    void load();
    // "ok": the texts become the current target; false (and the message)
    // when the window refuses them.
    bool apply();
    // "find": the SEARCH dialog's answer, then the search.
    void find(int target, bool randomColour);

    std::array<QRadioButton*, 4> kind{};
    std::array<QRadioButton*, 3> pattern{};
    std::array<QLabel*, 5> labels{};
    std::array<QLineEdit*, 5> texts{};
    QCheckBox* sectors = nullptr;
    QLineEdit* sectorCount = nullptr;
    QPushButton* newButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* nextButton = nullptr;
    QPushButton* undoButton = nullptr;
    QPushButton* findButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* drawButton = nullptr;

private:
    TargetFormState state() const;
    void relayout();
    void showCaption();
    void askFind();

    TargetEditor& model_;
    std::function<void()> redraw_;
};

} // namespace qx::ui
