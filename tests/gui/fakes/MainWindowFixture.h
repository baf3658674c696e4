#pragma once

#include "FakeServices.h"
#include "app/frmshowcolor.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

// The visible items of a menu as shown: captions, "-" for a separator.
inline QStringList visibleItems(QMenu* menu)
{
    QStringList items;
    for (QAction* a : menu->actions())
        if (a->isVisible())
            items << (a->isSeparator() ? QString("-") : a->text());
    return items;
}

// The object name of the pop-up menu that a key opens on a widget ("" for none); the menu is
// closed again.
inline QString popupOpenedBy(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            shown = popup->objectName();
            popup->close();
        }
    });
    QTest::keyClick(widget, key, modifiers);
    QCoreApplication::processEvents(); // the check runs now when no menu loop ran it
    return shown;
}

// What the main window's boxes show for a settled color, as handed to its dialogs.
inline CurrentColorTexts textsOf(int r, int g, int b)
{
    const bascommon::ColorValue color = bascommon::RGB(r, g, b);
    return {color, QString::fromStdString(bascommon::HexRGB(color)), QString::number(r),
            QString::number(g), QString::number(b)};
}

// A main window on a fresh copy of the factory data folder, with fake services.
class MainWindowFixture
{
public:
    MainWindowFixture()
    {
        Q_INIT_RESOURCE(huebench);
        std::filesystem::copy(HUEBENCH_FACTORY_DATA, folder(),
                              std::filesystem::copy_options::recursive);
        services.emplace(fakes.services());
    }

    std::filesystem::path folder() const { return m_dir.path().toStdString(); }

    frmshowcolor& window()
    {
        if (!m_window)
            m_window = std::make_unique<frmshowcolor>(*services, folder());
        return *m_window;
    }

    void showActive()
    {
        window().show();
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

    template <typename T = QWidget> T* find(const char* name)
    {
        T* found = window().findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }

    QString text(const char* box) { return find<QLineEdit>(box)->text(); }

    std::string readFile(const std::string& name) const
    {
        std::ifstream in(folder() / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(folder() / name, std::ios::binary | std::ios::trunc) << bytes;
    }

    // Runs `answer` on the next modal dialog that opens (for frmInput and the like).
    template <typename F> static void onNextModal(F answer)
    {
        QTimer::singleShot(0, [answer] {
            if (QWidget* modal = QApplication::activeModalWidget())
                answer(modal);
            else
                onNextModal(answer);
        });
    }

    static void answerInputBox(const QString& typed, bool ok)
    {
        onNextModal([typed, ok](QWidget* dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit*>("txtResult"), typed);
            QTest::mouseClick(dialog->findChild<QWidget*>(ok ? "cmdOk" : "cmdCancel"),
                              Qt::LeftButton);
        });
    }

    FakeServices fakes;
    std::optional<Services> services;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frmshowcolor> m_window;
};
