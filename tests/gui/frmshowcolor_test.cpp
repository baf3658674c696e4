// The main window: its boxes, copy and paste, pop-ups, modes, exit and the conversion dialog.
#include "MainWindowFixture.h"

#include "color/CopyTexts.h"
#include "color/frmConversion.h"

#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolBar>
#include <tuple>

using namespace bascommon;

const char* const copyNames[] = {"mnuCopydec1",   "mnuCopydec2", "mnuCopyhex1", "mnuCopyhex2",
                                 "mnuCopyhex3",   "mnuCopyhex4", "mnuCopyhex5", "mnuCopyVB",
                                 "mnuCopyDelphi", "mnuCopyCplus"};

class FrmShowColorTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;
    std::vector<ColorValue> applied; // colors the conversion dialog handed back
    std::unique_ptr<frmConversion> dialog;

    QString copied(const char* command)
    {
        f->find<QAction>(command)->trigger();
        return f->fakes.clipboard.text();
    }
    QLineEdit* box(const char* name) { return f->find<QLineEdit>(name); }
    void replaceText(QLineEdit* edit, const QString& typed)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
    }

    void open(int r, int g, int b)
    {
        applied.clear();
        f->fakes.stayOnTop.calls.clear();
        dialog = std::make_unique<frmConversion>(textsOf(r, g, b), *f->services,
                                                 [this](ColorValue c) { applied.push_back(c); });
        dialog->show();
    }

    template <typename T = QWidget> T* part(const QString& n) { return dialog->findChild<T*>(n); }
    QSlider* slider(int i) { return part<QSlider>(QString("sldVal_%1").arg(i)); }
    QString hex() { return part<QLineEdit>("txtHEX")->text(); }
    QColor sample() { return part("picClr")->palette().color(QPalette::Window); }
    bool visible(const QString& name) { return part(name)->isVisibleTo(dialog.get()); }
    void selectTab(const QString& tab)
    {
        auto* tabs = part<QTabWidget>("tabModels");
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == tab)
                tabs->setCurrentIndex(i);
        QCOMPARE(tabs->tabText(tabs->currentIndex()), tab);
    }
    // The visible rows as "caption max value" strings.
    QStringList rows()
    {
        QStringList visible;
        for (int i = 0; i < 4; ++i)
            if (slider(i)->isVisibleTo(dialog.get()))
                visible << QString("%1 %2 %3")
                               .arg(part<QLabel>(QString("lblCp_%1").arg(i))->text())
                               .arg(slider(i)->maximum())
                               .arg(part<QLineEdit>(QString("txtval_%1").arg(i))->text());
        return visible;
    }

