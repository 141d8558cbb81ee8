// The complex dynamic plane as a Qt window: the Mapping dialog, the TARGET
// dialog with its per-kind fields, and ROOTFIND built from its form.
#include "registry/launch_table.h"
#include "registry/tool_registry.h"
#include "ui/drawing_area.h"
#include "ui/form_dialog.h"
#include "ui/input_dialog.h"
#include "ui/library_dialogs.h"
#include "ui/target_dialog.h"
#include "support/qt_windows.h"
#include "ui/tool_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace qx;
using qx::ui::ToolWindow;
using qx::test::acceptBox;
using qx::test::openRow;
using qx::test::rendered;

namespace {

constexpr int kCmdMapping = 539;
constexpr int kCmdTargets = 546;
constexpr int kCmdFindRoots = 633;
constexpr int kCmdExampleAlien = 640;
constexpr int kCmdFunctions = 589;
constexpr int kCmdConstants = 590;

std::unique_ptr<ToolWindow> openDyc()
{
    return openRow(kRowComplexDynamicPlane, "noname1.dyc");
}

// Answers the next modal input dialog with two texts.
void answerTwo(const QString& first, const QString& second)
{
    QTimer::singleShot(0, [first, second] {
        if (auto* d = qobject_cast<ui::InputDialog*>(QApplication::activeModalWidget())) {
            d->field(0)->setText(first);
            d->field(1)->setText(second);
            d->accept();
        }
    });
}

// Answers the next modal input dialog with `text` in its first field.
void answerInput(const QString& text)
{
    QTimer::singleShot(0, [text] {
        if (auto* d = qobject_cast<ui::InputDialog*>(QApplication::activeModalWidget())) {
            d->field(0)->setText(text);
            d->accept();
        }
    });
}

} // namespace

