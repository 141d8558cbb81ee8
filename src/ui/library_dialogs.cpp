#include "ui/library_dialogs.h"

#include "base/messages.h"
#include "model/library_form.h"
#include "model/tfuncwin.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qx::ui {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

void warn(QWidget* parent, int code)
{
    QMessageBox::warning(parent, QStringLiteral("hmm ..."), q(messageText(code)));
}

} // namespace

// ---- FNLIB

FunctionLibraryDialog::FunctionLibraryDialog(TFuncWin& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setObjectName(QStringLiteral("FNLIB"));
    setWindowTitle(tr("user-defined functions"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    name = new QLineEdit(this);
    name->setMaxLength(20);
    top->addWidget(new QLabel(tr("name"), this));
    top->addWidget(name);
    top->addWidget(new QLabel(tr("(1...8 alphabetic characters)"), this));
    layout->addLayout(top);
    auto* defs = new QGridLayout;
    const char* labels[] = {"name(u) =", "name(u,v) =", "name(u,v,w) ="};
    for (size_t i = 0; i < 3; ++i) {
        arity[i] = new QRadioButton(tr(labels[i]), this);
        definition[i] = new QLineEdit(this);
        definition[i]->setMaxLength(80);
        defs->addWidget(arity[i], static_cast<int>(i), 0);
        defs->addWidget(definition[i], static_cast<int>(i), 1);
    }
    arity[0]->setChecked(true);
    layout->addLayout(defs);
    list = new QListWidget(this);
    layout->addWidget(list);
    auto* buttons = new QHBoxLayout;
    enterButton = new QPushButton(tr("enter"), this);
    auto* edit = new QPushButton(tr("edit"), this);
    auto* del = new QPushButton(tr("delete"), this);
    auto* copy = new QPushButton(tr("copy"), this);
    auto* close = new QPushButton(tr("close"), this);
    for (QPushButton* b : {enterButton, edit, del, copy, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    enterButton->setDefault(true);
    connect(enterButton, &QPushButton::clicked, this, &FunctionLibraryDialog::enter);
    connect(edit, &QPushButton::clicked, this, &FunctionLibraryDialog::editSelected);
    connect(del, &QPushButton::clicked, this, &FunctionLibraryDialog::deleteSelected);
    connect(copy, &QPushButton::clicked, this, [this] {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
    });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    refresh();
}

void FunctionLibraryDialog::refresh()
{
    list->clear();
    for (const UserFunction& f : model_.library().functions)
        list->addItem(q(libraryLine(f)));
}

bool FunctionLibraryDialog::enter()
{
    size_t checked = 0;
    for (size_t i = 0; i < arity.size(); ++i)
        if (arity[i]->isChecked())
            checked = i;
    ExprContext cx = model_.exprContext();
    const int e = enterUserFunction(cx, name->text().toStdString(), static_cast<int>(checked) + 1,
                                    definition[checked]->text().toStdString(), editing_);
    if (e) {
        warn(this, e);
        (e < 2000 ? name : definition[checked])->setFocus();
        return false;
    }
    model_.setLibrary(cx.library);
    editing_ = -1;
    refresh();
    name->setFocus();
    return true;
}

void FunctionLibraryDialog::editSelected()
{
    const int row = list->currentRow();
    const auto& functions = model_.library().functions;
    if (row < 0 || row >= static_cast<int>(functions.size()))
        return;
    const UserFunction& f = functions[static_cast<size_t>(row)];
    name->setText(q(f.name));
    const size_t i = static_cast<size_t>(std::clamp(f.arity, 1, 3) - 1);
    arity[i]->setChecked(true);
    definition[i]->setText(q(f.definition));
    editing_ = row;
}

void FunctionLibraryDialog::deleteSelected()
{
    const int row = list->currentRow();
    FunctionLibrary lib = model_.library();
    if (row < 0 || row >= static_cast<int>(lib.functions.size()))
        return;
    lib.functions.erase(lib.functions.begin() + row);
    model_.setLibrary(lib);
    editing_ = -1;
    refresh();
}

// ---- CALCD

ConstantDialog::ConstantDialog(TFuncWin& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setObjectName(QStringLiteral("CALCD"));
    setWindowTitle(tr("constant manager"));
    auto* layout = new QVBoxLayout(this);
    auto* modes = new QHBoxLayout;
    pairMode = new QRadioButton(tr("x+yi"), this);
    zMode = new QRadioButton(tr("z"), this);
    modes->addWidget(pairMode);
    modes->addWidget(zMode);
    layout->addLayout(modes);
    const auto letters = [this] {
        auto* box = new QComboBox(this);
        for (int s = kFirstConstantLetter; s <= kLastConstantLetter; ++s)
            box->addItem(QString(QChar('@' + s)));
        return box;
    };
    letter = letters();
    secondLetter = letters();
    secondLetter->setCurrentIndex(1);
    value = new QLineEdit(this);
    secondValue = new QLineEdit(this);
    auto* row = new QHBoxLayout;
    row->addWidget(letter);
    row->addWidget(secondLetter);
    row->addWidget(new QLabel(QStringLiteral("<==>"), this));
    row->addWidget(value);
    row->addWidget(new QLabel(QStringLiteral("+"), this));
    row->addWidget(secondValue);
    row->addWidget(new QLabel(QStringLiteral("i"), this));
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    auto* saveButton = new QPushButton(tr("save"), this);
    auto* displayButton = new QPushButton(tr("display"), this);
    auto* close = new QPushButton(tr("close"), this);
    for (QPushButton* b : {saveButton, displayButton, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(saveButton, &QPushButton::clicked, this, &ConstantDialog::save);
    connect(displayButton, &QPushButton::clicked, this, &ConstantDialog::display);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(pairMode, &QRadioButton::toggled, this, &ConstantDialog::modeChanged);
    // Real windows show one letter and its value.
    zMode->setChecked(true);
    pairMode->setVisible(model_.complexMode());
    zMode->setVisible(model_.complexMode());
    modeChanged();
    display();
}

int ConstantDialog::slot(const QComboBox* box) const
{
    return box->currentIndex() + kFirstConstantLetter;
}

void ConstantDialog::modeChanged()
{
    const bool pair = pairMode->isChecked();
    secondLetter->setVisible(pair);
    secondValue->setVisible(pair);
    display();
}

void ConstantDialog::display()
{
    if (pairMode->isChecked()) {
        // The real part of each letter.
        value->setText(QString::number(static_cast<double>(model_.variable(slot(letter)).re), 'g', 15));
        secondValue->setText(QString::number(static_cast<double>(model_.variable(slot(secondLetter)).re), 'g', 15));
        return;
    }
    value->setText(q(model_.constantText(slot(letter))));
}

bool ConstantDialog::save()
{
    const bool pair = pairMode->isChecked();
    const int e = model_.saveConstants(slot(letter), value->text().toStdString(), slot(secondLetter),
                                       secondValue->text().toStdString(), pair);
    if (e) {
        warn(this, e);
        return false;
    }
    display();
    return true;
}

} // namespace qx::ui
