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

    void open(int r, int g, int b)
    {
        applied.clear();
        fakes.stayOnTop.calls.clear();
        services.emplace(fakes.services());
        dialog = std::make_unique<frmConversion>(
            textsOf(r, g, b), *services, [this](bascommon::ColorValue c) { applied.push_back(c); });
        dialog->show();
    }

    template <typename T = QWidget> T* part(const QString& name)
    {
        return dialog->findChild<T*>(name);
    }
    QSlider* slider(int i) { return part<QSlider>(QString("sldVal_%1").arg(i)); }
    QString hex() { return part<QLineEdit>("txtHEX")->text(); }
    QColor sample() { return part("picClr")->palette().color(QPalette::Window); }
    bool shown(const QString& name) { return part(name)->isVisibleTo(dialog.get()); }
    void click(const char* button) { part<QPushButton>(button)->click(); }
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
    void cleanup() { dialog.reset(); }

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
                QCOMPARE(fakes.stayOnTop.calls.size(), 1u);
                QVERIFY(fakes.stayOnTop.calls[0].onTop);
            }
            selectTab(c.tab);
            QCOMPARE(rows(), c.rows);
            QCOMPARE(hex(), color.name().toUpper());
            QCOMPARE(sample(), color);
            for (const char* row3 : {"lblCp_3", "sldVal_3", "txtval_3"})
                QCOMPARE(shown(row3), QString(c.tab) == "CMYK");
        }
    }

    // OK applies the moved row's model, recomputing HLS from H, L and S even when a row moves
    // away and back, and reapplies the color without a move even on a lossy model; Cancel
    // applies nothing.
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
            selectTab(m.tab);
            for (const int value : m.values)
                slider(m.row)->setValue(value);
            QCOMPARE(hex(), QString(m.hex));
            click(m.ok ? "Command2" : "Command1");
            QVERIFY(!dialog->isVisible());
            QCOMPARE(dialog->result(), int(m.ok ? QDialog::Accepted : QDialog::Rejected));
            QStringList appliedHex;
            for (const bascommon::ColorValue color : applied)
                appliedHex << QString::fromStdString(bascommon::HexRGB(color));
            QCOMPARE(appliedHex, m.ok ? QStringList{m.hex} : QStringList{});
        }
    }

    // Too much chroma is brought into sRGB at the same lightness and hue, and the tab says so.
    void oklchOutsideSrgbShowsTheMappedColor()
    {
        open(255, 0, 0);
        selectTab("OKLCH");
        QVERIFY(!shown("gamutNote"));
        slider(1)->setValue(370);
        QVERIFY(shown("gamutNote"));
        const QColor mapped = sample();
        QVERIFY(mapped.red() > 200 && mapped.green() < 80 && mapped.blue() < 80);
        slider(1)->setValue(100);
        QVERIFY(!shown("gamutNote"));
        selectTab("RGB");
        slider(1)->setValue(1);
        selectTab("OKLCH");
        QVERIFY(!shown("gamutNote"));
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
