// "Check Contrast...": the window follows the scheme, applies fixes through the item path and
// shows the scheme as seen with a color-vision deficiency.
#include "MainWindowFixture.h"

#include "color/Contrast.h"
#include "web/ContrastWindow.h"
#include "web/SchemeEditor.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace bascommon;

class ContrastWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;

    ContrastWindow* open()
    {
        f->find<QAction>("checkContrast")->trigger();
        auto* window = f->window().findChild<ContrastWindow*>();
        if (!window)
            qFatal("Check Contrast... opened no window");
        return window;
    }
    template <typename T = QLabel> T* in(const QString& name)
    {
        return f->find<T>(qPrintable(name));
    }
    QString ratio(int row) { return in(QString("ratio_%1").arg(row))->text(); }
    QColor hoverSample() { return in("sample_4")->palette().color(QPalette::WindowText); }

private slots:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { f.reset(); }

    // One window, which shows the scheme as seen with a color-vision deficiency and follows the
    // scheme and the current color.
    void opensOnceAndFollowsTheSchemeAndTheCurrentColor()
    {
        ContrastWindow* w = open();
        open();
        QCOMPARE(f->window().findChildren<ContrastWindow*>().size(), 1);
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
        QCOMPARE(hoverSample().hslSaturation(), 0);
        viewAs->setCurrentIndex(1);
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
        f->find<QListWidget>("lstCorset")->setCurrentRow(5);
        QVERIFY(ratio(0) != QString("1.00:1"));
    }

    // Every control has a place of its own, and each label's Alt key reaches its control.
    void laidOutForTheKeyboard()
    {
        ContrastWindow* w = open();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const auto controls = w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* a : controls)
            for (const QWidget* b : controls)
                if (a < b && a->isVisible() && b->isVisible())
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + " overlaps " + b->objectName()));
        in<QComboBox>("viewAs")->setCurrentIndex(1); // severity applies from here on
        QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), in<QSpinBox>("severity"));
        QTest::keyClick(w, Qt::Key_V, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), in<QComboBox>("viewAs"));
    }

    void fixReachesAaAndLandsInTheItem()
    {
        ContrastWindow* w = open();
        const ColorValue WebColorScheme::*fields[] = {
            &WebColorScheme::Text, &WebColorScheme::NormalLink, &WebColorScheme::VisitedLink,
            &WebColorScheme::ActiveLink, &WebColorScheme::HoverLink};
        const char* options[] = {"opttext", "optnl", "optvl", "optal", "opthl"};
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
                QTest::mouseClick(fix, Qt::LeftButton);
                QCOMPARE(f->window().schemeEditor()->scheme().*fields[row], suggested);
                QVERIFY(f->find<QRadioButton>(options[row])->isChecked());
                QCOMPARE(f->text("txtrgb"), QString::fromStdString(HexRGB(suggested)));
                QVERIFY(!fix->isVisibleTo(w));
                QCOMPARE(in(QString("mark_%1").arg(row * 4))->text(), QString("Pass"));
                ++fixed;
            }
            QVERIFY(fixed > 0);
        }
    }
};

QTEST_MAIN(ContrastWindowTest)
#include "ContrastWindow_test.moc"
