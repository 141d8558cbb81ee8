#include "ui/mj_param_dialog.h"

#include "base/messages.h"
#include "tools/mandel/tmj0win.h"

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

MJParamDialog::MJParamDialog(TMJ0Win& model, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), model_(model), redraw_(std::move(redraw))
{
    setObjectName(QStringLiteral("JPARAM"));
    setWindowTitle(tr("settings"));
    threshold = new QLineEdit(this);
    maxReps = new QLineEdit(this);
    thickness = new QLineEdit(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("threshhold xx + yy ="), threshold);
    form->addRow(tr("maximum reps"), maxReps);
    auto* group = new QButtonGroup(this);
    const char* names[5] = {"bands", "DEM  thickness (pixels)", "IIM", "blend", "binary"};
    auto* modeBox = new QVBoxLayout;
    for (int i = 0; i < 5; ++i) {
        modes[i] = new QRadioButton(QString::fromLatin1(names[i]), this);
        group->addButton(modes[i], i);
        if (i == 1) {
            auto* row = new QHBoxLayout;
            row->addWidget(modes[i]);
            row->addWidget(thickness);
            modeBox->addLayout(row);
        } else {
            modeBox->addWidget(modes[i]);
        }
    }
    modes[2]->setVisible(model.isJulia()); // inverse iteration draws Julia sets only
    auto* ok = new QPushButton(tr("ok"), this);
    auto* redrawButton = new QPushButton(tr("redraw"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { if (apply()) close(); });
    connect(redrawButton, &QPushButton::clicked, this, &MJParamDialog::apply);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(redrawButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(modeBox);
    layout->addLayout(buttons);
    load();
}

void MJParamDialog::load()
{
    const MJParamTexts t = paramTexts(model_.params());
    threshold->setText(q(t.threshold));
    maxReps->setText(q(t.maxReps));
    thickness->setText(q(t.thickness));
    modes[static_cast<int>(t.mode)]->setChecked(true);
}

bool MJParamDialog::apply()
{
    MJParamTexts t{threshold->text().toStdString(), maxReps->text().toStdString(),
                   thickness->text().toStdString(), DisplayMode::Bands};
    for (int i = 0; i < 5; ++i)
        if (modes[i]->isChecked())
            t.mode = static_cast<DisplayMode>(i);
    const int code = model_.applySettings(t);
    if (code != 0) {
        QMessageBox::warning(this, QString::fromLatin1(kDefaultCaption), q(messageText(code)));
        const MJParamTexts old = paramTexts(model_.params());
        threshold->setText(q(old.threshold));
        thickness->setText(q(old.thickness));
        return false;
    }
    load(); // shows the raised threshold of blend and binary modes
    if (redraw_)
        redraw_();
    return true;
}

} // namespace qx::ui
