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
                shown << QString("%1 %2 %3")
                             .arg(dialog->findChild<QLabel*>(QString("lblCp_%1").arg(i))->text())
                             .arg(slider(i)->maximum())
                             .arg(value(i));
        return shown;
    }

private slots:
    void init() { applied.clear(); }
    void cleanup() { dialog.reset(); }

    // The dialog opens on the RGB tab, above the main window; each tab shows the same color.
    void eachTabShowsTheSameColor()
    {
        const struct {
            int r, g, b;
            const char* tab;
            QStringList rows;
        } cases[] = {
            {255, 161, 204, "RGB", {"R 255 255", "G 255 161", "B 255 204"}},
            {255, 161, 204, "HLS", {"H 360 33", "L 100 82", "S 100 100"}},
            {255, 161, 204, "CMY", {"C 255 0", "M 255 94", "Y 255 51"}},
            {255, 161, 204, "CMYK", {"C 100 0", "M 100 37", "Y 100 20", "K 100 0"}},
            {255, 161, 204, "YCbCr", {"Y 255 194", "Cb 255 134", "Cr 255 172"}},
            {255, 161, 204, "HSV", {"H 359 333", "S 100 37", "V 100 100"}},
            {255, 0, 0, "OKLCH", {"L 1000 62.8", "C 370 0.258", "H 359 29"}},
            {119, 119, 119, "OKLCH", {"L 1000 56.9", "C 370 0.000", "H 359 0"}}, // no hue
        };
        for (const auto& c : cases) {
            fakes.stayOnTop.calls.clear();
            open(c.r, c.g, c.b);
            QCOMPARE(dialog->findChild<QTabWidget*>("tabModels")->currentIndex(), 0);
            QCOMPARE(fakes.stayOnTop.calls.size(), 1u);
            QVERIFY(fakes.stayOnTop.calls[0].onTop);
            selectTab(c.tab);
            QCOMPARE(rows(), c.rows);
            QCOMPARE(hex(), QColor(c.r, c.g, c.b).name().toUpper());
            QCOMPARE(sample(), QColor(c.r, c.g, c.b));
        }
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
    }

    void movingARowAppliesItsModel()
    {
        const struct {
            const char* tab;
            int row, value;
            const char* hex;
        } moves[] = {
            {"RGB", 1, 0, "#FF00CC"},    {"CMY", 0, 255, "#00A1CC"},
            {"CMYK", 3, 100, "#000000"}, {"YCbCr", 0, 0, "#3E000B"}, // 61.688, -33.487, 10.632
            {"HLS", 0, 60, "#FFA3A3"},   {"HSV", 0, 120, "#A1FFA1"},
            {"OKLCH", 1, 0, "#C2C2C2"}, // L 81.5%
        };
        for (const auto& m : moves) {
            applied.clear();
            open(255, 161, 204);
            selectTab(m.tab);
            slider(m.row)->setValue(m.value);
            QCOMPARE(hex(), QString(m.hex));
            dialog->findChild<QPushButton*>("Command2")->click();
            QCOMPARE(applied.size(), 1u);
            QCOMPARE(QString::fromStdString(bascommon::HexRGB(applied[0])), QString(m.hex));
        }
    }

    // Too much chroma is brought into sRGB at the same lightness and hue, and the tab says so.
    void oklchOutsideSrgbShowsTheMappedColor()
    {
        open(255, 0, 0);
        selectTab("OKLCH");
        auto* note = dialog->findChild<QLabel*>("gamutNote");
        QVERIFY(!note->isVisibleTo(dialog.get()));
        slider(1)->setValue(370);
        QVERIFY(note->isVisibleTo(dialog.get()));
        const QColor mapped = sample();
        QVERIFY(mapped.red() > 200 && mapped.green() < 80 && mapped.blue() < 80);
        slider(1)->setValue(100);
        QVERIFY(!note->isVisibleTo(dialog.get()));
        selectTab("RGB");
        slider(1)->setValue(1);
        selectTab("OKLCH");
        QVERIFY(!note->isVisibleTo(dialog.get()));
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
