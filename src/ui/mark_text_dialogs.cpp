#include "ui/mark_text_dialogs.h"

#include "base/messages.h"
#include "model/tkvawinm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace qx::ui {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QLineEdit* e) { return e->text().toStdString(); }

// "ok" applies and closes, "apply" applies, "close" closes.
template <class D> QHBoxLayout* buttonRow(D* dialog)
{
    auto* ok = new QPushButton(QObject::tr("ok"), dialog);
    auto* apply = new QPushButton(QObject::tr("apply"), dialog);
    auto* close = new QPushButton(QObject::tr("close"), dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog] { if (dialog->apply()) dialog->close(); });
    QObject::connect(apply, &QPushButton::clicked, dialog, [dialog] { dialog->apply(); });
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::close);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(apply);
    row->addWidget(close);
    return row;
}

bool report(QWidget* parent, int code, const std::function<void()>& recompose)
{
    if (code != 0) {
        QMessageBox::warning(parent, QString::fromLatin1(kDefaultCaption), q(messageText(code % 1000)));
        return false;
    }
    if (recompose)
        recompose();
    return true;
}

} // namespace

MarkAttDialog::MarkAttDialog(TKVAWinm& model, std::function<void()> recompose, QWidget* parent)
    : QDialog(parent), model_(model), recompose_(std::move(recompose))
{
    setObjectName(QStringLiteral("MARKATT"));
    setWindowTitle(tr("marker attributes"));
    setModal(false);
    cross = new QRadioButton(tr("cross"), this);
    box = new QRadioButton(tr("box"), this);
    big = new QCheckBox(tr("big"), this);
    size = new QLineEdit(this);
    colour = new QLineEdit(this);
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(cross);
    kinds->addWidget(box);
    kinds->addWidget(big);
    auto* form = new QFormLayout(this);
    form->addRow(kinds);
    form->addRow(tr("size"), size);
    form->addRow(tr("colour"), colour);
    form->addRow(buttonRow(this));
    load();
}

void MarkAttDialog::load()
{
    const auto t = TKVAWinm::markAttributeTexts(model_.markAttributes());
    (t[0] == "1" ? box : cross)->setChecked(true);
    big->setChecked(t[1] == "1");
    size->setText(q(t[2]));
    colour->setText(q(t[3]));
}

bool MarkAttDialog::apply()
{
    const int code = model_.applyMarkAttributeTexts(
        {box->isChecked() ? "1" : "0", big->isChecked() ? "1" : "0", s(size), s(colour)});
    return report(this, code, recompose_);
}

TextDialog::TextDialog(TKVAWinm& model, std::function<void()> recompose, QWidget* parent)
    : QDialog(parent), model_(model), recompose_(std::move(recompose))
{
    setObjectName(QStringLiteral("NEWTEXT"));
    setWindowTitle(tr("text"));
    setModal(false);
    auto* form = new QFormLayout(this);
    for (QLineEdit** e : {&text, &x, &y, &angle, &size, &colour})
        *e = new QLineEdit(this);
    text->setMaxLength(255);
    opaque = new QCheckBox(tr("opaque"), this);
    form->addRow(tr("text"), text);
    form->addRow(tr("x ="), x);
    form->addRow(tr("y ="), y);
    form->addRow(tr("angle (degrees)"), angle);
    form->addRow(tr("size (points)"), size);
    form->addRow(tr("colour"), colour);
    form->addRow(opaque);
    form->addRow(buttonRow(this));
    load();
}

void TextDialog::load()
{
    const auto t = model_.newLabelTexts();
    QLineEdit* fields[] = {text, x, y, angle, size, colour};
    for (size_t i = 0; i < 6; ++i)
        fields[i]->setText(q(t[i]));
    opaque->setChecked(t[6] == "1");
}

bool TextDialog::apply()
{
    const int code =
        model_.addLabelFromTexts({s(text), s(x), s(y), s(angle), s(size), s(colour), opaque->isChecked() ? "1" : "0"});
    return report(this, code, recompose_);
}

} // namespace qx::ui
