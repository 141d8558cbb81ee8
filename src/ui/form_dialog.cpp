#include "ui/form_dialog.h"

#include "base/messages.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qx::ui {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
} // namespace

FormDialog::FormDialog(std::unique_ptr<DialogForm> form, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), form_(std::move(form)), redraw_(std::move(redraw))
{
    setObjectName(q(form_->name()));
    setWindowTitle(q(form_->title()));
    const FormState state = form_->load();
    std::vector<bool> besideChoice(state.fields.size(), false);
    for (const FormChoice& c : state.choices)
        if (c.besideField >= 0 && c.besideField < static_cast<int>(besideChoice.size()))
            besideChoice[c.besideField] = true;
    auto* formLayout = new QFormLayout;
    for (size_t i = 0; i < state.fields.size(); ++i) {
        fields.push_back(new QLineEdit(this));
        if (!besideChoice[i])
            formLayout->addRow(q(state.fields[i].label), fields.back());
    }
    auto* group = new QButtonGroup(this);
    auto* choiceBox = new QVBoxLayout;
    for (size_t i = 0; i < state.choices.size(); ++i) {
        const FormChoice& c = state.choices[i];
        choices.push_back(new QRadioButton(q(c.label), this));
        group->addButton(choices.back(), static_cast<int>(i));
        if (c.besideField >= 0 && c.besideField < static_cast<int>(fields.size())) {
            auto* row = new QHBoxLayout;
            row->addWidget(choices.back());
            row->addWidget(fields[c.besideField]);
            choiceBox->addLayout(row);
        } else {
            choiceBox->addWidget(choices.back());
        }
        choices.back()->setVisible(c.visible);
    }
    auto* ok = new QPushButton(tr("ok"), this);
    auto* redrawButton = new QPushButton(tr("redraw"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { if (apply()) close(); });
    connect(redrawButton, &QPushButton::clicked, this, &FormDialog::apply);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(redrawButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(formLayout);
    layout->addLayout(choiceBox);
    layout->addLayout(buttons);
    load();
}

void FormDialog::load()
{
    const FormState state = form_->load();
    for (size_t i = 0; i < fields.size() && i < state.fields.size(); ++i)
        fields[i]->setText(q(state.fields[i].text));
    for (size_t i = 0; i < choices.size() && i < state.choices.size(); ++i)
        choices[i]->setVisible(state.choices[i].visible);
    if (state.chosen >= 0 && state.chosen < static_cast<int>(choices.size()))
        choices[state.chosen]->setChecked(true);
}

bool FormDialog::apply()
{
    std::vector<std::string> texts;
    for (QLineEdit* f : fields)
        texts.push_back(f->text().toStdString());
    int chosen = -1;
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i]->isChecked())
            chosen = static_cast<int>(i);
    const int code = form_->apply(texts, chosen);
    if (code != 0) {
        QMessageBox::warning(this, QString::fromLatin1(kDefaultCaption), q(messageText(code)));
        const FormState old = form_->load();
        for (size_t i = 0; i < fields.size() && i < old.fields.size(); ++i)
            if (old.fields[i].restoreOnError)
                fields[i]->setText(q(old.fields[i].text));
        return false;
    }
    load(); // shows what the window made of the entry (a raised threshold, say)
    if (redraw_)
        redraw_();
    return true;
}

} // namespace qx::ui
