// The one-line input dialog.
#include "MainWindowFixture.h"

#include "platform/frmInput.h"

#include <QPushButton>

class FrmInputTest : public QObject
{
    Q_OBJECT

private:
    FakeServices fakes;

private slots:
    // Typed text, Tabs to a button (1 OK, 2 Cancel) and a key; the answer trimmed or defaulted.
    void answers()
    {
        const struct {
            const char *name, *typed;
            int tabs;
            Qt::Key key;
            const char* result;
        } rows[] = {
            {"spaces trimmed, inner kept", "  my  blues  ", 1, Qt::Key_Return, "my  blues"},
            {"blank gives the default", "  ", 1, Qt::Key_Space, "Untiltled"},
            {"return in the box", "kbd", 0, Qt::Key_Return, "kbd"},
            {"return on cancel", "kbd", 2, Qt::Key_Return, ""},
            {"keypad enter on cancel", "kbd", 2, Qt::Key_Enter, ""},
        };
        Services services = fakes.services();
        for (const auto& r : rows) {
            bool startedEmptyWithFocus = false;
            MainWindowFixture::onNextModal([&startedEmptyWithFocus, r](QWidget* dialog) {
                auto* box = dialog->findChild<QLineEdit*>("txtResult");
                startedEmptyWithFocus = box->text().isEmpty() && dialog->focusWidget() == box;
                QTest::keyClicks(box, r.typed);
                for (int i = 0; i < r.tabs; ++i)
                    QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
                QTest::keyClick(dialog->focusWidget(), r.key);
                // A key that does nothing leaves the dialog open: close it with a telling result.
                QTimer::singleShot(1000, dialog, [dialog] {
                    dialog->findChild<QLineEdit*>("txtResult")->setText("stayed open");
                    QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
                });
            });
            const QString result =
                ShowInputBox(services, nullptr, "Save This Color Scheme", "Save as:");
            QVERIFY2(result == r.result, qPrintable(QString(r.name) + ": " + result));
            QVERIFY2(startedEmptyWithFocus, r.name);
        }
    }
};

QTEST_MAIN(FrmInputTest)
#include "frmInput_test.moc"
