#include "ui/grid_dialog.h"

#include "base/messages.h"
#include "model/tgridwin.h"

#include <QCheckBox>
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

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QLineEdit* e) { return e->text().toStdString(); }
} // namespace

GridDialog::GridDialog(TGridWin& model, std::function<void()> recompose, QWidget* parent)
    : QDialog(parent), model_(model), recompose_(std::move(recompose))
{
    setObjectName(QStringLiteral("SETGRID"));
    setWindowTitle(tr("axes and grid"));
    setModal(false);
    auto* axes = new QGroupBox(tr("axes"), this);
    auto* ag = new QGridLayout(axes);
    axesOn = new QCheckBox(tr("axes on"), axes);
    axesKind = new QComboBox(axes);
    axesKind->addItems({tr("both"), tr("x only"), tr("y only")});
    ticks = new QCheckBox(tr("ticks"), axes);
    scale = new QCheckBox(tr("scale"), axes);
    letters = new QCheckBox(tr("letters x, y"), axes);
    arrows = new QCheckBox(tr("arrows"), axes);
    tickLength = new QLineEdit(axes);
    ag->addWidget(axesOn, 0, 0);
    ag->addWidget(axesKind, 0, 1);
    ag->addWidget(ticks, 1, 0);
    ag->addWidget(scale, 1, 1);
    ag->addWidget(letters, 1, 2);
    ag->addWidget(arrows, 0, 2);
    ag->addWidget(new QLabel(tr("tick length (% of width)"), axes), 2, 0);
    ag->addWidget(tickLength, 2, 1);

    auto* scales = new QGroupBox(tr("scale"), this);
    auto* sg = new QGridLayout(scales);
    sg->addWidget(new QLabel(tr("tick interval"), scales), 1, 0);
    sg->addWidget(new QLabel(tr("decimal places"), scales), 2, 0);
    sg->addWidget(new QLabel(tr("label every n ticks"), scales), 3, 0);
    sg->addWidget(new QLabel(QStringLiteral("x"), scales), 0, 1);
    sg->addWidget(new QLabel(QStringLiteral("y"), scales), 0, 2);
    xInterval = new QLineEdit(scales);
    yInterval = new QLineEdit(scales);
    xPlaces = new QLineEdit(scales);
    yPlaces = new QLineEdit(scales);
    xFrequency = new QLineEdit(scales);
    yFrequency = new QLineEdit(scales);
    xPi = new QCheckBox(tr("multiples of pi"), scales);
    yPi = new QCheckBox(tr("multiples of pi"), scales);
    sg->addWidget(xInterval, 1, 1);
    sg->addWidget(yInterval, 1, 2);
    sg->addWidget(xPlaces, 2, 1);
    sg->addWidget(yPlaces, 2, 2);
    sg->addWidget(xFrequency, 3, 1);
    sg->addWidget(yFrequency, 3, 2);
    sg->addWidget(xPi, 4, 1);
    sg->addWidget(yPi, 4, 2);

    auto* grid = new QGroupBox(tr("grid"), this);
    auto* gg = new QHBoxLayout(grid);
    const char* names[4] = {"I", "II", "III", "IV"};
    for (int i = 0; i < 4; ++i) {
        quadrant[i] = new QCheckBox(QString::fromLatin1(names[i]), grid);
        gg->addWidget(quadrant[i]);
    }
    dotted = new QCheckBox(tr("dotted"), grid);
    gg->addWidget(dotted);

    auto* okButton = new QPushButton(tr("ok"), this);
    auto* applyButton = new QPushButton(tr("apply"), this);
    auto* closeButton = new QPushButton(tr("close"), this);
    connect(okButton, &QPushButton::clicked, this, [this] { if (apply()) close(); });
    connect(applyButton, &QPushButton::clicked, this, &GridDialog::apply);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(applyButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(axes);
    layout->addWidget(scales);
    layout->addWidget(grid);
    layout->addLayout(buttons);
    load();
}

void GridDialog::load()
{
    const GridSettings& g = model_.grid();
    const GridTexts t = gridTexts(g);
    axesOn->setChecked(g.axesOn);
    axesKind->setCurrentIndex(static_cast<int>(g.axesKind));
    ticks->setChecked(g.ticks);
    scale->setChecked(g.scale);
    letters->setChecked(g.letters);
    arrows->setChecked(g.arrows);
    tickLength->setText(q(t.tickLength));
    xInterval->setText(q(t.xInterval));
    yInterval->setText(q(t.yInterval));
    xPlaces->setText(q(t.xPlaces));
    yPlaces->setText(q(t.yPlaces));
    xFrequency->setText(q(t.xFrequency));
    yFrequency->setText(q(t.yFrequency));
    xPi->setChecked(g.x.piMultiples);
    yPi->setChecked(g.y.piMultiples);
    for (int i = 0; i < 4; ++i)
        quadrant[i]->setChecked(g.quadrants[static_cast<size_t>(i)]);
    dotted->setChecked(g.dotted);
}

bool GridDialog::apply()
{
    GridSettings g = model_.grid();
    g.axesOn = axesOn->isChecked();
    g.axesKind = static_cast<AxesKind>(axesKind->currentIndex());
    g.ticks = ticks->isChecked();
    g.scale = scale->isChecked();
    g.letters = letters->isChecked();
    g.arrows = arrows->isChecked();
    g.x.piMultiples = xPi->isChecked();
    g.y.piMultiples = yPi->isChecked();
    for (int i = 0; i < 4; ++i)
        g.quadrants[static_cast<size_t>(i)] = quadrant[i]->isChecked();
    g.dotted = dotted->isChecked();
    const GridTexts t{s(tickLength), s(xInterval), s(yInterval), s(xPlaces), s(yPlaces), s(xFrequency),
                      s(yFrequency)};
    const int code = model_.applyGridSettings(g, t);
    if (code != 0) {
        QMessageBox::warning(this, QString::fromLatin1(kDefaultCaption), q(messageText(code)));
        return false;
    }
    if (recompose_)
        recompose_();
    return true;
}

} // namespace qx::ui
