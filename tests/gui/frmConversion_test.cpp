// The Color Conversion dialog.
#include "MainWindowFixture.h"

#include "color/frmConversion.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include <memory>

using bascommon::RGB;

class FrmConversionTest : public QObject
{
    Q_OBJECT

private:
    FakeServices fakes;
    std::optional<Services> services;
    std::vector<bascommon::ColorValue> applied;
    std::unique_ptr<frmConversion> dialog;

    frmConversion& open(int r, int g, int b)
    {
        services.emplace(fakes.services());
        dialog = std::make_unique<frmConversion>(
            textsOf(r, g, b), *services, [this](bascommon::ColorValue c) { applied.push_back(c); });
        dialog->show();
        return *dialog;
    }

    QSlider* slider(int i) { return dialog->findChild<QSlider*>(QString("sldVal_%1").arg(i)); }
    QString value(int i)
    {
        return dialog->findChild<QLineEdit*>(QString("txtval_%1").arg(i))->text();
    }
    QString caption(int i)
    {
        return dialog->findChild<QLabel*>(QString("lblCp_%1").arg(i))->text();
    }
    QString hex() { return dialog->findChild<QLineEdit*>("txtHEX")->text(); }
    QColor sample()
    {
        return dialog->findChild<QLabel*>("picClr")->palette().color(QPalette::Window);
    }
    void selectTab(const QString& tab)
    {
        auto* tabs = dialog->findChild<QTabWidget*>("tabModels");
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == tab)
                tabs->setCurrentIndex(i);
        QCOMPARE(tabs->tabText(tabs->currentIndex()), tab);
    }
    // The visible rows as "caption max value" strings.
    QStringList rows()
    {
        QStringList shown;
        for (int i = 0; i < 4; ++i)
            if (slider(i)->isVisibleTo(dialog.get()))
                shown
                    << QString("%1 %2 %3").arg(caption(i)).arg(slider(i)->maximum()).arg(value(i));
        return shown;
    }

