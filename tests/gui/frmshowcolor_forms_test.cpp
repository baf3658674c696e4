// The main window's CSS copy forms and Paste Color.
#include "MainWindowFixture.h"

#include <QtTest>

using bascommon::RGB;

class FrmShowColorFormsTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<MainWindowFixture> f;

    QString copied(const char* item)
    {
        f->find<QAction>(item)->trigger();
        return f->fakes.clipboard.text();
    }

private slots:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { f.reset(); }

    void cssCaptionsAreTheCopiedTextsOfTheCurrentColor()
    {
        QCOMPARE(f->find<QAction>("mnuCopyCssRgb")->text(), QString("rgb(255 255 255)"));
        f->window().CurrentColorChanged(RGB(255, 161, 204));
        const QStringList expected = {"rgb(255 161 204)", "hsl(332.6 100% 81.6%)",
                                      "oklch(81.54% 0.12234 351.21)"};
        const char* const items[] = {"mnuCopyCssRgb", "mnuCopyCssHsl", "mnuCopyCssOklch"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(f->find<QAction>(items[i])->text(), expected[i]);
            QCOMPARE(copied(items[i]), expected[i]);
        }
    }

    void pasteColor_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("color"); // -1: refused, the color stays
        QTest::newRow("name") << "HotPink" << RGB(255, 105, 180);
        QTest::newRow("quoted css") << " 'rgb(255 161 204)'; " << RGB(255, 161, 204);
        QTest::newRow("own form") << "&H00CCA1FF&" << RGB(255, 161, 204);
        QTest::newRow("oklch out of gamut") << "oklch(90% 0.4 140)" << RGB(0x86, 0xFF, 0x6A);
        QTest::newRow("markup") << "<b>not a color</b>" << -1;
        QTest::newRow("several lines") << "red\ngreen" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void pasteColor()
    {
        QFETCH(QString, clipboard);
        QFETCH(int, color);
        f->window().CurrentColorChanged(RGB(1, 2, 3));
        f->fakes.clipboard.setText(clipboard);
        f->find<QAction>("mnuPasteColor")->trigger();
        if (color == -1) {
            QCOMPARE(f->window().currentColor(), RGB(1, 2, 3));
            QCOMPARE(int(f->fakes.questions.errors.size()), 1);
            const QString message = f->fakes.questions.errors[0].text;
            if (!clipboard.isEmpty())
                QVERIFY2(
                    message.startsWith("The clipboard text \"" + clipboard.section('\n', 0, 0)),
                    qPrintable(message));
            QVERIFY(message.contains("Expected a color such as #FFA1CC"));
            return;
        }
        QVERIFY(f->fakes.questions.errors.empty());
        QCOMPARE(f->window().currentColor(), color);
        QCOMPARE(f->text("txtrgb"), QString::fromStdString(bascommon::HexRGB(color)));
    }
};

QTEST_MAIN(FrmShowColorFormsTest)
#include "frmshowcolor_forms_test.moc"
