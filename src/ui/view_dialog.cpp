#include "ui/view_dialog.h"

#include "base/messages.h"
#include "model/tkvawing.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx::ui {

ViewDialog::ViewDialog(TKVAWing& model, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), model_(model), redraw_(std::move(redraw)), byCorners_(model.viewDialogByCorners())
{
    setObjectName(byCorners_ ? QStringLiteral("VIEWCOR") : QStringLiteral("VIEWCEN"));
    setWindowTitle(tr("view"));
    setModal(false);
    auto* form = new QFormLayout;
    const QStringList names = byCorners_ ? QStringList{"left", "right", "down", "up"}
                                         : QStringList{"hori", "vert", "width"};
    for (const QString& n : names) {
        auto* e = new QLineEdit(this);
        e->setObjectName(n);
        e->setMinimumWidth(240);
        form->addRow(n, e);
        fields_.push_back(e);
    }
    auto* applyButton = new QPushButton(tr("apply"), this);
    auto* closeButton = new QPushButton(tr("close"), this);
    applyButton->setDefault(true);
    connect(applyButton, &QPushButton::clicked, this, &ViewDialog::apply);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(applyButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    load();
}

QLineEdit* ViewDialog::field(const QString& name) const
{
    for (QLineEdit* e : fields_)
        if (e->objectName() == name)
            return e;
    return nullptr;
}

void ViewDialog::load()
{
    auto set = [this](int i, const std::string& s) { fields_[static_cast<size_t>(i)]->setText(QString::fromStdString(s)); };
    if (byCorners_) {
        const ViewCornerTexts t = model_.currentViewCornerTexts();
        set(0, t.left), set(1, t.right), set(2, t.down), set(3, t.up);
    } else {
        const ViewCenterTexts t = model_.currentViewCenterTexts();
        set(0, t.hori), set(1, t.vert), set(2, t.width);
    }
}

bool ViewDialog::apply()
{
    auto text = [this](int i) { return fields_[static_cast<size_t>(i)]->text().toStdString(); };
    const int code = byCorners_ ? model_.applyViewByCorners({text(0), text(1), text(2), text(3)})
                                : model_.applyViewByCenter({text(0), text(1), text(2)});
    if (code != 0) {
        QMessageBox::warning(this, QString::fromLatin1(kDefaultCaption), QString::fromStdString(messageText(code)));
        const int field = dialogField(code);
        if (field < static_cast<int>(fields_.size()))
            fields_[static_cast<size_t>(field)]->setFocus();
        return false;
    }
    if (redraw_)
        redraw_();
    return true;
}

} // namespace qx::ui
