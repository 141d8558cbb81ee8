#include "ui/form_dialog.h"

#include "base/messages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
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

namespace {

// A form the dialog uses without owning it.
class BorrowedForm : public DialogForm {
public:
    explicit BorrowedForm(DialogForm& form) : form_(form) {}
    std::string name() const override { return form_.name(); }
    std::string title() const override { return form_.title(); }
    FormState load() const override { return form_.load(); }
    int apply(const std::vector<std::string>& texts, int chosen) override { return form_.apply(texts, chosen); }

private:
    DialogForm& form_;
};

} // namespace

bool FormDialog::runModal(DialogForm& form, QWidget* parent)
{
    FormDialog dialog(std::make_unique<BorrowedForm>(form), nullptr, parent, true);
    return dialog.exec() == QDialog::Accepted;
}

FormDialog::FormDialog(std::unique_ptr<DialogForm> form, std::function<void()> redraw, QWidget* parent, bool modal)
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
        const FormField& f = state.fields[i];
        QWidget* editor = nullptr;
        QLineEdit* line = nullptr;
        switch (f.kind) {
        case FieldKind::Text:
            editor = line = new QLineEdit(this);
            break;
        case FieldKind::Check:
            editor = new QCheckBox(q(f.label), this);
            break;
        case FieldKind::List: {
            auto* box = new QComboBox(this);
            for (const std::string& item : f.items)
                box->addItem(q(item));
            editor = box;
            break;
        }
        case FieldKind::Radio: {
            editor = new QWidget(this);
            auto* row = new QHBoxLayout(editor);
            row->setContentsMargins(0, 0, 0, 0);
            auto* radios = new QButtonGroup(editor);
            for (size_t k = 0; k < f.items.size(); ++k) {
                auto* b = new QRadioButton(q(f.items[k]), editor);
                radios->addButton(b, static_cast<int>(k));
                row->addWidget(b);
            }
            break;
        }
        }
        editor->setObjectName(q(f.label));
        fields.push_back(line);
        editors_.push_back(editor);
        kinds_.push_back(f.kind);
        items_.push_back(f.items);
        if (besideChoice[i])
            continue;
        if (f.kind == FieldKind::Check)
            formLayout->addRow(QString(), editor);
        else
            formLayout->addRow(q(f.label), editor);
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
            row->addWidget(editors_[static_cast<size_t>(c.besideField)]);
            choiceBox->addLayout(row);
        } else {
            choiceBox->addWidget(choices.back());
        }
        choices.back()->setVisible(c.visible);
    }
    auto* ok = new QPushButton(tr("ok"), this);
    auto* redrawButton = new QPushButton(modal ? tr("cancel") : tr("redraw"), this);
    ok->setDefault(true);
    if (modal) {
        setModal(true);
        connect(ok, &QPushButton::clicked, this, [this] { if (apply()) accept(); });
        connect(redrawButton, &QPushButton::clicked, this, &QDialog::reject);
    } else {
        connect(ok, &QPushButton::clicked, this, [this] { if (apply()) close(); });
        connect(redrawButton, &QPushButton::clicked, this, &FormDialog::apply);
    }
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
    for (size_t i = 0; i < editors_.size() && i < state.fields.size(); ++i)
        setFieldText(i, state.fields[i].text);
    for (size_t i = 0; i < choices.size() && i < state.choices.size(); ++i)
        choices[i]->setVisible(state.choices[i].visible);
    if (state.chosen >= 0 && state.chosen < static_cast<int>(choices.size()))
        choices[state.chosen]->setChecked(true);
}

bool FormDialog::apply()
{
    std::vector<std::string> texts;
    for (size_t i = 0; i < editors_.size(); ++i)
        texts.push_back(fieldText(i));
    int chosen = -1;
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i]->isChecked())
            chosen = static_cast<int>(i);
    const int code = form_->apply(texts, chosen);
    if (code != 0) {
        QMessageBox::warning(this, QString::fromLatin1(kDefaultCaption), q(messageText(code)));
        const FormState old = form_->load();
        for (size_t i = 0; i < editors_.size() && i < old.fields.size(); ++i)
            if (old.fields[i].restoreOnError)
                setFieldText(i, old.fields[i].text);
        return false;
    }
    load(); // shows what the window made of the entry (a raised threshold, say)
    if (redraw_)
        redraw_();
    return true;
}

std::string FormDialog::fieldText(size_t i) const
{
    switch (kinds_.at(i)) {
    case FieldKind::Text:
        return fields[i]->text().toStdString();
    case FieldKind::Check:
        return static_cast<QCheckBox*>(editors_[i])->isChecked() ? "1" : "0";
    case FieldKind::List:
        return static_cast<QComboBox*>(editors_[i])->currentText().toStdString();
    case FieldKind::Radio:
        for (QRadioButton* b : editors_[i]->findChildren<QRadioButton*>())
            if (b->isChecked())
                return b->text().toStdString();
        return {};
    }
    return {};
}

void FormDialog::setFieldText(size_t i, const std::string& text)
{
    switch (kinds_.at(i)) {
    case FieldKind::Text:
        fields[i]->setText(q(text));
        break;
    case FieldKind::Check:
        static_cast<QCheckBox*>(editors_[i])->setChecked(text == "1");
        break;
    case FieldKind::List:
        static_cast<QComboBox*>(editors_[i])->setCurrentText(q(text));
        break;
    case FieldKind::Radio:
        for (QRadioButton* b : editors_[i]->findChildren<QRadioButton*>())
            b->setChecked(b->text().toStdString() == text);
        break;
    }
}

} // namespace qx::ui