class DycWindowTest : public QObject {
    Q_OBJECT
private slots:
    void mappingDialogSetsTheMapAndTheTitle()
    {
        auto w = openDyc();
        QVERIFY(rendered(*w));
        answerInput(QStringLiteral("Newton( zzz - 1 = 0 )"));
        w->runCommand(kCmdMapping);
        QCOMPARE(w->windowTitle(), QStringLiteral("Newton(zzz-1=0)"));
        QVERIFY(rendered(*w));
        // A refused text shows its message and keeps the map.
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* d = qobject_cast<ui::InputDialog*>(QApplication::activeModalWidget())) {
                d->field(0)->setText(QStringLiteral("Halley(zz-1"));
                QTimer::singleShot(0, [&shown] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                        shown = box->text();
                        box->accept();
                    }
                });
                d->accept();
            }
        });
        w->runCommand(kCmdMapping);
        QCOMPARE(shown, QStringLiteral("inconsistent data"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Newton(zzz-1=0)"));
    }

    void targetDialogFollowsTheKindAndEditsTheInventory()
    {
        auto w = openDyc();
        w->runCommand(kCmdExampleAlien); // four line targets and infinity
        w->runCommand(kCmdTargets);
        ui::TargetDialog* d = w->targetDialog();
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->windowTitle(), QStringLiteral("target 0 of 5"));
        QVERIFY(d->kind[2]->isChecked()); // a line
        QCOMPARE(d->labels[0]->text(), QStringLiteral("0 ="));
        QCOMPARE(d->texts[0]->text(), QStringLiteral("x+2"));
        QVERIFY(d->texts[2]->isEnabled() && !d->texts[1]->isEnabled());
        // A region offers no blend; its colour trap uses the distance and its bounds.
        d->kind[1]->setChecked(true);
        QVERIFY(!d->pattern[1]->isEnabled());
        d->pattern[2]->setChecked(true);
        QVERIFY(d->texts[1]->isEnabled() && d->texts[3]->isEnabled() && d->texts[4]->isEnabled());
        // Back to a point with sectors: the reference vector field opens.
        d->kind[0]->setChecked(true);
        d->pattern[0]->setChecked(true);
        QVERIFY(!d->texts[3]->isEnabled());
        d->sectors->setChecked(true);
        QVERIFY(d->texts[3]->isEnabled());
        d->texts[0]->setText(QStringLiteral("0.5"));
        d->texts[2]->setText(QStringLiteral("0.2"));
        d->texts[3]->setText(QStringLiteral("1"));
        d->sectorCount->setText(QStringLiteral("6"));
        QVERIFY(d->apply());
        auto& editor = dynamic_cast<TargetEditor&>(w->model());
        TargetFormState s = editor.currentTargetForm();
        QCOMPARE(s.kind, 0);
        QVERIFY(s.sectors);
        QCOMPARE(QString::fromStdString(s.sectorCount), QStringLiteral("6"));
        // A text that does not compile is refused and the record stays.
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        d->texts[0]->setText(QStringLiteral("0.5+"));
        QVERIFY(!d->apply());
        QVERIFY(!shown.isEmpty());
        QCOMPARE(QString::fromStdString(editor.currentTargetForm().texts[0]), QStringLiteral("0.5"));
        // new, next, delete and undo.
        d->newButton->click();
        QCOMPARE(d->windowTitle(), QStringLiteral("target 5 of 6"));
        d->nextButton->click();
        QCOMPARE(d->windowTitle(), QStringLiteral("target 0 of 6"));
        d->deleteButton->click();
        QCOMPARE(d->windowTitle(), QStringLiteral("target 0 of 5"));
        d->undoButton->click();
        QCOMPARE(editor.targetCount(), 6);
    }

    void rootFindDialogBuildsTheBasins()
    {
        auto w = openDyc();
        w->runCommand(kCmdFindRoots);
        ui::FormDialog* d = w->formDialog("ROOTFIND");
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->choices.size(), size_t(6)); // n = 2 .. 7
        d->choices[3]->setChecked(true);       // 5
        d->fields[0]->setText(QStringLiteral("1"));
        QVERIFY(d->apply());
        QCOMPARE(dynamic_cast<TargetEditor&>(w->model()).targetCount(), 5);
        QVERIFY(rendered(*w));
        // Too small a w: the message, nothing changes.
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        d->choices[0]->setChecked(true);
        d->fields[0]->setText(QStringLiteral("0.00001"));
        QVERIFY(!d->apply());
        QCOMPARE(shown, QStringLiteral("too small"));
        QCOMPARE(dynamic_cast<TargetEditor&>(w->model()).targetCount(), 5);
    }

    void functionLibraryDialogEntersEditsAndRefuses()
    {
        auto w = openDyc();
        w->runCommand(kCmdFunctions);
        auto* d = qobject_cast<ui::FunctionLibraryDialog*>(w->libraryDialog());
        QVERIFY(d && d->isVisible());
        d->name->setText(QStringLiteral("f"));
        d->definition[0]->setText(QStringLiteral("uu"));
        QVERIFY(d->enter());
        d->name->setText(QStringLiteral("g"));
        d->definition[0]->setText(QStringLiteral("f(u)+1"));
        QVERIFY(d->enter());
        QCOMPARE(d->list->count(), 2);
        QCOMPARE(d->list->item(1)->text(), QStringLiteral("G(U) = F(U)+1"));
        auto& fracs = dynamic_cast<TFuncWin&>(w->model());
        Complex v;
        QCOMPARE(fracs.evaluateConstant("g(3)", v), 0);
        QCOMPARE(static_cast<double>(v.re), 10.0);
        // A refused name: its message, the focus on the name, nothing added.
        QString shown;
        acceptBox(shown);
        d->name->setText(QStringLiteral("sin"));
        QVERIFY(!d->enter());
        QCOMPARE(shown, QStringLiteral("name already in use"));
        QCOMPARE(d->list->count(), 2);
        // edit the first, then delete it.
        d->list->setCurrentRow(0);
        d->editSelected();
        QCOMPARE(d->name->text(), QStringLiteral("F"));
        d->definition[0]->setText(QStringLiteral("uuu"));
        QVERIFY(d->enter());
        QCOMPARE(d->list->item(0)->text(), QStringLiteral("F(U) = UUU"));
        d->list->setCurrentRow(0);
        d->deleteSelected();
        QCOMPARE(d->list->count(), 1);
    }

    void constantManagerShowsAndSavesLetters()
    {
        auto w = openDyc();
        w->runCommand(kCmdConstants);
        auto* d = qobject_cast<ui::ConstantDialog*>(w->constantDialog());
        QVERIFY(d && d->isVisible());
        QVERIFY(d->zMode->isChecked());
        d->letter->setCurrentIndex(10); // K
        d->value->setText(QStringLiteral("1+2i"));
        QVERIFY(d->save());
        auto& win = dynamic_cast<TFuncWin&>(w->model());
        QCOMPARE(static_cast<double>(win.variable(11).im), 2.0);
        // "x+yi": two letters, a real value each; I is refused.
        d->pairMode->setChecked(true);
        QVERIFY(d->secondLetter->isVisible());
        d->letter->setCurrentIndex(0);       // A
        d->secondLetter->setCurrentIndex(1); // B
        d->value->setText(QStringLiteral("3"));
        d->secondValue->setText(QStringLiteral("4"));
        QVERIFY(d->save());
        QCOMPARE(static_cast<double>(win.variable(2).re), 4.0);
        QString shown;
        acceptBox(shown);
        d->letter->setCurrentIndex(8); // I
        QVERIFY(!d->save());
        QCOMPARE(shown, QStringLiteral("cannot understand"));
    }

    void realMappingTakesTwoTexts()
    {
        auto w = openRow(6, "noname1.dyr");
        answerTwo(QStringLiteral("y+1-1.3xx"), QStringLiteral("0.3x"));
        w->runCommand(kCmdMapping);
        QCOMPARE(w->windowTitle(), QStringLiteral("y+1-1.3xx , 0.3x"));
        QVERIFY(rendered(*w));
    }

    void criticalPointAndJuliaChildOfTheParameterPlane()
    {
        auto w = openRow(2, "noname1.ppc");
        w->runCommand(565); // Double Mandelbrot
        answerInput(QStringLiteral("-c/2"));
        w->runCommand(547);
        QVERIFY(rendered(*w));
        w->runCommand(121); // Julia child mode
        QTest::mouseClick(w->area(), Qt::LeftButton, {}, w->area()->rect().center());
        const auto children = w->findChildren<ToolWindow*>();
        QCOMPARE(children.size(), 1);
        QCOMPARE(QString::fromStdString(children[0]->model().documentName()), QStringLiteral("jchild1.dyc"));
        QCOMPARE(children[0]->windowTitle(), QStringLiteral("zz+cz")); // map tools show their mapping
        QTest::mouseClick(w->area(), Qt::LeftButton, {}, w->area()->rect().center() + QPoint(10, 5));
        QCOMPARE(w->findChildren<ToolWindow*>().size(), 1); // the same window, numbered again
        QCOMPARE(QString::fromStdString(children[0]->model().documentName()), QStringLiteral("jchild2.dyc"));
        QVERIFY(rendered(*children[0]));
    }
};

QTEST_MAIN(DycWindowTest)
#include "dyc_window_test.moc"
