// Typing, pasting and committing in the six component boxes.
#include "MainWindowFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

using namespace bascommon;

class ColorEditorTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;

    QLineEdit* box(const QString& name) { return f->window().findChild<QLineEdit*>(name); }

    void replaceText(QLineEdit* edit, const QString& typed)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
    }

private slots:
    void init()
    {
        f = std::make_unique<MainWindowFixture>();
        f->window().show();
        f->window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f->window()));
    }
    void cleanup() { f.reset(); }

    // Typed key by key ("\b" is Backspace), or inserted over the whole text as a context-menu
    // paste is.
    void boxTextIsFiltered()
    {
        const struct {
            const char *name, *box;
            bool typed;
            const char *text, *shown;
        } rows[] = {
            {"256 clamps", "txtg", true, "256", "255"},
            {"letters never arrive", "txtb", true, "1x2", "12"},
            {"leading zeros stay while editing", "txtr", true, "007", "007"},
            {"length is bounded", "txtr", true, "1234", "123"},
            {"hex length is bounded", "txtgh", true, "abc", "ab"},
            {"hex drops g", "txtgh", true, "gF", "F"},
            {"hex drops space and sign", "txtbh", true, " -0c", "0c"},
            {"deleting all text shows zero", "txtb", true, "\b", "0"},
            {"12a pasted into txtg", "txtg", false, "12a", "0"},
            {"999 pasted", "txtr", false, "999", "255"},
            {"stray hash pasted", "txtrh", false, "#F", "0"},
            {"lower case stays", "txtbh", false, "0f", "0f"},
        };
        for (const auto& r : rows) {
            QLineEdit* edit = box(r.box);
            if (r.typed) {
                replaceText(edit, r.text);
            } else {
                edit->selectAll();
                edit->insert(r.text);
            }
            QVERIFY2(edit->text() == r.shown, r.name);
        }
    }

    // Digits of other scripts and control characters never arrive.
    void otherDigitsAndControlCharactersAreDropped()
    {
        QLineEdit* txtr = box("txtr");
        replaceText(txtr, "4");
        QKeyEvent arabicThree(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("٣"));
        QApplication::sendEvent(txtr, &arabicThree);
        QCOMPARE(txtr->text(), QString("4"));
        QGuiApplication::clipboard()->setText("12");
        QLineEdit* txtg = box("txtg");
        replaceText(txtg, "9");
        QTest::keyClick(txtg, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(txtg, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(txtg->text(), QString("9"));
    }

    void enterOrLeavingABoxCommits()
    {
        replaceText(box("txtr"), "300");
        replaceText(box("txtg"), "007");
        replaceText(box("txtb"), "113");
        QTest::keyClick(box("txtb"), Qt::Key_Return);
        QCOMPARE(f->window().currentColor(), RGB(255, 7, 113));
        QCOMPARE(f->text("txtg"), QString("7"));
        QCOMPARE(f->text("txtrgb"), QString("#FF0771"));
        QCOMPARE(f->text("txtrgb1"), QString("255,7,113"));
        QCOMPARE(f->text("txtgh"), QString("07"));
        // Leaving a hexadecimal box commits too, and shows its digits in upper case.
        replaceText(box("txtrh"), "ab");
        QTest::keyClick(box("txtrh"), Qt::Key_Tab);
        QCOMPARE(f->window().currentColor(), RGB(171, 7, 113));
        QCOMPARE(f->text("txtrh"), QString("AB"));
        QCOMPARE(f->text("txtr"), QString("171"));
    }

    // A commit with unchanged values still runs the new-color handling: the C++ caption
    // gains its colon. White is web-safe, so Make Web-Safe waits for a change.
    void commitWithUnchangedValuesStillRunsNewColorHandling()
    {
        QAction* websafe = f->find<QAction>("mnuWebsafe");
        QVERIFY(!websafe->isEnabled());
        box("txtr")->setFocus();
        QTest::keyClick(box("txtr"), Qt::Key_Tab);
        QCOMPARE(f->window().currentColor(), RGB(255, 255, 255));
        QCOMPARE(f->find<QAction>("mnuCopyCplus")->text(), QString("C++:0xFFFFFF"));
        // Tab runs down the decimal column, then down the hexadecimal one.
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, QStringList({"txtg", "txtb", "txtrh", "txtgh", "txtbh"}));
        // Make Web-Safe rounds, then disables itself.
        f->window().CurrentColorChanged(RGB(229, 26, 25));
        QAction* button = f->find<QAction>("makewebsafe");
        QVERIFY(websafe->isEnabled() && button->isEnabled());
        button->trigger();
        QCOMPARE(f->window().currentColor(), RGB(204, 51, 0));
        QVERIFY(!websafe->isEnabled() && !button->isEnabled());
    }
};

QTEST_MAIN(ColorEditorTest)
#include "ColorEditor_test.moc"
