// The Color Info window.
#include "MainWindowFixture.h"

#include "color/frmpreview.h"

#include <QDir>
#include <QFile>
#include <QMenuBar>

using bascommon::RGB;

class FrmpreviewTest : public QObject
{
    Q_OBJECT

private:
    FakeServices fakes;
    Services services = fakes.services();
    std::unique_ptr<frmpreview> window;
    QTemporaryDir dir;

    void save() { window->findChild<QAction*>("mnusave")->trigger(); }
    QString path(const QString& name) { return dir.filePath(name); }
    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    const QString expectedPage = HUEBENCH_TEST_DATA "/colorinfo_255_161_204.html";

private slots:
    // A right release on the color or the panel opens the Action menu too; a left one does not.
    // A place that cannot be written is reported. The dialog asks before replacing the name it
    // returns; ".htm" added to a name is new to it, so the window asks itself.
    void actionMenuSavesThePageAndAsksBeforeReplacing()
    {
        window = std::make_unique<frmpreview>(textsOf(255, 161, 204), services);
        window->show();
        auto* bar = window->findChild<QMenuBar*>();
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(bar->geometry(), QRect(0, 0, window->width(), bar->height()));
        // The panel stands below the menu bar, not under it.
        QCOMPARE(window->findChild<QWidget*>("PicInfo")->y(), bar->height());
        const struct {
            QPoint at; // in window coordinates; the panel is 240 wide
            Qt::MouseButton button;
        } rows[] = {{{400, 200}, Qt::RightButton},
                    {{20, 200}, Qt::RightButton},
                    {{400, 200}, Qt::LeftButton}};
        for (const auto& r : rows) {
            QWidget* target = window->childAt(r.at) ? window->childAt(r.at) : window.get();
            QTest::mouseClick(target, r.button, {}, target->mapFrom(window.get(), r.at));
            QMenu* menu = window->findChild<QMenu*>("mnufile");
            QCOMPARE(menu->isVisible(), r.button == Qt::RightButton);
            menu->close();
        }
        fakes.fileSaveDialog.answer = path("missing/page.htm");
        save();
        QCOMPARE(fakes.questions.errors.size(), 1u);
        QVERIFY(fakes.questions.errors[0].text.contains("page.htm") && window->isVisible());
        fakes.fileSaveDialog.answer = path("#FFA1CC.htm");
        save();
        QCOMPARE(fakes.fileSaveDialog.lastSuggestedName, QString("#FFA1CC.htm"));
        QCOMPARE(readAll(path("#FFA1CC.htm")), readAll(expectedPage));
        save();
        QVERIFY(fakes.questions.asked.empty());

        fakes.fileSaveDialog.answer = path("pink");
        std::ofstream(path("pink.htm").toStdString()) << "older";
        fakes.questions.answers = {false};
        save();
        QCOMPARE(fakes.questions.asked.size(), 1u);
        QVERIFY(fakes.questions.asked[0].text.contains("pink.htm"));
        QCOMPARE(readAll(path("pink.htm")), QByteArray("older"));
        fakes.questions.answers = {true};
        save();
        QCOMPARE(readAll(path("pink.htm")), readAll(expectedPage));

        // Cancelling the dialog writes nothing.
        fakes.fileSaveDialog.answer.reset();
        save();
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList({"#FFA1CC.htm", "pink.htm"}));
        QCOMPARE(fakes.questions.errors.size(), 1u);
    }

    // Opened from the main window: the current color in every model, left alone; Exit closes.
    void opensFromTheMainWindowOnTheCurrentColor()
    {
        MainWindowFixture f;
        f.window().CurrentColorChanged(RGB(255, 161, 204));
        QStringList shown;
        QColor background;
        bool exitClosed = false;
        MainWindowFixture::onNextModal([&](QWidget* modal) {
            for (const char* name :
                 {"txtHEX", "txtr", "txtg", "txtb", "txth", "txtl", "txts", "txtc", "txtm", "txtY",
                  "txtc1", "txtm1", "txtY1", "txtK", "txtY2", "txtCb", "txtCr"}) {
                const QLineEdit* box = modal->findChild<QLineEdit*>(name);
                shown << box->text() + (box->isReadOnly() ? "" : " (editable)");
            }
            background = modal->palette().color(QPalette::Window);
            modal->findChild<QAction*>("mnuexit")->trigger();
            exitClosed = !modal->isVisible();
            modal->close(); // never leave the test waiting on the window
        });
        f.window().showColorDetails();
        QVERIFY(exitClosed);
        // HEX, RGB, HLS, CMY, CMYK, YCbCr
        QCOMPARE(shown, (QStringList{"#FFA1CC", "255", "161", "204", "33", "82", "100", "0", "94",
                                     "51", "0", "37", "20", "0", "194", "134", "172"}));
        QCOMPARE(background, QColor(255, 161, 204));
        QCOMPARE(f.window().currentColor(), RGB(255, 161, 204));
    }
};

QTEST_MAIN(FrmpreviewTest)
#include "frmpreview_test.moc"
