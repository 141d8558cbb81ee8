#include "ui/colour_track_dialog.h"

#include "base/messages.h"
#include "model/tvorltwin.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx::ui {

ColourTrackDialog::ColourTrackDialog(TVorlTWin& model, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), model_(model), redraw_(std::move(redraw)), edit_(model.colourEdit())
{
    setWindowTitle(QString::fromStdString(edit_.title.empty() ? "color path" : edit_.title));
    anchorCount = new QComboBox(this);
    interpolations = new QComboBox(this);
    currentAnchor = new QComboBox(this);
    anchorSwatch = new QLabel(this);
    previewSwatch = new QLabel(this);
    red = new QLineEdit(this);
    green = new QLineEdit(this);
    blue = new QLineEdit(this);
    see = new QPushButton(tr("see"), this);
    set = new QPushButton(tr("set"), this);
    keep = new QPushButton(tr("keep edits"), this);
    discard = new QPushButton(tr("discard"), this);
    countCaption = new QLabel(edit_.mode == ColourEditMode::Binary ? tr("sectors") : tr("anchor points"), this);
    interpolationCaption = new QLabel(tr("point-point interpolations"), this);
    for (QLabel* s : {anchorSwatch, previewSwatch})
        s->setFixedSize(48, 24);

    auto* lists = new QGridLayout;
    lists->addWidget(countCaption, 0, 0);
    lists->addWidget(anchorCount, 0, 1);
    lists->addWidget(interpolationCaption, 1, 0);
    lists->addWidget(interpolations, 1, 1);
    auto* frame = new QGroupBox(tr("current color definition"), this);
    auto* rows = new QGridLayout(frame);
    rows->addWidget(currentAnchor, 0, 0);
    rows->addWidget(anchorSwatch, 0, 1);
    const char* names[3] = {"R", "G", "B"};
    QLineEdit* fields[3] = {red, green, blue};
    for (int i = 0; i < 3; ++i) {
        rows->addWidget(new QLabel(names[i], frame), 1 + i, 0);
        rows->addWidget(fields[i], 1 + i, 1);
    }
    rows->addWidget(see, 4, 0);
    rows->addWidget(previewSwatch, 4, 1);
    rows->addWidget(set, 5, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(keep);
    buttons->addWidget(discard);
    auto* top = new QVBoxLayout(this);
    top->addLayout(lists);
    top->addWidget(frame);
    top->addLayout(buttons);

    fillLists();
    applyModeVisibility();
    connect(anchorCount, &QComboBox::currentIndexChanged, this, [this](int i) {
        setEditCount(edit_, i + minEditCount(edit_.mode));
        fillAnchorList();
    });
    connect(interpolations, &QComboBox::currentIndexChanged, this,
            [this](int i) { setEditInterpolations(edit_, i); });
    connect(currentAnchor, &QComboBox::currentIndexChanged, this, [this](int i) { showAnchor(i); });
    connect(see, &QPushButton::clicked, this, [this] { seeTyped(); });
    connect(set, &QPushButton::clicked, this, [this] { setTyped(); });
    connect(keep, &QPushButton::clicked, this, [this] { keepEdits(); });
    connect(discard, &QPushButton::clicked, this, &QDialog::reject);
}

void ColourTrackDialog::fillLists()
{
    for (int n = minEditCount(edit_.mode); n <= maxEditCount(edit_.mode); ++n)
        anchorCount->addItem(QString::number(n));
    for (int n = 0; n < kMaxSteps; ++n)
        interpolations->addItem(QString::number(n));
    anchorCount->setCurrentIndex(edit_.count - minEditCount(edit_.mode));
    interpolations->setCurrentIndex(edit_.interpolations);
    fillAnchorList();
}

void ColourTrackDialog::fillAnchorList()
{
    const int keepIndex = currentAnchor->currentIndex();
    currentAnchor->blockSignals(true);
    currentAnchor->clear();
    for (int i = 0; i < edit_.count; ++i)
        currentAnchor->addItem(QString::number(i + 1));
    currentAnchor->blockSignals(false);
    const int index = (keepIndex >= 0 && keepIndex < edit_.count) ? keepIndex : 0;
    currentAnchor->setCurrentIndex(index);
    showAnchor(index);
}

// Grays hide the G and B fields; binary colours have no interpolations;
// a single colour has neither list.
void ColourTrackDialog::applyModeVisibility()
{
    const bool grays = edit_.mode == ColourEditMode::Grays;
    const bool binary = edit_.mode == ColourEditMode::Binary;
    const bool single = edit_.mode == ColourEditMode::Single;
    green->setVisible(!grays);
    blue->setVisible(!grays);
    const auto* grid = qobject_cast<QGridLayout*>(green->parentWidget()->layout());
    for (int row : {2, 3})
        if (grid && grid->itemAtPosition(row, 0))
            grid->itemAtPosition(row, 0)->widget()->setVisible(!grays);
    interpolations->setVisible(!binary && !single);
    interpolationCaption->setVisible(!binary && !single);
    anchorCount->setVisible(!single);
    countCaption->setVisible(!single);
}

void ColourTrackDialog::paintSwatch(QLabel* swatch, Rgb c)
{
    swatch->setStyleSheet(QStringLiteral("background-color: rgb(%1,%2,%3); border: 1px solid black;")
                              .arg(redOf(c)).arg(greenOf(c)).arg(blueOf(c)));
}

void ColourTrackDialog::showAnchor(int index)
{
    if (index < 0 || index >= edit_.count)
        return;
    const Rgb c = edit_.anchors[static_cast<size_t>(index)];
    paintSwatch(anchorSwatch, c);
    red->setText(QString::number(redOf(c)));
    green->setText(QString::number(greenOf(c)));
    blue->setText(QString::number(blueOf(c)));
}

bool ColourTrackDialog::seeTyped()
{
    Rgb c = 0;
    const bool grays = edit_.mode == ColourEditMode::Grays;
    const std::string r = red->text().toStdString();
    const int e = parseRgbTexts(r, grays ? r : green->text().toStdString(), grays ? r : blue->text().toStdString(), c);
    if (e != 0) {
        QMessageBox::warning(this, tr("hmm ..."), QString::fromStdString(messageText(e)));
        return false;
    }
    paintSwatch(previewSwatch, c);
    return true;
}

bool ColourTrackDialog::setTyped()
{
    if (!seeTyped())
        return false;
    Rgb c = 0;
    const bool grays = edit_.mode == ColourEditMode::Grays;
    const std::string r = red->text().toStdString();
    parseRgbTexts(r, grays ? r : green->text().toStdString(), grays ? r : blue->text().toStdString(), c);
    setEditAnchor(edit_, currentAnchor->currentIndex(), c);
    showAnchor(currentAnchor->currentIndex());
    return true;
}

void ColourTrackDialog::keepEdits()
{
    model_.keepColourEdit(edit_);
    if (redraw_)
        redraw_();
    accept();
}

} // namespace qx::ui
