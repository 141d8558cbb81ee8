#include "ui/text_window.h"

#include "base/file_io.h"
#include "base/messages.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>

namespace qx::ui {

TextWindow::TextWindow(const QString& title, QWidget* parent)
    : QMainWindow(parent, Qt::Window), edit_(new QPlainTextEdit(this))
{
    setWindowTitle(title);
    edit_->setReadOnly(true);
    edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    setCentralWidget(edit_);
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("Save &as ..."), QKeySequence::SaveAs, this, &TextWindow::saveAs);
    file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
    resize(620, 520);
}

void TextWindow::setText(const QString& text)
{
    edit_->setPlainText(text);
}

QString TextWindow::text() const
{
    return edit_->toPlainText();
}

bool TextWindow::saveTo(const QString& path) const
{
    QString crlf = text();
    crlf.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return writeFileAtomically(path.toStdString(), crlf.toStdString());
}

void TextWindow::saveAs()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save text"), QString(), tr("Text files (*.txt)"));
    if (path.isEmpty())
        return;
    if (!saveTo(path))
        QMessageBox::warning(this, QString::fromLatin1(kDefaultCaption),
                             QString::fromStdString(messageText(ErrCannotSaveFile)));
}

} // namespace qx::ui
