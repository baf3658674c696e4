// File > "Import Palette..." and "Export Palette...".
#include "MainWindowFixture.h"

#include "palette/PaletteCell.h"
#include "palette/PaletteView.h"

#include <QComboBox>

using bascommon::RGB;

class PaletteExchangeTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;
    QTemporaryDir m_outside; // where the user's files are

    QString outside(const QString& name) const { return m_outside.filePath(name); }
    QComboBox* chooser() { return f->find<QComboBox>("cmbChart"); }
    bascommon::ColorValue cellColor(int i)
    {
        return f->find<PaletteCell>(qPrintable(QString("lblcor_%1").arg(i)))->color();
    }
    void importFile(const QString& path)
    {
        f->fakes.fileOpenDialog.answer = path;
        f->find<QAction>("importPalette")->trigger();
    }

private slots:
    void init()
    {
        f = std::make_unique<MainWindowFixture>();
        f->window();
    }
    void cleanup() { f.reset(); }

    void importShowsTheFileInOrderFromCellZeroAndReportsSkippedLines()
    {
        std::ofstream(outside("sunset.gpl").toStdString(), std::ios::binary)
            << "GIMP Palette\r\nName: Sunset\r\n#\r\n255 0 0 Red\r\n300 0 0\r\n0 0 255\r\n";
        const int before = chooser()->count();
        importFile(outside("sunset.gpl"));
        QCOMPARE(chooser()->count(), before + 1);
        QCOMPARE(chooser()->currentText(), QString("Sunset"));
        QCOMPARE(cellColor(0), RGB(255, 0, 0));
        QCOMPARE(cellColor(1), RGB(0, 0, 255));
        QCOMPARE(cellColor(2), 0xFFFFFF);
        QVERIFY(f->find<QAction>("mnuDelChart")->isEnabled()); // a user palette
        QCOMPARE(f->fakes.questions.messages.size(), std::size_t(1));
        QCOMPARE(f->fakes.questions.messages[0].text,
                 QString("2 colors imported into \"Sunset\".\n1 line skipped:\n"
                         "line 5: value over 255"));
    }

    void aBrokenFileOrAnUnknownExtensionIsReported()
    {
        std::ofstream(outside("broken.ase").toStdString(), std::ios::binary) << "ASEF";
        const std::string index = f->readFile("colorchart.cci");
        importFile(outside("broken.ase"));
        QCOMPARE(f->readFile("colorchart.cci"), index);
        QCOMPARE(f->fakes.questions.errors.size(), std::size_t(1));
        QVERIFY(f->fakes.questions.errors[0].text.startsWith(outside("broken.ase") + ": "));
        QVERIFY(f->fakes.questions.errors[0].text.contains("offset 0"));
        QVERIFY(f->fakes.questions.messages.empty());

        // Export asks for a known extension.
        f->fakes.fileSaveDialog.answer = outside("palette.png");
        f->find<QAction>("exportPalette")->trigger();
        QCOMPARE(f->fakes.questions.errors.size(), std::size_t(2));
        QVERIFY(!QFile::exists(outside("palette.png")));
    }

    void exportedPaletteImportsBackCellForCell_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("gpl") << "mine.gpl";
        QTest::newRow("ase") << "mine.ase";
        QTest::newRow("txt") << "mine.TXT";
    }
    void exportedPaletteImportsBackCellForCell()
    {
        QFETCH(QString, name);
        chooser()->setCurrentIndex(chooser()->count() - 1);
        std::vector<bascommon::ColorValue> shown;
        for (int i = 0; i < PaletteView::cellCount; ++i)
            shown.push_back(cellColor(i));
        f->fakes.fileSaveDialog.answer = outside(name);
        f->find<QAction>("exportPalette")->trigger();
        importFile(outside(name));
        for (int i = 0; i < PaletteView::cellCount; ++i)
            QCOMPARE(cellColor(i), shown[static_cast<std::size_t>(i)]);
        QVERIFY(f->fakes.questions.errors.empty());
    }
};

QTEST_MAIN(PaletteExchangeTest)
#include "PaletteExchange_test.moc"
