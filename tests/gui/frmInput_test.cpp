// The one-line input dialog.
#include "MainWindowFixture.h"

#include "platform/frmInput.h"

#include <QLabel>
#include <QPushButton>

class FrmInputTest : public QObject
{
    Q_OBJECT

private:
    FakeServices fakes;

    // Shows the input box and answers it with `typed`, then the given button or Enter.
    QString answer(const QString& typed, const char* button)
    {
        bool startedEmptyWithFocus = false;
        MainWindowFixture::onNextModal([&startedEmptyWithFocus, typed, button](QWidget* dialog) {
            auto* box = dialog->findChild<QLineEdit*>("txtResult");
            // Every call starts with an empty box that has the focus.
            startedEmptyWithFocus = box->text().isEmpty() && dialog->focusWidget() == box;
            QTest::keyClicks(box, typed);
            if (button)
                QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
            else
                QTest::keyClick(box, Qt::Key_Return);
        });
        Services services = fakes.services();
        const QString result = ShowInputBox(services, nullptr, "Add a new color palette",
                                            "Please input a name of new color palette:");
        if (!startedEmptyWithFocus)
            return "box did not start empty with the focus";
        return result;
    }

private slots:
    void results_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("result");
        QTest::newRow("spaces trimmed, inner kept") << "  my  blues  "
                                                    << "cmdOk"
                                                    << "my  blues";
        QTest::newRow("empty gives the default") << ""
                                                 << "cmdOk"
                                                 << "Untiltled";
        QTest::newRow("spaces only give the default") << "   "
                                                      << ""
                                                      << "Untiltled";
        QTest::newRow("enter is ok") << "Brand"
                                     << ""
                                     << "Brand";
        QTest::newRow("cancel after typing") << "Brand"
                                             << "cmdCancel"
                                             << "";
    }
    void results()
    {
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QString, result);
        const QByteArray name = button.toLatin1();
        QCOMPARE(answer(typed, button.isEmpty() ? nullptr : name.constData()), result);
    }

    // Enter and Space press the button that has the focus; Enter in the box stays Ok.
    void keysPressTheFocusedButton_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("result");
        QTest::newRow("return on cancel") << 2 << int(Qt::Key_Return) << "";
        QTest::newRow("keypad enter on cancel") << 2 << int(Qt::Key_Enter) << "";
        QTest::newRow("space on cancel") << 2 << int(Qt::Key_Space) << "";
        QTest::newRow("return on ok") << 1 << int(Qt::Key_Return) << "kbd";
        QTest::newRow("return in the box") << 0 << int(Qt::Key_Return) << "kbd";
    }
    void keysPressTheFocusedButton()
    {
        QFETCH(int, tabs);
        QFETCH(int, key);
        QFETCH(QString, result);
        MainWindowFixture::onNextModal([tabs, key](QWidget* dialog) {
            QTest::keyClicks(dialog->focusWidget(), "kbd");
            for (int i = 0; i < tabs; ++i)
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
            QTest::keyClick(dialog->focusWidget(), Qt::Key(key));
            // A key that does nothing leaves the dialog open: close it with a telling result.
            QTimer::singleShot(1000, dialog, [dialog] {
                dialog->findChild<QLineEdit*>("txtResult")->setText("stayed open");
                QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
            });
        });
        Services services = fakes.services();
        QCOMPARE(ShowInputBox(services, nullptr, "Save This Color Scheme", "Save as:"), result);
    }
};

QTEST_MAIN(FrmInputTest)
#include "frmInput_test.moc"