private slots:
    void init()
    {
        applied.clear();
        fakes.stayOnTop.calls.clear();
    }
    void cleanup() { dialog.reset(); }

    void opensOnTheCurrentColorInRgb()
    {
        open(255, 161, 204);
        QCOMPARE(dialog->findChild<QTabWidget*>("tabModels")->currentIndex(), 0);
        QCOMPARE(rows(), (QStringList{"R 255 255", "G 255 161", "B 255 204"}));
        QCOMPARE(hex(), QString("#FFA1CC"));
        QCOMPARE(sample(), QColor(255, 161, 204));
        QCOMPARE(fakes.stayOnTop.calls.size(), 1u);
        QVERIFY(fakes.stayOnTop.calls[0].onTop);
    }

    void eachTabShowsTheSameColor_data()
    {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("pink HLS") << 255 << 161 << 204 << "HLS"
                                  << QStringList{"H 360 33", "L 100 82", "S 100 100"};
        QTest::newRow("pink CMY") << 255 << 161 << 204 << "CMY"
                                  << QStringList{"C 255 0", "M 255 94", "Y 255 51"};
        QTest::newRow("pink CMYK") << 255 << 161 << 204 << "CMYK"
                                   << QStringList{"C 100 0", "M 100 37", "Y 100 20", "K 100 0"};
        QTest::newRow("pink YCbCr")
            << 255 << 161 << 204 << "YCbCr" << QStringList{"Y 255 194", "Cb 255 134", "Cr 255 172"};
        QTest::newRow("light gray HLS")
            << 200 << 200 << 200 << "HLS" << QStringList{"H 360 60", "L 100 78", "S 100 0"};
    }
    void eachTabShowsTheSameColor()
    {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QFETCH(QString, tab);
        QFETCH(QStringList, expected);
        open(r, g, b);
        const QString hexBefore = hex();
        selectTab(tab);
        QCOMPARE(rows(), expected);
        QCOMPARE(hex(), hexBefore);
        QCOMPARE(sample(), QColor(r, g, b));
    }

    // Selecting tabs only re-expresses the working color, and row 3 (caption, slider and box)
    // belongs to CMYK alone.
    void switchingTabsNeverMovesTheColor()
    {
        open(51, 102, 153);
        for (const char* tab : {"CMYK", "HLS", "CMYK", "YCbCr", "CMYK", "CMY", "CMYK", "RGB"}) {
            selectTab(tab);
            QCOMPARE(hex(), QString("#336699"));
            for (const char* part : {"lblCp_3", "sldVal_3", "txtval_3"})
                QCOMPARE(dialog->findChild<QWidget*>(part)->isVisibleTo(dialog.get()),
                         QString(tab) == "CMYK");
        }
        QCOMPARE(rows(), (QStringList{"R 255 51", "G 255 102", "B 255 153"}));
        dialog->findChild<QPushButton*>("Command2")->click();
        QCOMPARE(applied, (std::vector<bascommon::ColorValue>{RGB(51, 102, 153)}));
    }

    // The color is recomputed from H, L and S, not restored.
    void movingLightnessAwayAndBackRecomputesTheColor()
    {
        open(255, 161, 204);
        selectTab("HLS");
        slider(1)->setFocus();
        QTest::keyClick(slider(1), Qt::Key_Right);
        QCOMPARE(value(1), QString("83"));
        QTest::keyClick(slider(1), Qt::Key_Left);
        QCOMPARE(value(1), QString("82"));
        QCOMPARE(hex(), QString("#FFA3CD"));
        QCOMPARE(sample(), QColor(255, 163, 205));
        selectTab("RGB");
        QCOMPARE(rows(), (QStringList{"R 255 255", "G 255 163", "B 255 205"}));
    }

    void movingARowAppliesItsModel_data()
    {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("hex");
        QTest::newRow("RGB green") << "RGB" << 1 << 0 << "#FF00CC";
        QTest::newRow("CMY cyan") << "CMY" << 0 << 255 << "#00A1CC";
        QTest::newRow("CMYK black") << "CMYK" << 3 << 100 << "#000000";
        QTest::newRow("YCbCr luma") << "YCbCr" << 0 << 0 << "#3E000B"; // 61.688, -33.487, 10.632
        QTest::newRow("HLS hue to red") << "HLS" << 0 << 60 << "#FFA3A3";
    }
    void movingARowAppliesItsModel()
    {
        QFETCH(QString, tab);
        QFETCH(int, row);
        QFETCH(int, value);
        QFETCH(QString, hex);
        open(255, 161, 204);
        selectTab(tab);
        slider(row)->setValue(value);
        QCOMPARE(this->hex(), hex);
        dialog->findChild<QPushButton*>("Command2")->click();
        QCOMPARE(applied.size(), 1u);
        QCOMPARE(QString::fromStdString(bascommon::HexRGB(applied[0])), hex);
    }

    void cancelLeavesTheColorAndOkWithoutAMoveReappliesIt()
    {
        open(255, 161, 204);
        slider(0)->setValue(10);
        dialog->findChild<QPushButton*>("Command1")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(applied.empty());

        open(255, 161, 204);
        selectTab("YCbCr"); // a lossy model, but only a move would apply it
        dialog->findChild<QPushButton*>("Command2")->click();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(applied, (std::vector<bascommon::ColorValue>{RGB(255, 161, 204)}));
    }

    // Through the main window: OK makes the sample the current color everywhere.
    void okFromTheMainWindowSetsTheCurrentColor()
    {
        MainWindowFixture f;
        f.window().CurrentColorChanged(RGB(255, 161, 204));
        MainWindowFixture::onNextModal([](QWidget* modal) {
            modal->findChild<QTabWidget*>("tabModels")->setCurrentIndex(1); // HLS
            modal->findChild<QSlider*>("sldVal_0")->setValue(60);
            modal->findChild<QPushButton*>("Command2")->click();
        });
        f.window().showConversion();
        QCOMPARE(f.text("txtrgb"), QString("#FFA3A3"));
        QCOMPARE(f.window().currentColor(), RGB(255, 163, 163));
    }
};

QTEST_MAIN(FrmConversionTest)
#include "frmConversion_test.moc"
