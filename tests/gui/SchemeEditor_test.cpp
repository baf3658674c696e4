// The web color scheme editor: items, preview, saved schemes, its windows and Check Contrast.
#include "MainWindowFixture.h"

#include "color/Contrast.h"
#include "platform/QtServices.h"
#include "web/ContrastWindow.h"
#include "web/SchemeCode.h"
#include "web/SchemeEditor.h"

#include <QComboBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace bascommon;

const char* const allNine[] = {"lbldisplay", "lbltext_0", "lbltext_1", "lbltext_2", "lbltext_3",
                               "lblnl",      "lblvl",     "lblal",     "lblhl"};

// The classic factory scheme and the third one ("Sepia Paper"), as #RRGGBB.
const QStringList classic = {"#FFFFFF", "#000000", "#0000FF", "#800080", "#FF0000", "#FF6600"};
const QStringList sepia = {"#F5ECD7", "#3B2F2F", "#8B4513", "#6B3E75", "#B22222", "#D2691E"};

class SchemeEditorTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;

    SchemeEditor& editor() { return *f->window().schemeEditor(); }
    QListWidget* list() { return f->find<QListWidget>("lstCorset"); }
    QPushButton* deleteButton() { return f->find<QPushButton>("cmdDelItem"); }

    QColor back(const char* label) { return f->find(label)->palette().color(QPalette::Window); }
    QColor fore(const char* label) { return f->find(label)->palette().color(QPalette::WindowText); }
    QString caption(const char* label) { return f->find<QLabel>(label)->text(); }

    // The six colors the preview shows: Background, Text, and the four links, as #RRGGBB.
    QStringList shown()
    {
        QStringList colors{back("lbldisplay").name().toUpper()};
        for (const char* label : {"lbltext_0", "lblnl", "lblvl", "lblal", "lblhl"})
            colors << fore(label).name().toUpper();
        return colors;
    }

    void clickRow(int row)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->item(row)).center());
    }

    ContrastWindow* open()
    {
        f->find<QAction>("checkContrast")->trigger();
        return f->window().findChild<ContrastWindow*>();
    }
    template <typename T = QLabel> T* in(const QString& n) { return f->find<T>(qPrintable(n)); }
    QString ratio(int row) { return in(QString("ratio_%1").arg(row))->text(); }
    QColor hoverSample() { return in("sample_4")->palette().color(QPalette::WindowText); }

