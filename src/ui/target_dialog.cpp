#include "ui/target_dialog.h"

#include "base/messages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace qx::ui {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

} // namespace

TargetDialog::TargetDialog(TargetEditor& model, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), model_(model), redraw_(std::move(redraw))
{
    setObjectName(QStringLiteral("TARGET"));
    auto* layout = new QVBoxLayout(this);

    auto* kinds = new QGroupBox(tr("kind"), this);
    auto* kindRow = new QHBoxLayout(kinds);
    const char* kindNames[] = {"point", "region", "line", "infinity"};
    for (size_t i = 0; i < kind.size(); ++i) {
        kind[i] = new QRadioButton(tr(kindNames[i]), kinds);
        kindRow->addWidget(kind[i]);
        connect(kind[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                relayout();
        });
    }
    layout->addWidget(kinds);

    auto* patterns = new QGroupBox(tr("colours"), this);
    auto* patternRow = new QHBoxLayout(patterns);
    const char* patternNames[] = {"bands", "blend", "color trap"};
    for (size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = new QRadioButton(tr(patternNames[i]), patterns);
        patternRow->addWidget(pattern[i]);
        connect(pattern[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                relayout();
        });
    }
    layout->addWidget(patterns);

    auto* fields = new QGridLayout;
    for (size_t i = 0; i < texts.size(); ++i) {
        labels[i] = new QLabel(this);
        texts[i] = new QLineEdit(this);
        texts[i]->setMaxLength(255);
        fields->addWidget(labels[i], static_cast<int>(i), 0);
        fields->addWidget(texts[i], static_cast<int>(i), 1);
    }
    sectors = new QCheckBox(tr("sectors"), this);
    sectorCount = new QLineEdit(this);
    sectorCount->setMaximumWidth(60);
    fields->addWidget(sectors, 5, 0);
    fields->addWidget(sectorCount, 5, 1, Qt::AlignLeft);
    connect(sectors, &QCheckBox::toggled, this, [this] { relayout(); });
    layout->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* text) {
        auto* b = new QPushButton(tr(text), this);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    newButton = button("new");
    deleteButton = button("delete");
    nextButton = button("next");
    undoButton = button("undo");
    findButton = button("find");
    okButton = button("ok");
    drawButton = button("draw");
    layout->addLayout(buttons);

    connect(newButton, &QPushButton::clicked, this, [this] {
        if (!model_.newTargetCommand())
            QMessageBox::warning(this, tr("hmm ..."), q(messageText(17)));
        load();
    });
    connect(deleteButton, &QPushButton::clicked, this, [this] {
        model_.deleteTargetCommand();
        load();
    });
    connect(nextButton, &QPushButton::clicked, this, [this] {
        model_.nextTarget();
        load();
    });
    connect(undoButton, &QPushButton::clicked, this, [this] {
        model_.undoTargets();
        load();
    });
    connect(findButton, &QPushButton::clicked, this, [this] { askFind(); });
    connect(okButton, &QPushButton::clicked, this, [this] { apply(); });
    connect(drawButton, &QPushButton::clicked, this, [this] {
        if (apply() && redraw_)
            redraw_();
    });
    load();
}

TargetFormState TargetDialog::state() const
{
    TargetFormState s;
    for (size_t i = 0; i < kind.size(); ++i)
        if (kind[i]->isChecked())
            s.kind = static_cast<int>(i);
    for (size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i]->isChecked())
            s.pattern = static_cast<int>(i);
    for (size_t i = 0; i < texts.size(); ++i)
        s.texts[i] = texts[i]->text().toStdString();
    s.sectors = sectors->isChecked();
    s.sectorCount = sectorCount->text().toStdString();
    return s;
}

void TargetDialog::relayout()
{
    const TargetFormState s = state();
    const TargetFieldLayout l = model_.targetLayout(s);
    for (size_t i = 0; i < texts.size(); ++i) {
        labels[i]->setText(q(l.labels[i]));
        texts[i]->setEnabled(l.enabled[i]);
    }
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i]->setEnabled(l.patterns[i]);
    sectors->setEnabled(l.sectors);
    sectorCount->setEnabled(l.sectors && s.sectors);
}

void TargetDialog::showCaption()
{
    const int n = model_.targetCount();
    setWindowTitle(n == 0 ? tr("targets: none") : tr("target %1 of %2").arg(model_.currentTarget()).arg(n));
}

void TargetDialog::load()
{
    const int n = model_.targetCount();
    const TargetFormState s = model_.currentTargetForm();
    for (QRadioButton* b : kind)
        b->blockSignals(true);
    for (QRadioButton* b : pattern)
        b->blockSignals(true);
    kind[static_cast<size_t>(s.kind)]->setChecked(true);
    pattern[static_cast<size_t>(s.pattern)]->setChecked(true);
    for (QRadioButton* b : kind)
        b->blockSignals(false);
    for (QRadioButton* b : pattern)
        b->blockSignals(false);
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i]->setText(q(s.texts[i]));
    sectors->blockSignals(true);
    sectors->setChecked(s.sectors);
    sectors->blockSignals(false);
    sectorCount->setText(q(s.sectorCount));
    okButton->setEnabled(n > 0);
    drawButton->setEnabled(true);
    deleteButton->setEnabled(n > 0);
    relayout();
    showCaption();
}

bool TargetDialog::apply()
{
    if (model_.targetCount() == 0)
        return true;
    if (const int e = model_.applyTargetForm(state())) {
        QMessageBox::warning(this, tr("hmm ..."), q(messageText(e)));
        return false;
    }
    return true;
}

void TargetDialog::askFind()
{
    QDialog search(this);
    search.setObjectName(QStringLiteral("SEARCH"));
    search.setWindowTitle(tr("targets"));
    auto* form = new QFormLayout(&search);
    auto* count = new QSpinBox(&search);
    count->setRange(1, 31);
    count->setValue(std::max(model_.expectedTargets(), model_.targetCount() + 1));
    auto* random = new QCheckBox(tr("random color"), &search);
    form->addRow(tr("increase the number to"), count);
    form->addRow(random);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &search);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, &search, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &search, &QDialog::reject);
    if (search.exec() != QDialog::Accepted)
        return;
    find(count->value(), random->isChecked());
}

void TargetDialog::find(int target, bool randomColour)
{
    if (model_.findTargetsCommand(target, randomColour) == 0)
        return;
    // The search runs in the background: show what it found when it ends.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll] {
        if (model_.findRunning())
            return;
        poll->deleteLater();
        load();
    });
    poll->start(50);
}

} // namespace qx::ui
