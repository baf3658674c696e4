// The palette grid: paging, selection, palette commands, import, export and recent colors.
#include "MainWindowFixture.h"

#include "palette/PaletteCell.h"
#include "palette/PaletteView.h"

#include <QComboBox>
#include <QImage>
#include <QDir>

using bascommon::ColorValue;

constexpr ColorValue white = 0xFFFFFF;

// Record k of a test palette is red k mod 256, green k div 256, blue 0x80: cells tell records.
static std::string numberedRecords(int count)
{
    std::string bytes;
    for (int k = 1; k <= count; ++k)
        bytes += QString::asprintf("%02X%02X80", k % 256, k / 256).toStdString();
    return bytes;
}

static ColorValue recordColor(int k)
{
    return bascommon::RGB(k % 256, k / 256, 0x80);
}

class PaletteViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;
    QTemporaryDir m_outside; // where the user's files are

    PaletteView& view() { return *f->window().paletteView(); }
    PaletteCell* cell(int i) { return view().findChild<PaletteCell*>(QString("lblcor_%1").arg(i)); }
    ColorValue centerOf(int i) { return cell(i)->color(); }
    QAction* action(const char* name) { return f->find<QAction>(name); }
    QComboBox* chooser() { return f->find<QComboBox>("cmbChart"); }
    QList<QAction*> addToItems() { return f->find<QMenu>("mnuAddto")->actions(); }
    bool selectionShown() { return !f->find<QWidget>("shpSelect")->isHidden(); }

    void showTestPalette(int count, const std::string& kind = "1",
                         const std::string& file = "c50.rgb")
    {
        f->writeFile(file, numberedRecords(count));
        f->writeFile("colorchart.cci",
                     f->readFile("colorchart.cci") + file + "\r\nTest palette\r\n" + kind + "\r\n");
        view().ShowChartMenu();
        chooser()->setCurrentIndex(chooser()->count() - 1);
    }
    void click(int i, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(cell(i), b); }
    void importFile(const QString& path)
    {
        f->fakes.fileOpenDialog.answer = path;
        action("importPalette")->trigger();
    }

