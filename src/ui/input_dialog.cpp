#include "ui/input_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qx::ui {

namespace {
QDialogButtonBox* okCancel(QDialog* d)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
    QObject::connect(buttons, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return buttons;
}
} // namespace

InputDialog::InputDialog(const QString& caption, const QStringList& prompts, const QStringList& values,
                         QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    auto* form = new QFormLayout;
    for (int i = 0; i < prompts.size(); ++i) {
        auto* edit = new QLineEdit(i < values.size() ? values[i] : QString(), this);
        edit->setMinimumWidth(260);
        form->addRow(prompts[i], edit);
        fields_.push_back(edit);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

QStringList InputDialog::values() const
{
    QStringList v;
    for (QLineEdit* e : fields_)
        v << e->text();
    return v;
}

ChoiceDialog::ChoiceDialog(const QString& caption, const QStringList& items, int current, QWidget* parent)
    : QDialog(parent), group_(new QButtonGroup(this))
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        group_->addButton(b, i);
        b->setChecked(i == current);
        layout->addWidget(b);
    }
    layout->addWidget(okCancel(this));
}

int ChoiceDialog::choice() const
{
    return group_->checkedId();
}

QString qtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        const int paren = desc.indexOf(QLatin1Char('('));
        if (paren >= 0)
            desc = desc.left(paren);
        out << desc.trimmed() + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                   QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

} // namespace qx::ui
