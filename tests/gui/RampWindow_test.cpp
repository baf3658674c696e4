// The Ramp and Harmonies window in the main window: it follows the current color, its swatches
// make their color current and copy their text, and Save as Palette stores the ramp in order;
// and the preview's tooltip names the nearest CSS color.
#include "MainWindowFixture.h"

#include "color/Ramp.h"
#include "color/RampWindow.h"
#include "palette/PaletteStore.h"
#include "palette/PaletteView.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

using namespace bascommon;

class RampWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;

    RampWindow* open()
    {
        f->find<QAction>("rampHarmonies")->trigger();
        RampWindow* window = f->window().rampWindow();
        if (!window)
            qFatal("the window did not open");
        return window;
    }
    static QWidget* swatch(RampWindow* window, const char* name)
    {
        auto* found = window->findChild<QWidget*>(name);
        if (!found)
            qFatal("no swatch %s", name);
        return found;
    }

private slots:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { f.reset(); }

    void itemsComeAfterTheListedOnes()
    {
        const auto items = [this](const char* menu) { return visibleItems(f->find<QMenu>(menu)); };
        QCOMPARE(items("mnuTool").last(), QString("&Ramp and Harmonies..."));
        const QStringList file = items("mnuFile");
        QCOMPARE(file.mid(file.size() - 2), QStringList({"New Palette from &Image...", "E&xit"}));
    }

    void previewTooltipNamesTheNearestNamedColor()
    {
        f->window().CurrentColorChanged(RGB(0x46, 0x82, 0xB5));
        QVERIFY(f->find("lblcolor")->toolTip().endsWith("\n~ steelblue (0.002)"));
        f->window().CurrentColorChanged(RGB(0x66, 0x33, 0x99));
        QVERIFY(f->find("lblcolor")->toolTip().endsWith("\nrebeccapurple"));
    }

    void followsTheCurrentColor()
    {
        RampWindow* window = open();
        QCOMPARE(window->color(), RGB(255, 255, 255));
        const ColorValue blue = RGB(0x3B, 0x82, 0xF6);
        f->window().CurrentColorChanged(blue);
        QCOMPARE(window->color(), blue);
        std::vector<ColorValue> expected;
        for (const RampStep& step : MakeRamp(blue))
            expected.push_back(step.color);
        QCOMPARE(window->rampColors(), expected);
        QVERIFY(swatch(window, "rampStep_500")->accessibleName().contains("#3B82F6"));
        QVERIFY(swatch(window, "harmony_triadic_2")->accessibleName().startsWith("+240"));
        window->rampSteps->setValue(3);
        QCOMPARE(window->rampColors().size(), std::size_t{3});
    }

    void clickMakesASwatchCurrentAndCopyTakesTheChosenForm()
    {
        f->window().CurrentColorChanged(RGB(0x3B, 0x82, 0xF6));
        RampWindow* window = open();
        const ColorValue step200 = window->rampColors()[2];
        QTest::mouseClick(swatch(window, "rampStep_200"), Qt::LeftButton);
        QTRY_COMPARE(f->window().currentColor(), step200);
        QCOMPARE(f->text("txtrgb"), QString::fromStdString(HexRGB(step200)));
        QCOMPARE(window->color(), step200); // and the window follows it

        window->rampForm->setCurrentText("rgb");
        QWidget* own = swatch(window, "rampStep_200");
        own->setFocus();
        QTest::keySequence(own, QKeySequence::Copy);
        QCOMPARE(f->fakes.clipboard.text(), QString("rgb(%1 %2 %3)")
                                                .arg(GetRed(step200))
                                                .arg(GetGreen(step200))
                                                .arg(GetBlue(step200)));
    }

    void saveAsPaletteWritesTheRampInOrder()
    {
        f->window().CurrentColorChanged(RGB(0x3B, 0x82, 0xF6));
        RampWindow* window = open();
        const auto ramp = window->rampColors();
        QTest::mouseClick(window->savePalette, Qt::LeftButton);
        PaletteView* view = f->window().paletteView();
        QCOMPARE(view->cmbChart->currentText(), QString("Ramp #3B82F6"));
        // Cell 0 shows step 50: the display order is the ramp's order.
        QCOMPARE(f->window().paletteStore().ReadDisplayOrder(view->currentFile()), ramp);
    }
};

QTEST_MAIN(RampWindowTest)
#include "RampWindow_test.moc"
