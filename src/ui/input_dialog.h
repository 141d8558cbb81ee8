#pragma once
// The small dialogs every tool uses: one or more labelled text fields, and a
// choice among radio buttons.
#include <QDialog>
#include <QStringList>
#include <vector>

class QLineEdit;
class QButtonGroup;

namespace qx::ui {

class InputDialog : public QDialog {
    Q_OBJECT
public:
    InputDialog(const QString& caption, const QStringList& prompts, const QStringList& values, QWidget* parent);
    QStringList values() const;
    QLineEdit* field(int i) const { return fields_[static_cast<size_t>(i)]; }

private:
    std::vector<QLineEdit*> fields_;
};

class ChoiceDialog : public QDialog {
    Q_OBJECT
public:
    ChoiceDialog(const QString& caption, const QStringList& items, int current, QWidget* parent);
    int choice() const;

private:
    QButtonGroup* group_;
};

// "EPS files (*.EPS)|*.eps|All files|*.*" -> "EPS files (*.eps);;All files (*.*)"
QString qtFileFilter(const QString& filter);

} // namespace qx::ui