private slots:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { f.reset(); }

    void startUpLoadsTheFirstSchemeAndItemsTakeNewColorsOnlyWhenChosen()
    {
        f->window();
        QCOMPARE(shown(), classic);
        QVERIFY(f->find<QRadioButton>("optnone")->isChecked());
        QVERIFY(!deleteButton()->isEnabled());
        // Only the first scheme keeps Delete disabled.
        clickRow(2);
        QVERIFY(deleteButton()->isEnabled());
        QCOMPARE(shown(), sepia);
        QCOMPARE(editor().selectedSchemeIndex(), 2);
        clickRow(0);
        QVERIFY(!deleteButton()->isEnabled());

        // None, a freshly chosen item and compact mode leave the scheme alone; Background
        // repaints all nine labels and changes no caption.
        QStringList captions;
        for (const char* label : allNine)
            captions << caption(label);
        f->window().CurrentColorChanged(RGB(1, 2, 3));
        QTest::mouseClick(f->find<QRadioButton>("optbg"), Qt::LeftButton);
        QCOMPARE(shown(), classic);
        f->find<QAction>("mnuSwap")->trigger();
        f->window().CurrentColorChanged(RGB(4, 5, 6));
        QCOMPARE(shown(), classic);
        f->find<QAction>("mnuSwap")->trigger();
        f->window().CurrentColorChanged(RGB(0x12, 0x34, 0x56));
        for (const char* label : allNine) {
            QCOMPARE(back(label), QColor("#123456"));
            QCOMPARE(caption(label), captions.takeFirst());
        }

        // A click on the preview chooses the item under it and makes its color current.
        clickRow(2);
        const struct {
            const char *label, *option, *color;
            QPoint at; // the rectangle's own area lies right of the sample texts
        } targets[] = {{"lbldisplay", "optbg", "#F5ECD7", {3, 3}},
                       {"lbltext_2", "opttext", "#3B2F2F", {}},
                       {"lblhl", "opthl", "#D2691E", {}}};
        for (const auto& t : targets) {
            QWidget* target = f->find(t.label);
            QTest::mouseClick(target, Qt::LeftButton, {},
                              t.at.isNull() ? target->rect().center() : t.at);
            QVERIFY(f->find<QRadioButton>(t.option)->isChecked());
            QCOMPARE(f->text("txtrgb"), QString(t.color));
            QCOMPARE(shown(), sepia);
        }
    }

    // Delete asks with the name, Yes by default, and the preview keeps its colors; Save appends
    // it under the typed name and selects nothing; a rewrite that fails loses nothing.
    void deleteAndSaveRewriteTheListAndFailuresLoseNothing()
    {
        f->showActive();
        clickRow(2);
        QCOMPARE(QApplication::focusWidget(), list());
        QTest::mouseClick(deleteButton(), Qt::LeftButton);
        QCoreApplication::processEvents();
        const auto& asked = f->fakes.questions.asked;
        QCOMPARE(asked.size(), size_t(1));
        QVERIFY(asked.front().text.contains("\"Sepia Paper\"") && asked.front().yesIsDefault);
        QCOMPARE(list()->item(2)->text(), QString("Ocean Breeze"));
        QVERIFY(!deleteButton()->isEnabled());
        QCOMPARE(shown(), sepia);
        QVERIFY(f->readFile("set.hcs").find("Sepia") == std::string::npos);
        QCOMPARE(f->readFile("colorset.dat").size(), size_t(5 * 36));

        f->find<QRadioButton>("optbg")->setChecked(true);
        f->window().CurrentColorChanged(RGB(0x11, 0x22, 0x33));
        MainWindowFixture::answerInputBox("Say \"hi\", then", true);
        f->find<QAction>("mnuSaveScheme")->trigger();
        QCOMPARE(list()->item(5)->text(), QString("Say \"hi\", then"));
        QVERIFY(list()->selectedItems().isEmpty());
        QVERIFY(f->readFile("set.hcs").ends_with("\"Ocean Breeze\"\r\n\"Forest Trail\"\r\n"
                                                 "\"High Contrast\"\r\n\"Say \"hi\", then\"\r\n"));
        // Text, Background, links as BBGGRR: Sepia with the new background #112233.
        QCOMPARE(f->readFile("colorset.dat").substr(5 * 36),
                 std::string("2F2F3B332211"
                             "13458B753E6B2222B21E69D2"));
        MainWindowFixture::answerInputBox("Cancelled", false);
        f->find<QAction>("mnuSaveScheme")->trigger();
        QCOMPARE(list()->count(), 6);

        std::filesystem::create_directories(f->folder() / "colorset.dam" / "blocker");
        const std::string names = f->readFile("set.hcs"), records = f->readFile("colorset.dat");
        clickRow(3);
        QTest::mouseClick(deleteButton(), Qt::LeftButton);
        MainWindowFixture::answerInputBox("Mine", true);
        f->find<QAction>("mnuSaveScheme")->trigger();
        QCOMPARE(f->fakes.questions.errors.size(), size_t(2));
        for (const auto& error : f->fakes.questions.errors)
            QVERIFY(error.text.contains("colorset.dam"));
        QCOMPARE(list()->count(), 6);
        QCOMPARE(f->readFile("set.hcs"), names);
        QCOMPARE(f->readFile("colorset.dat"), records);
    }

    // The real question box, answered No by key after a click or Tab: nothing goes, name as typed.
    void keyboardNoDeletesNothing_data()
    {
        QTest::addColumn<bool>("byTab");
        QTest::addColumn<QList<int>>("keys");
        const std::pair<const char*, QList<int>> answers[] = {
            {"n", {Qt::Key_N}},
            {"escape", {Qt::Key_Escape}},
            {"tab enter", {Qt::Key_Tab, Qt::Key_Return}}};
        for (const bool byTab : {false, true})
            for (const auto& [answer, keys] : answers)
                QTest::addRow("%s, %s", byTab ? "tab" : "click", answer) << byTab << keys;
    }
    void keyboardNoDeletesNothing()
    {
        QFETCH(bool, byTab);
        QFETCH(QList<int>, keys);
        const QString name = R"(A "q", <b>bold</b> & co)";
        f->writeFile("set.hcs", f->readFile("set.hcs") + '"' + name.toStdString() + "\"\r\n");
        f->writeFile("colorset.dat", f->readFile("colorset.dat") + std::string(36, '0'));
        const std::string names = f->readFile("set.hcs"), records = f->readFile("colorset.dat");
        QtQuestions questions;
        f->services.emplace(f->fakes.services(&questions));
        f->showActive();
        clickRow(6);

        QStringList asked;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->focusWidget() || box->property("answered").toBool())
                return;
            box->setProperty("answered", true);
            asked << box->text() + (box->textFormat() == Qt::PlainText ? "" : " (rich)");
            // A key press reaches its button through a delayed click: under load that takes
            // a while, so only a box still open after seconds counts as stuck.
            QTimer::singleShot(5000, box, [&asked, box] {
                asked << "stayed open"; // so that nothing can hang the test
                box->reject();
            });
            for (const int key : keys)
                QTest::keyClick(box->focusWidget(), Qt::Key(key));
        });
        answerer.start(10);
        if (byTab)
            QTest::keyClick(list(), Qt::Key_Tab);
        else
            QTest::mouseClick(deleteButton(), Qt::LeftButton);
        QTest::qWait(400);
        answerer.stop();

        QCOMPARE(asked,
                 QStringList{"Are you sure you want to delete color scheme \"" + name + "\"?"});
        QCOMPARE(f->readFile("set.hcs"), names);
        QCOMPARE(f->readFile("colorset.dat"), records);
        QCOMPARE(list()->count(), 7);
        QVERIFY(!deleteButton()->isEnabled());
    }

    // The chosen item takes each new color and its caption; the others keep theirs. Each copy
    // command and the code window then give the code of that scheme, each in its own form.
    void itemTakesTheColorAndTheCodeCommandsAndWindowsGiveTheScheme()
    {
        f->window();
        QTest::mouseClick(f->find<QRadioButton>("opttext"), Qt::LeftButton);
        f->window().CurrentColorChanged(RGB(10, 0, 255));
        for (const char* label : {"lbltext_0", "lbltext_1", "lbltext_2", "lbltext_3"})
            QCOMPARE(fore(label), QColor("#0A00FF"));
        QCOMPARE(caption("lbltext_1"), QString("Text Color: #0A00FF"));
        QTest::mouseClick(f->find<QRadioButton>("opthl"), Qt::LeftButton);
        f->window().CurrentColorChanged(RGB(0, 0x99, 0));
        QCOMPARE(caption("lblhl"), QString("Hover Link Color: #009900"));
        QCOMPARE(shown(),
                 (QStringList{"#FFFFFF", "#0A00FF", "#0000FF", "#800080", "#FF0000", "#009900"}));
        const WebColorScheme scheme = editor().scheme();
        const struct {
            const char *command, *box;
            std::string code;
        } forms[] = {{"mnuCopyHtml", "txthtml", HtmlCode(scheme)},
                     {"mnuCopyExternal", "txtec", ExternalCssCode(scheme)},
                     {"mnuCopyInline", "txtic", InlineCssCode(scheme)}};
        QStringList boxes, codes;
        for (const auto& form : forms) {
            f->fakes.clipboard.setText("old");
            f->find<QAction>(form.command)->trigger();
            QCOMPARE(f->fakes.clipboard.text(), QString::fromStdString(form.code));
            codes << QString::fromStdString(form.code).replace("\r\n", "\n");
        }
        bool topMost = false;
        MainWindowFixture::onNextModal([&](QWidget* dialog) {
            topMost = !f->fakes.stayOnTop.calls.empty() &&
                      f->fakes.stayOnTop.calls.back().window == dialog;
            for (const auto& form : forms)
                boxes << dialog->findChild<QPlainTextEdit*>(form.box)->toPlainText();
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdexit"), Qt::LeftButton);
        });
        f->find<QAction>("mnuViewCode")->trigger();
        QVERIFY(topMost);
        QCOMPARE(boxes, codes);
        // The full-screen preview shows the captions; a click on a box leaves it open, Escape
        // closes it, and so does a click on its background.
        clickRow(2);
        bool closedByBox = true, boxReacted = true, closedByEscape = false;
        QStringList texts;
        MainWindowFixture::onNextModal([&](QWidget* window) {
            for (const char* box : {"txtTxt", "txtNl", "txtvl", "txtal", "txthl"})
                texts << window->findChild<QLineEdit*>(box)->text();
            auto* hover = window->findChild<QLineEdit*>("txthl");
            texts << window->palette().color(QPalette::Window).name()
                  << hover->palette().color(QPalette::Text).name();
            // Clicks inside a box do nothing: no menu, no selection.
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
            QApplication::sendEvent(hover, &menuEvent);
            QWidget* popup = QApplication::activePopupWidget();
            const bool menuShown = popup && popup->close();
            QTest::mouseDClick(hover, Qt::LeftButton);
            boxReacted = menuShown || hover->hasSelectedText() || !hover->isReadOnly();
            QTest::mouseClick(hover, Qt::LeftButton);
            closedByBox = !window->isVisible();
            QTest::keyClick(window, Qt::Key_Escape);
            closedByEscape = !window->isVisible();
        });
        f->find<QAction>("mnuShowweb")->trigger();
        QVERIFY(!closedByBox && closedByEscape);
        QVERIFY(!boxReacted);
        MainWindowFixture::onNextModal([](QWidget* window) {
            QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(600, 20));
        });
        f->find<QAction>("mnuShowweb")->trigger();
        QCOMPARE(texts, QStringList({"Text Color: #3B2F2F", "Normal Link Color: #8B4513",
                                     "Visited Link Color: #6B3E75", "Active Link Color: #B22222",
                                     "Hover Link Color: #D2691E", "#f5ecd7", "#d2691e"}));
        QVERIFY(!QApplication::activeModalWidget());
    }

    // One window, for the keyboard, shows color-vision deficiencies, follows and fixes the scheme.
    void opensOnceForTheKeyboardAndFollowsTheScheme()
    {
        ContrastWindow* w = open();
        open();
        QVERIFY(w);
        QCOMPARE(f->window().findChildren<ContrastWindow*>().size(), 1);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const auto controls = w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* a : controls)
            for (const QWidget* b : controls)
                if (a < b && a->isVisible() && b->isVisible())
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + " overlaps " + b->objectName()));
        // Each view of a color-vision deficiency changes the sample and marks the ratio.
        auto* viewAs = in<QComboBox>("viewAs");
        auto* severity = in<QSpinBox>("severity");
        const QColor normal = hoverSample(); // #FF6600
        QVERIFY(!severity->isEnabled());
        for (int view = 1; view <= 4; ++view) {
            viewAs->setCurrentIndex(view);
            QVERIFY2(hoverSample() != normal, qPrintable(viewAs->currentText()));
            QVERIFY(ratio(4).endsWith('*'));
            QCOMPARE(severity->isEnabled(), view != 4);
        }
        viewAs->setCurrentIndex(1);
        QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), severity);
        QTest::keyClick(w, Qt::Key_V, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), viewAs);
        const QColor full = hoverSample();
        severity->setValue(30);
        QVERIFY(hoverSample() != full);
        viewAs->setCurrentIndex(0);
        QCOMPARE(hoverSample(), normal);
        QCOMPARE(ratio(4), QString("2.93:1")); // the classic scheme's hover link on white

        f->find<QRadioButton>("optbg")->setChecked(true);
        f->window().CurrentColorChanged(RGB(0, 0, 0));
        QCOMPARE(ratio(0), QString("1.00:1")); // black text on the new black background
        QCOMPARE(in("currentRatio_0")->text(), QString("21.00:1"));
        QCOMPARE(in("currentGrade_1")->text(), QString("fail"));
        QVERIFY(in("currentTitle")->text().contains("#000000"));
        // Loading a saved scheme replaces every row.
        list()->setCurrentRow(5);
        QVERIFY(ratio(0) != QString("1.00:1"));

        // A fix reaches AA and lands in its item, on light, dark and colored backgrounds.
        list()->setCurrentRow(0);
        const ColorValue WebColorScheme::*fields[] = {
            &WebColorScheme::Text, &WebColorScheme::NormalLink, &WebColorScheme::VisitedLink,
            &WebColorScheme::ActiveLink, &WebColorScheme::HoverLink};
        for (const int background : {0xFFFFFF, 0x000000, 0x000080}) { // blue first: #800000
            f->find<QRadioButton>("optbg")->setChecked(true);
            f->window().CurrentColorChanged(background);
            int fixed = 0;
            for (int row = 0; row < ContrastWindow::rowCount; ++row) {
                const WebColorScheme scheme = f->window().schemeEditor()->scheme();
                const bool below = ContrastRatio(scheme.*fields[row], scheme.Background) < 4.5;
                QPushButton* fix = in<QPushButton>(QString("fix_%1").arg(row));
                QCOMPARE(fix->isVisibleTo(w), below);
                if (!below)
                    continue;
                const ColorValue suggested = *w->fixOf(row);
                // A click, Enter or keypad Enter on the focused button.
                if (fixed % 3 == 0) {
                    QTest::mouseClick(fix, Qt::LeftButton);
                } else {
                    fix->setFocus();
                    QTest::keyClick(fix, fixed % 3 == 1 ? Qt::Key_Return : Qt::Key_Enter,
                                    fixed % 3 == 1 ? Qt::NoModifier : Qt::KeypadModifier);
                }
                QCOMPARE(f->window().schemeEditor()->scheme().*fields[row], suggested);
                // The fix changed its item only, and the item chosen before stays chosen.
                QVERIFY(f->find<QRadioButton>("optbg")->isChecked());
                QCOMPARE(f->window().schemeEditor()->scheme().Background, background);
                QCOMPARE(f->text("txtrgb"), QString::fromStdString(HexRGB(suggested)));
                QVERIFY(!fix->isVisibleTo(w));
                QCOMPARE(in(QString("mark_%1").arg(row * 4))->text(), QString("Pass"));
                ++fixed;
            }
            QVERIFY(fixed > 0);
        }

        // Escape closes the open "View as" list, then the window.
        QPointer<ContrastWindow> open = w;
        viewAs->showPopup();
        QTRY_VERIFY(viewAs->view()->isVisible());
        QTest::keyClick(viewAs->view(), Qt::Key_Escape);
        QTRY_VERIFY(!viewAs->view()->isVisible());
        QVERIFY(w->isVisible());
        QTest::keyClick(viewAs, Qt::Key_Escape);
        QTRY_VERIFY(!open);
    }

    // Tab reaches the scheme preview after the item options; the Menu key and Shift+F10 open the
    // scheme menu on the preview and the list, the Edit menu on the current color.
    void keyboardReachesThePreviewAndEveryPopupMenu()
    {
        f->showActive();
        f->find("optnone")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("lbldisplay"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list());
        const std::pair<const char*, const char*> popups[] = {
            {"lbldisplay", "mnuHtmlPop1"}, {"lstCorset", "mnuHtmlPop1"}, {"lblcolor", "mnuEdit"}};
        for (const auto& [widget, menu] : popups) {
            QCOMPARE(popupOpenedBy(f->find(widget), Qt::Key_Menu), QString(menu));
            QCOMPARE(popupOpenedBy(f->find(widget), Qt::Key_F10, Qt::ShiftModifier), QString(menu));
        }
    }
};

QTEST_MAIN(SchemeEditorTest)
#include "SchemeEditor_test.moc"