private slots:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup()
    {
        dialog.reset();
        f.reset();
    }

    // A commit runs the new-color handling even with unchanged values (the C++ caption gains its
    // colon); Enter and leaving a box commit. White is web-safe: Make Web-Safe waits for a change.
    // Typed key by key ("\b" is Backspace), or inserted over the whole text as a context-menu
    // paste is, digits of other scripts and control characters never arrive.
    void boxesCommitOnEnterOrLeavingAndFilterWhatArrives()
    {
        f->showActive();
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
        replaceText(box("txtr"), "300");
        replaceText(box("txtg"), "007");
        replaceText(box("txtb"), "113");
        QTest::keyClick(box("txtb"), Qt::Key_Return);
        QCOMPARE(f->window().currentColor(), RGB(255, 7, 113));
        QCOMPARE(f->text("txtg"), QString("7"));
        QCOMPARE(f->text("txtrgb"), QString("#FF0771"));
        QCOMPARE(f->text("txtgh"), QString("07"));
        // Leaving a hexadecimal box commits too, and shows its digits in upper case.
        replaceText(box("txtrh"), "ab");
        QTest::keyClick(box("txtrh"), Qt::Key_Tab);
        QCOMPARE(f->window().currentColor(), RGB(171, 7, 113));
        QCOMPARE(f->text("txtrh"), QString("AB"));
        QCOMPARE(f->text("txtr"), QString("171"));
        f->window().CurrentColorChanged(RGB(229, 26, 25));
        QAction* button = f->find<QAction>("makewebsafe");
        QVERIFY(websafe->isEnabled() && button->isEnabled());
        button->trigger();
        QCOMPARE(f->window().currentColor(), RGB(204, 51, 0));
        QVERIFY(!websafe->isEnabled() && !button->isEnabled());

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
            {"hex drops g, space and sign", "txtbh", true, " -g0c", "0c"},
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

    // Each copy command copies its own form of what the boxes show, a pending edit as it stands;
    // the CSS commands show what they copy of the settled color. Paste Color takes one color;
    // anything else is refused naming the text, the color stays.
    void startsWhiteCopiesEachFormOfTheBoxesAndPastesOneColor()
    {
        QCOMPARE(f->text("txtrgb1") + f->text("txtrgb") + f->text("txtg") + f->text("txtbh"),
                 QString("255,255,255#FFFFFF255FF"));
        QCOMPARE(f->find<QAction>("mnuCopyCssRgb")->text(), QString("rgb(255 255 255)"));

        f->window().CurrentColorChanged(RGB(10, 0, 255));
        // A single & shows for the doubled one.
        QCOMPARE(f->find<QAction>("mnuCopyVB")->text(), QString("VB:&&H00FF000A&&"));
        f->find<QLineEdit>("txtrh")->setText("a");
        const CopyBoxTexts boxes{"10,0,255", "#0A00FF", "a", "00", "FF"};
        for (int i = 0; i < copyFormCount; ++i)
            QCOMPARE(copied(copyNames[i]), QString::fromStdString(CopyText(CopyForm(i), boxes)));
        f->window().CurrentColorChanged(RGB(10, 0, 255));
        QCOMPARE(f->text("txtrh"), QString("0A"));
        // The CSS submenu lists its forms in order, each showing what it copies (values from
        // colorjs.io).
        const std::pair<const char*, const char*> cssItems[] = {
            {"mnuCopyCssRgb", "rgb(10 0 255)"},
            {"mnuCopyCssHsl", "hsl(242.4 100% 50%)"},
            {"mnuCopyCssOklch", "oklch(45.34% 0.31214 264.71)"},
            {"mnuCopyCssLab", "lab(29.74 68.37 -111.74)"},
            {"mnuCopyCssLch", "lch(29.74 131 301.46)"},
            {"mnuCopyCssOklab", "oklab(45.34% -0.02879 -0.31081)"},
            {"mnuCopyCssHwb", "hwb(242.4 0% 0%)"},
            {"mnuCopyCssP3", "color(display-p3 0.0323 0.0013 0.9596)"},
            {"mnuCopyCssHex8", "#0A00FFFF"}};
        const QList<QAction*> cssActions = f->find<QMenu>("mnuCopyCss")->actions();
        QCOMPARE(cssActions.size(), qsizetype(std::size(cssItems)));
        for (std::size_t i = 0; i < std::size(cssItems); ++i) {
            const auto& [name, text] = cssItems[i];
            QCOMPARE(cssActions[qsizetype(i)]->objectName(), QString(name));
            QCOMPARE(cssActions[qsizetype(i)]->text(), QString(text));
            QCOMPARE(copied(name), QString(text));
        }

        // A mapped color is told each time, ignored transparency once a run.
        const std::tuple<QString, int, const char*> cases[] = {
            {" 'ffa1cc'; ", RGB(255, 161, 204), ""},
            {"#FFA1CC80", RGB(255, 161, 204), "transparent"},
            {"rgb(0 0 0 / 0.5)", RGB(0, 0, 0), ""},
            {"oklch(10% 20 20deg)", RGB(17, 0, 0), "outside sRGB"},
            {"red\ngreen", -1, ""},
            {"'red'", -1, ""},
            {"", -1, ""}};
        auto& errors = f->fakes.questions.errors;
        auto& messages = f->fakes.questions.messages;
        for (const auto& [clipboard, color, note] : cases) {
            errors.clear();
            messages.clear();
            f->window().CurrentColorChanged(RGB(1, 2, 3));
            f->fakes.clipboard.setText(clipboard);
            f->find<QAction>("mnuPasteColor")->trigger();
            QCOMPARE(f->window().currentColor(), color == -1 ? RGB(1, 2, 3) : color);
            QCOMPARE(f->text("txtrgb"), QString::fromStdString(HexRGB(f->window().currentColor())));
            QCOMPARE(int(errors.size()), int(color == -1));
            QCOMPARE(int(messages.size()), int(*note != 0));
            if (*note)
                QVERIFY(messages[0].text.contains(note));
            if (color != -1)
                continue;
            const QString firstLine = clipboard.section('\n', 0, 0);
            QVERIFY(firstLine.isEmpty() ||
                    errors[0].text.startsWith("The clipboard text \"" + firstLine));
            QVERIFY(errors[0].text.contains(" is not a color: "));
        }
    }

    // On the shown window: the preview's pop-up opens on a right release only; compact mode
    // keeps width and corner; every toolbar button shows left of the palette chooser.
    void shownWindowPopupCompactModeAndToolbar()
    {
        f->showActive();
        frmshowcolor& w = f->window();
        QMenu* edit = f->find<QMenu>("mnuEdit");
        const QStringList menuBarItems = visibleItems(edit);
        QStringList shown;
        QTimer::singleShot(50, [&] {
            shown = visibleItems(edit);
            edit->close();
        });
        QTest::mouseRelease(f->find("lblcolor"), Qt::RightButton);
        QVERIFY(shown.contains("Preview: Show Color Details") && shown.contains("Paste Color"));
        QCOMPARE(visibleItems(edit), menuBarItems);
        // A left release opens nothing but refreshes the captions.
        QTest::mouseRelease(f->find("lblcolor"), Qt::LeftButton);
        QCOMPARE(visibleItems(edit), menuBarItems);
        QCOMPARE(f->find<QAction>("mnuCopyCplus")->text(), QString("C++:0xFFFFFF"));

        QToolBar* bar = f->find<QToolBar>("tlbTool");
        for (QAction* action : bar->actions()) {
            QWidget* button = bar->widgetForAction(action);
            QVERIFY2(button && button->isVisible(), qPrintable(action->objectName()));
            QVERIFY2(button->mapTo(w.centralWidget(), QPoint(button->width(), 0)).x() <=
                         f->find("cmbChart")->x(),
                     qPrintable(action->objectName()));
        }

        w.move(40, 50);
        const QPoint corner = w.pos();
        const QSize full(w.width(), w.centralWidget()->height());
        f->find<QAction>("colorchart")->trigger();
        QVERIFY(w.centralWidget()->height() < full.height());
        QVERIFY(f->find<QAction>("mnuSwap")->isChecked() &&
                f->find<QAction>("colorchart")->isChecked());
        f->find<QAction>("mnuSwap")->trigger();
        QCOMPARE(QSize(w.width(), w.centralWidget()->height()), full);
        QCOMPARE(w.pos(), corner);
        QVERIFY(!f->find<QAction>("colorchart")->isChecked());
    }

    // An existing recent file is kept at start; exit deletes it and nothing else, but a second
    // copy of the program leaves the first copy's recent colors alone.
    void exitDeletesRecentColorsOnly()
    {
        f->writeFile("recent.rgb", "0A0B0C");
        f->window();
        {
            frmshowcolor second(*f->services, f->folder());
            QVERIFY(!second.ownsRecentColors());
            second.close();
        }
        QCOMPARE(f->readFile("recent.rgb"), std::string("0A0B0C"));
        f->find<QAction>("mnuexit")->trigger();
        QVERIFY(!std::filesystem::exists(f->folder() / "recent.rgb"));
        QVERIFY(std::filesystem::exists(f->folder() / "colorchart.cci"));
    }

    // Help, web site and e-mail say what is missing when they cannot open.
    void shellFailuresSayWhatIsMissing()
    {
        std::filesystem::remove(f->folder() / "huebench.html");
        f->find<QAction>("mnucontents")->trigger();
        f->fakes.shellOpen.opens = false;
        f->find<QAction>("mnuWeb")->trigger();
        f->find<QAction>("mnuemail")->trigger();
        QCOMPARE(f->fakes.shellOpen.opened.size(), size_t(2)); // no help page to hand over
        const auto& errors = f->fakes.questions.errors;
        const char* said[][2] = {{"Help Topics", "huebench.html is missing"},
                                 {"Visit Our Website", "no web browser was found"},
                                 {"E-mail To Support", "No e-mail program was found"}};
        QCOMPARE(errors.size(), std::size(said));
        for (std::size_t i = 0; i < errors.size(); ++i) {
            QCOMPARE(errors[i].caption, QString(said[i][0]));
            QVERIFY2(errors[i].text.contains(said[i][1]), qPrintable(errors[i].text));
        }
    }

    // Help, web site and e-mail go to the shell; a window that stays on top gets out of the help
    // page's way. Always on top, chosen twice, returns to normal.
    void shellRequestsAlwaysOnTopAndDialogs()
    {
        f->find<QAction>("mnucontents")->trigger();
        f->find<QAction>("mnuWeb")->trigger();
        f->find<QAction>("mnuemail")->trigger();
        const auto& opened = f->fakes.shellOpen.opened;
        QCOMPARE(opened.size(), size_t(3));
        QCOMPARE(opened[0].toLocalFile(),
                 QString::fromStdString((f->folder() / "huebench.html").string()));
        QCOMPARE(opened[1].scheme(), QString("https"));
        QVERIFY(opened[2].toString().startsWith("mailto:"));
        QVERIFY(!f->window().isMinimized());
        f->find<QAction>("mnuOnTop")->trigger();
        QVERIFY(f->find<QAction>("ontop")->isChecked());
        f->find<QAction>("mnucontents")->trigger();
        QVERIFY(f->window().isMinimized());
        f->find<QAction>("ontop")->trigger();
        QVERIFY(!f->find<QAction>("mnuOnTop")->isChecked());
        QVERIFY(!f->find<QAction>("ontop")->isChecked());
        const auto& calls = f->fakes.stayOnTop.calls;
        QCOMPARE(calls.size(), size_t(2));
        QVERIFY(calls[0].onTop && !calls[1].onTop);
        QCOMPARE(calls[1].window, static_cast<QWidget*>(&f->window()));

        QString about;
        MainWindowFixture::onNextModal([&](QWidget* box) {
            about = box->windowTitle();
            box->close();
        });
        f->find<QAction>("mnuabout")->trigger();
        QCOMPARE(about, QString("About"));

        // The system color dialog starts from the current color; Cancel keeps it.
        f->window().CurrentColorChanged(RGB(12, 34, 56));
        f->find<QAction>("mnuShowWinColor")->trigger();
        QCOMPARE(f->fakes.colorDialog.lastInitial, QColor(12, 34, 56));
        QCOMPARE(f->window().currentColor(), RGB(12, 34, 56));
        f->fakes.colorDialog.answer = QColor(1, 2, 3);
        f->find<QAction>("showcolor")->trigger();
        QCOMPARE(f->window().currentColor(), RGB(1, 2, 3));
        QCOMPARE(f->text("txtrgb"), QString("#010203"));
    }

    // The dialog opens on the RGB tab, above the main window. Each tab shows the same color:
    // switching only re-expresses it, and the fourth row belongs to CMYK alone.
    void eachTabShowsTheSameColor()
    {
        const struct {
            int r, g, b;
            const char* tab;
            QStringList rows;
        } cases[] = {
            {255, 161, 204, "RGB", {"R 255 255", "G 255 161", "B 255 204"}},
            {255, 161, 204, "HLS", {"H 360 33", "L 100 82", "S 100 100"}},
            {255, 161, 204, "CMYK", {"C 100 0", "M 100 37", "Y 100 20", "K 100 0"}},
            {255, 161, 204, "CMY", {"C 255 0", "M 255 94", "Y 255 51"}},
            {255, 161, 204, "HSV", {"H 359 333", "S 100 37", "V 100 100"}},
            {255, 161, 204, "CMYK", {"C 100 0", "M 100 37", "Y 100 20", "K 100 0"}},
            {255, 161, 204, "YCbCr", {"Y 255 194", "Cb 255 134", "Cr 255 172"}},
            {255, 0, 0, "OKLCH", {"L 1000 62.8", "C 370 0.258", "H 359 29"}},
            {119, 119, 119, "OKLCH", {"L 1000 56.9", "C 370 0.000", "H 359 0"}}, // no hue
        };
        QColor color;
        for (const auto& c : cases) {
            if (color != QColor(c.r, c.g, c.b)) {
                color = QColor(c.r, c.g, c.b);
                open(c.r, c.g, c.b);
                QCOMPARE(part<QTabWidget>("tabModels")->currentIndex(), 0);
                const auto& calls = f->fakes.stayOnTop.calls;
                QVERIFY(calls.size() == 1 && calls[0].onTop);
            }
            selectTab(c.tab);
            QCOMPARE(rows(), c.rows);
            QCOMPARE(hex(), color.name().toUpper());
            QCOMPARE(sample(), color);
            for (const char* row3 : {"lblCp_3", "sldVal_3", "txtval_3"})
                QCOMPARE(visible(row3), QString(c.tab) == "CMYK");
        }
    }

    // OK applies the moved row's model (HLS recomputed from H, L and S after a move away and
    // back) or, without a move, the color as it came, even on a lossy tab; Cancel applies nothing.
    void okAppliesTheMovedRowsModelAndCancelNothing()
    {
        const struct {
            const char* tab;
            int row;
            QList<int> values;
            const char* hex;
            bool ok = true;
        } moves[] = {
            {"RGB", 1, {0}, "#FF00CC"},    {"CMY", 0, {255}, "#00A1CC"},
            {"CMYK", 3, {100}, "#000000"}, {"YCbCr", 0, {0}, "#3E000B"}, // 61.688, -33.487, 10.632
            {"HLS", 0, {60}, "#FFA3A3"},   {"HLS", 1, {83, 82}, "#FFA3CD"},
            {"HSV", 0, {120}, "#A1FFA1"},  {"OKLCH", 1, {0}, "#C2C2C2"}, // L 81.5%
            {"YCbCr", 0, {}, "#FFA1CC"},   {"RGB", 0, {10}, "#0AA1CC", false},
        };
        for (const auto& m : moves) {
            open(255, 161, 204);
            QVERIFY(part<QLineEdit>("txtHEX")->isReadOnly());
            selectTab(m.tab);
            for (const int value : m.values)
                slider(m.row)->setValue(value);
            QCOMPARE(hex(), QString(m.hex));
            // The value boxes show the slider values, OKLCH's L in percent and C with decimals.
            const bool oklch = QString(m.tab) == "OKLCH";
            const double scales[] = {10.0, 1000.0, 1.0};
            const int decimals[] = {1, 3, 0};
            for (int i = 0; i < 3; ++i)
                QCOMPARE(part<QLineEdit>(QString("txtval_%1").arg(i))->text(),
                         QString::number(slider(i)->value() / (oklch ? scales[i] : 1.0), 'f',
                                         oklch ? decimals[i] : 0));
            part<QPushButton>(m.ok ? "Command2" : "Command1")->click();
            QVERIFY(!dialog->isVisible());
            QCOMPARE(dialog->result(), int(m.ok ? QDialog::Accepted : QDialog::Rejected));
            QStringList appliedHex;
            for (const ColorValue color : applied)
                appliedHex << QString::fromStdString(HexRGB(color));
            QCOMPARE(appliedHex, m.ok ? QStringList{m.hex} : QStringList{});
        }
        // Through the main window, OK makes the sample the current color everywhere.
        f->window().CurrentColorChanged(RGB(255, 161, 204));
        MainWindowFixture::onNextModal([](QWidget* modal) {
            modal->findChild<QTabWidget*>("tabModels")->setCurrentIndex(1); // HLS
            modal->findChild<QSlider*>("sldVal_0")->setValue(60);
            modal->findChild<QPushButton*>("Command2")->click();
        });
        f->window().showConversion();
        QCOMPARE(f->text("txtrgb"), QString("#FFA3A3"));
        QCOMPARE(f->window().currentColor(), RGB(255, 163, 163));
    }

    // Too much chroma is brought into sRGB at the same lightness and hue, and the tab says so.
    void oklchOutsideSrgbShowsTheMappedColor()
    {
        open(255, 0, 0);
        selectTab("OKLCH");
        QVERIFY(!visible("gamutNote"));
        slider(1)->setValue(370);
        QVERIFY(visible("gamutNote"));
        QVERIFY(sample().red() > 200 && sample().green() < 80 && sample().blue() < 80);
        slider(1)->setValue(100);
        QVERIFY(!visible("gamutNote"));
    }
};

QTEST_MAIN(FrmShowColorTest)
#include "frmshowcolor_test.moc"