private slots:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { f.reset(); }

    // A click selects for deletion, a double-click shows Color Info, a right-click the Edit menu.
    void pagesShowNewestFirstAndCellsSelectShowAndOfferTheirRecords()
    {
        const struct {
            int count, page, pages;
            QList<QPoint> cells; // {cell, record}; record 0 means white
        } cases[] = {{217, 1, 2, {{0, 217}, {215, 2}}},
                     {0, 1, 1, {{0, 0}, {215, 0}}},
                     {300, 2, 2, {{0, 84}, {83, 1}, {84, 0}}}};
        for (const auto& c : cases) {
            showTestPalette(c.count);
            for (int p = 1; p < c.page; ++p)
                action("nextpage")->trigger();
            QCOMPARE(view().page(), c.page);
            QCOMPARE(view().pageCount(), c.pages);
            for (const QPoint& shown : c.cells)
                QCOMPARE(centerOf(shown.x()), shown.y() == 0 ? white : recordColor(shown.y()));
            QCOMPARE(action("prevpage")->isEnabled(), c.page > 1);
            QCOMPARE(action("nextpage")->isEnabled(), c.page < c.pages);
        }
        click(13); // record 300 - 216 - 13 = 71
        QCOMPARE(view().selectedRecord(), 71);
        QCOMPARE(f->window().currentColor(), recordColor(71));
        action("mnuDelCor")->trigger();
        QCOMPARE(view().page(), 1);
        QCOMPARE(view().chartColorCount(), 299);
        QCOMPARE(f->readFile("c50.rgb").substr(70 * 6, 6), std::string("480080")); // record 72
        QVERIFY(!action("mnuDelCor")->isEnabled());
        QVERIFY(!selectionShown());

        QString shownHex;
        MainWindowFixture::onNextModal([&](QWidget* info) {
            shownHex = info->findChild<QLineEdit*>("txtHEX")->text();
            info->close();
        });
        click(1);
        QTest::mouseDClick(cell(1), Qt::LeftButton);
        QCOMPARE(shownHex, QString::fromStdString(bascommon::HexRGB(recordColor(299))));
        QStringList shown;
        QTimer::singleShot(0, [&] {
            if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                shown = visibleItems(popup);
                popup->close();
            }
        });
        f->window().show();
        click(2, Qt::RightButton);
        QCOMPARE(f->window().currentColor(), recordColor(298));
        for (const char* item : {"&Delete Selected Color", "Preview: Show Color Details"})
            QVERIFY2(shown.contains(item), item);
        const QStringList menuBar = visibleItems(f->find<QMenu>("mnuEdit"));
        QVERIFY(!menuBar.contains("Preview: Show Color Details"));
        QVERIFY(menuBar.contains("&Delete Selected Color"));
    }

    // The kind decides the commands: cleaning takes all but the recent palette, deleting takes
    // user and unknown kinds, "Add This Color To" lists the permanent and user palettes.
    void commandsFollowTheKind()
    {
        f->writeFile("colorchart.cci",
                     "mycolor.rgb\r\nMine\r\n0\r\nc7.rgb\r\nRecent\r\n2\r\n"
                     "c33.rgb\r\nOther kind\r\n 7 \r\nc44.rgb\r\nBlack & White\r\n"
                     "1\r\nc9.rgb\r\nNine\r\n0\r\n");
        view().ShowChartMenu();
        const bool clean[] = {true, false, true, true}, deletable[] = {false, false, true, true};
        for (int i = 0; i < 4; ++i) {
            chooser()->setCurrentIndex(i);
            f->window().CurrentColorChanged(0x0000FF);
            QCOMPARE(action("mnuCleanAll")->isEnabled(), clean[i]);
            QCOMPARE(action("mnuCleanDup")->isEnabled(), clean[i]);
            QCOMPARE(action("mnuDelChart")->isEnabled(), deletable[i]);
        }
        QCOMPARE(visibleItems(f->find<QMenu>("mnuAddto")),
                 (QStringList{"Mine", "Black && White", "Nine"}));
        addToItems().at(1)->trigger();
        QCOMPARE(f->readFile("c44.rgb"), std::string("FF0000"));

        // Adding to the palette on display returns it to page one; to another, leaves it alone.
        showTestPalette(300);
        action("nextpage")->trigger();
        f->window().CurrentColorChanged(0x00CC33);
        addToItems().last()->trigger(); // "Test palette"
        QCOMPARE(view().page(), 1);
        QCOMPARE(centerOf(0), 0x00CC33);
        QCOMPARE(f->readFile("c50.rgb").substr(300 * 6), std::string("33CC00"));
        action("nextpage")->trigger();
        addToItems().first()->trigger(); // "Mine"
        QCOMPARE(view().page(), 2);
        QVERIFY(f->readFile("mycolor.rgb").ends_with("33CC00"));
    }

    // Known by its kind wherever a hand-edited index puts it, the recent palette on display takes
    // new colors but not its own cells; other palettes' cells are remembered, repeats too.
    void recentPaletteIsKnownByItsKindNotItsPlaceInTheChooser()
    {
        f->writeFile("colorchart.cci", "mycolor.rgb\r\nMy Colors\r\n0\r\n"
                                       "c1.rgb\r\nWeb Safe Colors\r\n0\r\n"
                                       "recent.rgb\r\nRecent Colors\r\n2\r\n");
        const std::string webSafe = f->readFile("c1.rgb");
        const std::string second = webSafe.substr(webSafe.size() - 12, 6); // the newest is white
        QCOMPARE(chooser()->currentIndex(), 0);
        QCOMPARE(view().page(), 1);
        QVERIFY(!selectionShown());
        chooser()->setCurrentIndex(1);
        const ColorValue firstWebSafe = centerOf(0);
        f->window().CurrentColorChanged(0x3366FF);
        QCOMPARE(centerOf(0), firstWebSafe);
        QCOMPARE(chooser()->currentText(), QString("Web Safe Colors"));
        QVERIFY(!action("mnuDelCor")->isEnabled()); // nothing of c1.rgb is selected
        QCOMPARE(f->readFile("c1.rgb"), webSafe);
        click(1);
        click(1);
        QCOMPARE(f->readFile("recent.rgb"), "FF6633" + second + second);
        QVERIFY(action("mnuDelCor")->isEnabled()); // the selection stays: same color
        f->window().CurrentColorChanged(0x445566);
        QVERIFY(!action("mnuDelCor")->isEnabled());

        chooser()->setCurrentIndex(2);
        f->window().CurrentColorChanged(0x112233);
        QCOMPARE(centerOf(0), 0x112233);
        click(1); // the color before, 0x445566
        QCOMPARE(f->window().currentColor(), 0x445566);
        QCOMPARE(f->readFile("recent.rgb"), "FF6633" + second + second + "665544332211");
        QVERIFY(selectionShown());
        QVERIFY(!action("mnuDelCor")->isEnabled());
    }

    // Deleting or cleaning a palette asks first, naming it; No changes nothing.
    void deletingAndCleaningAskFirst()
    {
        showTestPalette(4);
        const std::string index = f->readFile("colorchart.cci");
        f->fakes.questions.answers = {false, false};
        for (const char* command : {"mnuDelChart", "mnuCleanAll"}) {
            action(command)->trigger();
            QVERIFY(f->fakes.questions.asked.back().text.contains("\"Test palette\""));
        }
        QCOMPARE(f->fakes.questions.asked.size(), size_t(2));
        QCOMPARE(f->readFile("colorchart.cci"), index);
        QCOMPARE(f->readFile("c50.rgb"), numberedRecords(4));

        action("mnuCleanAll")->trigger(); // Yes
        QCOMPARE(view().chartColorCount(), 0);
        QCOMPARE(centerOf(0), white);
        QCOMPARE(f->readFile("c50.rgb"), std::string());

        // Cleaning duplicates works from two colors on and shows the cleaned palette.
        f->writeFile("c50.rgb", "BBBBBBBBBBBB");
        int page = 1;
        f->window().ShowColorChart("c50.rgb", page);
        action("mnuCleanDup")->trigger();
        QCOMPARE(f->readFile("c50.rgb"), std::string("BBBBBB"));
        QCOMPARE(centerOf(1), white);

        action("mnuDelChart")->trigger(); // Yes
        QVERIFY(!std::filesystem::exists(f->folder() / "c50.rgb"));
        QCOMPARE(chooser()->findText("Test palette"), -1);
        // The grid shows the first palette, not the deleted one.
        QCOMPARE(view().chartColorCount(), static_cast<int>(f->readFile("mycolor.rgb").size() / 6));

        // Deleting one of two entries for the same file keeps the file.
        f->writeFile("colorchart.cci", f->readFile("colorchart.cci") + "c51.rgb\r\nTwin\r\n1\r\n");
        showTestPalette(4, "1", "c51.rgb");
        action("mnuDelChart")->trigger(); // Yes
        QCOMPARE(f->readFile("c51.rgb"), numberedRecords(4));
        QVERIFY(chooser()->findText("Twin") >= 0);
    }

    // Both New commands name the palette through the input box; Cancel makes none.
    void newPaletteIsNamedThroughTheInputBox()
    {
        const struct {
            const char *command, *typed;
            bool ok;
            std::string title, file;
        } cases[] = {{"addnew", "Brand", false, "", "c10.rgb"},
                     {"addnew", "Brand blues", true, "Brand blues", "c10.rgb"},
                     {"mnuNew", "  Brand ", true, "Brand", "c11.rgb"}};
        for (const auto& c : cases) {
            const int before = chooser()->count();
            MainWindowFixture::answerInputBox(c.typed, c.ok);
            action(c.command)->trigger();
            QCOMPARE(chooser()->count(), before + int(c.ok));
            QCOMPARE(std::filesystem::exists(f->folder() / c.file), c.ok);
            if (!c.ok)
                continue;
            QCOMPARE(chooser()->currentText().toStdString(), c.title);
            QCOMPARE(view().currentFile(), c.file);
            QVERIFY(
                f->readFile("colorchart.cci").ends_with(c.file + "\r\n" + c.title + "\r\n1\r\n"));
            QVERIFY(action("mnuDelChart")->isEnabled());
        }
    }

    void fileFailuresAreShownAndChangeNothing()
    {
        // A palette whose name leads out of the data folder, and one whose file is a folder.
        showTestPalette(5);
        f->writeFile("colorchart.cci",
                     f->readFile("colorchart.cci") +
                         "../evil.rgb\r\nEvil\r\n1\r\nc51.rgb\r\nFolder\r\n1\r\n");
        std::filesystem::create_directory(f->folder() / "c51.rgb");
        view().ShowChartMenu();
        chooser()->setCurrentIndex(chooser()->findText("Test palette"));
        click(0);
        chooser()->setCurrentIndex(chooser()->findText("Evil"));
        auto& errors = f->fakes.questions.errors;
        QVERIFY(errors.back().text.contains("../evil.rgb"));
        QCOMPARE(chooser()->currentText(), QString("Test palette"));
        QCOMPARE(centerOf(0), recordColor(5)); // the grid keeps what it showed
        QVERIFY(selectionShown());

        addToItems().last()->trigger(); // "Folder"
        QCOMPARE(errors.size(), size_t(2));
        QVERIFY(errors.back().text.contains("c51.rgb"));

        // An index that cannot be repaired: one message, the chooser stays as it was.
        f->writeFile("colorchart.cci", f->readFile("colorchart.cci") + "\r\n");
        std::filesystem::create_directory(f->folder() / "colorchart.cct");
        f->writeFile("colorchart.cct/keep", "x");
        const int chooserItems = chooser()->count();
        view().ShowChartMenu();
        QCOMPARE(errors.size(), size_t(3));
        QVERIFY(errors.back().text.contains("colorchart.cct"));
        QCOMPARE(chooser()->count(), chooserItems);
        QCOMPARE(chooser()->currentText(), QString("Test palette"));
    }

    // Tab reaches the grid after the chooser; arrows move through the cells (down the columns),
    // Enter chooses one as a click does, the Menu key and Shift+F10 open its pop-up menu.
    void gridTakesTheKeyboard()
    {
        showTestPalette(30);
        f->showActive();
        chooser()->setFocus();
        QTest::keyClick(chooser(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), &view());
        for (const Qt::Key key :
             {Qt::Key_Up, Qt::Key_Down, Qt::Key_Right, Qt::Key_Left, Qt::Key_Right, Qt::Key_Down})
            QTest::keyClick(&view(), key);
        QVERIFY(!selectionShown());
        QTest::keyClick(&view(), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(selectionShown());
        QCOMPARE(f->window().currentColor(), recordColor(30 - 14)); // Up stayed on cell 0
        QCOMPARE(popupOpenedBy(&view(), Qt::Key_Menu), QString("mnuEdit"));
        QCOMPARE(popupOpenedBy(&view(), Qt::Key_F10, Qt::ShiftModifier), QString("mnuEdit"));
        QCOMPARE(popupOpenedBy(&view(), Qt::Key_F10), QString());
    }

    // Import shows the file from cell zero and reports skipped lines; a broken file or unknown
    // export extension is reported and changes nothing; an export imports back cell for cell.
    // The colors of an image become a new palette, the largest area first; the window stays live
    // while they are found.
    void paletteFromAnImageRanksItsColorsByArea()
    {
        QImage picture(40, 10, QImage::Format_RGB32);
        picture.fill(QColor(0, 0, 255));
        for (int x = 0; x < 30; ++x)
            for (int y = 0; y < 10; ++y)
                picture.setPixelColor(x, y, QColor(255, 0, 0));
        const QString path = m_outside.filePath("flag.png");
        QVERIFY(picture.save(path));
        f->fakes.fileOpenDialog.answer = path;
        action("paletteFromImage")->trigger();
        QTRY_COMPARE(chooser()->currentText(), QString("flag"));
        QCOMPARE(centerOf(0), bascommon::RGB(255, 0, 0));
        QCOMPARE(centerOf(1), bascommon::RGB(0, 0, 255));
        QCOMPARE(centerOf(2), white);
    }

    void importAndExportThroughTheWindow()
    {
        const QString sunset = m_outside.filePath("sunset.gpl");
        std::ofstream(sunset.toStdString(), std::ios::binary)
            << "GIMP Palette\r\nName: Sunset\r\n#\r\n255 0 0 Red\r\n300 0 0\r\n0 0 255\r\n";
        importFile(sunset);
        QCOMPARE(chooser()->currentText(), QString("Sunset"));
        QCOMPARE(centerOf(0), bascommon::RGB(255, 0, 0));
        QCOMPARE(centerOf(1), bascommon::RGB(0, 0, 255));
        QCOMPARE(centerOf(2), white);
        QCOMPARE(f->fakes.questions.messages.size(), std::size_t(1));
        QCOMPARE(f->fakes.questions.messages[0].text,
                 QString("2 colors imported into \"Sunset\".\n1 line skipped:\n"
                         "line 5: value over 255"));

        const QString broken = m_outside.filePath("broken.ase");
        std::ofstream(broken.toStdString(), std::ios::binary) << "ASEF";
        const std::string index = f->readFile("colorchart.cci");
        importFile(broken);
        QCOMPARE(f->readFile("colorchart.cci"), index);
        auto& errors = f->fakes.questions.errors;
        QCOMPARE(errors.size(), std::size_t(1));
        QCOMPARE(errors[0].caption, QString("Import Palette"));
        QCOMPARE(errors[0].text, QString("Nothing was imported from broken.ase: it ends before its "
                                         "last color.\n\n(the file ends inside its header at "
                                         "offset 4)"));
        // A name without a known extension takes the chosen type's; a failure says what did not
        // happen, titled after the command.
        f->fakes.fileSaveDialog.chosenFilter = "Design tokens (*.json *.tokens)";
        for (const char* name : {"mytokens", "v1.2"}) {
            f->fakes.fileSaveDialog.answer = m_outside.filePath(name);
            action("exportPalette")->trigger();
            QVERIFY(QFile::exists(m_outside.filePath(name) + ".json"));
        }
        QVERIFY(f->fakes.fileSaveDialog.lastFilter.startsWith("GIMP palette (*.gpl);;"));
        QDir(m_outside.path()).mkdir("blocked.gpl");
        f->fakes.fileSaveDialog.answer = m_outside.filePath("blocked.gpl");
        action("exportPalette")->trigger();
        QCOMPARE(errors.size(), std::size_t(2));
        QCOMPARE(errors[1].caption, QString("Export Palette"));
        QVERIFY(errors[1].text.startsWith("The palette was not exported.\n\n"));
        f->fakes.questions.answers = {false}; // "mytokens.json already exists": keep it
        f->fakes.fileSaveDialog.answer = m_outside.filePath("mytokens");
        action("exportPalette")->trigger();
        QVERIFY(f->fakes.questions.asked.back().text.startsWith("mytokens.json already exists."));

        showTestPalette(217);
        f->fakes.fileSaveDialog.answer = m_outside.filePath("mine.ase");
        action("exportPalette")->trigger();
        importFile(m_outside.filePath("mine.ase"));
        QCOMPARE(view().chartColorCount(), 217);
        QCOMPARE(centerOf(0), recordColor(217));
        QCOMPARE(centerOf(215), recordColor(2));
        QCOMPARE(errors.size(), std::size_t(2));
    }
};

QTEST_MAIN(PaletteViewTest)
#include "PaletteView_test.moc"
