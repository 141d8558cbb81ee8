#pragma once
// The COLORTRACK dialog: edits a colour sequence, its gray sequence or the
// binary colours of a window. It works on a copy of the model's edit;
// "keep edits" hands the copy back, "discard" drops it.
#include "model/colour_editor.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qx {
class TVorlTWin;
}

namespace qx::ui {

class ColourTrackDialog : public QDialog {
    Q_OBJECT
public:
    ColourTrackDialog(TVorlTWin& model, std::function<void()> redraw, QWidget* parent);

    // Controls by their resource ids, for tests.
    QComboBox* anchorCount;    // 295
    QComboBox* interpolations; // 296
    QComboBox* currentAnchor;  // 297
    QLabel* anchorSwatch;
    QLineEdit* red;            // 211
    QLineEdit* green;          // 212
    QLineEdit* blue;           // 213
    QPushButton* see;          // 591
    QLabel* previewSwatch;
    QPushButton* set;          // 592
    QPushButton* keep;         // 91
    QPushButton* discard;      // 2
    QLabel* countCaption;
    QLabel* interpolationCaption;

    const ColourEdit& edit() const { return edit_; }
    // "see": shows the typed colour; false (and the error) for a bad field.
    bool seeTyped();
    // "set": stores the typed colour in the selected anchor.
    bool setTyped();
    void keepEdits();

private:
    void fillLists();
    void applyModeVisibility();
    void showAnchor(int index);
    void fillAnchorList();
    static void paintSwatch(QLabel* swatch, Rgb c);

    TVorlTWin& model_;
    std::function<void()> redraw_;
    ColourEdit edit_;
};

} // namespace qx::ui
