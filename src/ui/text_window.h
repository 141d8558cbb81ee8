#pragma once
// A read-only text window for help texts and tables; its text can be saved.
#include <QMainWindow>

class QPlainTextEdit;

namespace qx::ui {

class TextWindow : public QMainWindow {
    Q_OBJECT
public:
    TextWindow(const QString& title, QWidget* parent);
    void setText(const QString& text);
    QString text() const;
    // Writes the text with CR LF line ends; false when the file cannot be written.
    bool saveTo(const QString& path) const;

private:
    void saveAs();
    QPlainTextEdit* edit_;
};

} // namespace qx::ui
