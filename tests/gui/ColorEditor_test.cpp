// Typing, pasting and committing in the six component boxes.
#include "MainWindowFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>

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

    void typedSequences_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("300 clamps at the third digit") << "txtr"
                                                       << "300"
                                                       << "255";
        QTest::newRow("256 clamps") << "txtg"
                                    << "256"
                                    << "255";
        QTest::newRow("letters never arrive") << "txtb"
                                              << "1x2"
                                              << "12";
        QTest::newRow("leading zeros stay while editing") << "txtr"
                                                          << "007"
                                                          << "007";
        QTest::newRow("length is bounded") << "txtr"
                                           << "1234"
                                           << "123";
        QTest::newRow("hex ab") << "txtrh"
                                << "ab"
                                << "ab";
        QTest::newRow("hex drops g") << "txtgh"
                                     << "gF"
                                     << "F";
        QTest::newRow("hex drops space and sign") << "txtbh"
                                                  << " -0c"
                                                  << "0c";
    }
    void typedSequences()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        replaceText(this->box(box), typed);
        QCOMPARE(this->box(box)->text(), shown);
    }

    void digitsOfOtherScriptsAreDropped()
    {
        QLineEdit* txtr = box("txtr");
        replaceText(txtr, "4");
        QKeyEvent arabicThree(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("٣"));
        QApplication::sendEvent(txtr, &arabicThree);
        QCOMPARE(txtr->text(), QString("4"));
    }

    void controlCharactersAreDropped()
    {
        QGuiApplication::clipboard()->setText("12");
        QLineEdit* txtg = box("txtg");
        replaceText(txtg, "9");
        QTest::keyClick(txtg, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(txtg, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(txtg->text(), QString("9"));
    }

    void repairRunsOnEveryChange_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("12a pasted into txtg") << "txtg"
                                              << "12a"
                                              << "0";
        QTest::newRow("999 pasted") << "txtr"
                                    << "999"
                                    << "255";
        QTest::newRow("empty") << "txtb"
                               << ""
                               << "0";
        QTest::newRow("stray hash") << "txtrh"
                                    << "#F"
                                    << "0";
        QTest::newRow("blank") << "txtgh"
                               << " "
                               << "0";
        QTest::newRow("lower case stays") << "txtbh"
                                          << "0f"
                                          << "0f";
    }
    void repairRunsOnEveryChange()
    {
        QFETCH(QString, box);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        // insert() is the path of a paste from the context menu.
        QLineEdit* edit = this->box(box);
        edit->selectAll();
        edit->insert(pasted);
        QCOMPARE(edit->text(), shown);
    }

    void deletingAllTextShowsZero()
    {
        QLineEdit* txtb = box("txtb");
        txtb->setFocus();
        txtb->selectAll();
        QTest::keyClick(txtb, Qt::Key_Backspace);
        QCOMPARE(txtb->text(), QString("0"));
    }

    void enterCommitsDecimal()
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
    }

    void leavingHexBoxCommitsAndRewritesUpperCase()
    {
        replaceText(box("txtrh"), "ab");
        QTest::keyClick(box("txtrh"), Qt::Key_Tab);
        QCOMPARE(GetRed(f->window().currentColor()), 171);
        QCOMPARE(f->text("txtrh"), QString("AB"));
        QCOMPARE(f->text("txtr"), QString("171"));
    }

    void commitWithUnchangedValuesStillRunsNewColorHandling()
    {
        // White is web-safe: the command stays disabled until a change makes it useful.
        QAction* websafe = f->find<QAction>("mnuWebsafe");
        QVERIFY(!websafe->isEnabled());
        box("txtr")->setFocus();
        QTest::keyClick(box("txtr"), Qt::Key_Tab); // commits the unchanged white
        QVERIFY(box("txtrh")->hasFocus());
        QCOMPARE(f->window().currentColor(), RGB(255, 255, 255));
        // The copy captions were rewritten: the C++ caption gained its colon.
        QCOMPARE(f->find<QAction>("mnuCopyCplus")->text(), QString("C++:0xFFFFFF"));
    }

    void makeWebSafeRoundsAndDisablesItself()
    {
        f->window().CurrentColorChanged(RGB(229, 26, 25));
        QAction* websafe = f->find<QAction>("mnuWebsafe");
        QAction* button = f->find<QAction>("makewebsafe");
        QVERIFY(websafe->isEnabled() && button->isEnabled());
        button->trigger();
        QCOMPARE(f->window().currentColor(), RGB(204, 51, 0));
        QVERIFY(!websafe->isEnabled() && !button->isEnabled());
    }
};

QTEST_MAIN(ColorEditorTest)
#include "ColorEditor_test.moc"
