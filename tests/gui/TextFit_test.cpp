// Every text of every window shows whole at the test's font resolution (96, 120 and 144 dpi).
#include "MainWindowFixture.h"

#include "app/frmabout.h"
#include "color/frmConversion.h"
#include "color/frmpreview.h"
#include "platform/FontFit.h"
#include "platform/frmInput.h"
#include "web/frmShowweb.h"
#include "web/frmcss.h"

#include <QLabel>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

namespace
{

// The texts of `window`, shown, that are cut, with their widgets' names; and tab bars too wide.
QString cutTexts(QWidget* window)
{
    window->show();
    QCoreApplication::processEvents();
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (const QString text = shownText(w); !textFits(w, w->font(), text))
            cut << w->objectName() + " \"" + text + "\"";
        if (auto* tabs = qobject_cast<QTabWidget*>(w);
            tabs && tabs->tabBar()->sizeHint().width() > tabs->width())
            cut << "tabs of " + tabs->objectName();
    }
    return cut.join(", ");
}

} // namespace

class TextFitTest : public QObject
{
    Q_OBJECT

private:
    FakeServices fakes;

private slots:
    // The measure itself: a line too wide, a box too low, an edit box, a mnemonic.
    void measureFindsCutTexts()
    {
        QLabel label("Html Color Item");
        label.resize(label.sizeHint());
        QVERIFY(textFits(&label, label.font(), label.text()));
        QVERIFY(!textFits(&label, label.font(), "Html Color Items"));
        label.resize(label.width(), label.height() / 3);
        QVERIFY(!textFits(&label, label.font(), label.text()));
        QLineEdit edit("#DDDDDD");
        edit.resize(edit.fontMetrics().horizontalAdvance("#DDDDDD") + 8, 24);
        QVERIFY(textFits(&edit, edit.font(), edit.text()));
        QVERIFY(!textFits(&edit, edit.font(), "#DDDDDDD"));
        QRadioButton button("&Tip && trick");
        QCOMPARE(shownText(&button), QString("Tip & trick"));
    }

    void mainWindow()
    {
        MainWindowFixture f;
        QCOMPARE(cutTexts(&f.window()), QString());
        // Neighbours look alike: the R,G,B box is not shrunk below the #RRGGBB box.
        QCOMPARE(f.find("txtrgb1")->font(), f.find("txtrgb")->font());
        // The color captions of a loaded scheme, with wide digits.
        f.find<QRadioButton>("optvl")->setChecked(true);
        f.window().CurrentColorChanged(bascommon::RGB(0xDD, 0xDD, 0xDD));
        QCOMPARE(cutTexts(&f.window()), QString());
    }

    void dialogs()
    {
        Services services = fakes.services();
        frmabout about(services, "https://huebench.example.org/", "support@huebench.example.org");
        frmInput input;
        const WebColorScheme scheme{0xDDDDDD, 0xDDDDDD, 0xDDDDDD, 0xDDDDDD, 0xDDDDDD, 0xDDDDDD};
        frmcss code(scheme);
        const QColor white(Qt::white), black(Qt::black);
        frmShowweb preview(services, white,
                           {PreviewSample{"Text Color: #DDDDDD", white, black},
                            {"Normal Link Color: #DDDDDD", white, black},
                            {"Visited Link Color: #DDDDDD", white, black},
                            {"Active Link Color: #DDDDDD", white, black},
                            {"Hover Link Color: #DDDDDD", white, black}});
        frmpreview info(textsOf(255, 161, 204), services);
        for (QWidget* window :
             std::initializer_list<QWidget*>{&about, &input, &code, &preview, &info})
            QCOMPARE(cutTexts(window), QString());
        // The conversion dialog on every tab.
        frmConversion conversion(textsOf(255, 161, 204), services, [](bascommon::ColorValue) {});
        auto* tabs = conversion.findChild<QTabWidget*>("tabModels");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QCOMPARE(cutTexts(&conversion), QString());
        }
    }
};

QTEST_MAIN(TextFitTest)
#include "TextFit_test.moc"
