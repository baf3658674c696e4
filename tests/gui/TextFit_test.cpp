// Every text of every window shows whole, at the font resolution the test runs with (CTest runs
// it at 96, 120 and 144 dots per inch).
#include "MainWindowFixture.h"

#include "app/frmabout.h"
#include "color/frmConversion.h"
#include "color/frmpreview.h"
#include "platform/frmInput.h"
#include "web/frmShowweb.h"
#include "web/frmcss.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>

namespace
{

// Where a widget draws its one line of text, and how it aligns it there.
struct Room {
    QRect rect;
    Qt::Alignment alignment;
};

std::optional<Room> roomOf(QWidget* w)
{
    QStyle* style = w->style();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const int m = label->margin();
        return Room{label->contentsRect().adjusted(m, m, -m, -m), label->alignment()};
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return Room{style->subElementRect(QStyle::SE_PushButtonContents, &option, button),
                    Qt::AlignCenter};
    }
    if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton option;
        option.initFrom(w);
        const auto element = qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                            : QStyle::SE_CheckBoxContents;
        return Room{style->subElementRect(element, &option, w), Qt::AlignLeft | Qt::AlignVCenter};
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // The frame and the fixed two-pixel margin of a line edit, and its own text margins.
        const int frame = edit->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QMargins margins = edit->textMargins() + QMargins(2 + frame, frame, 2 + frame, frame);
        return Room{edit->rect() - margins, edit->alignment() | Qt::AlignVCenter};
    }
    return std::nullopt;
}

QString textOf(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text().remove('&');
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    return {};
}

// The texts of `window` that do not show whole, each with the widget's name.
QStringList cutTexts(QWidget* window)
{
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        const QString text = textOf(w);
        const auto room = roomOf(w);
        if (room && !text.isEmpty()) {
            // The line sits in the room by the widget's alignment; all of its ink must lie in it.
            const QFontMetrics fm(w->font());
            auto* label = qobject_cast<QLabel*>(w);
            if (label && label->wordWrap()) {
                const int flags = int(room->alignment) | Qt::TextWordWrap;
                if (!room->rect.contains(fm.boundingRect(room->rect, flags, text)))
                    cut << w->objectName() + " \"" + text + "\"";
                continue;
            }
            const QRect line =
                QStyle::alignedRect(Qt::LeftToRight, room->alignment,
                                    QSize(fm.horizontalAdvance(text), fm.height()), room->rect);
            const QRect ink =
                fm.tightBoundingRect(text).translated(line.left(), line.top() + fm.ascent());
            if (line.left() < room->rect.left() || line.right() > room->rect.right() ||
                ink.top() < room->rect.top() || ink.bottom() > room->rect.bottom())
                cut << w->objectName() + " \"" + text + "\"";
        }
        if (auto* group = qobject_cast<QGroupBox*>(w)) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                               QStyle::SC_GroupBoxLabel, group);
            if (!group->rect().contains(title))
                cut << "group \"" + group->title() + "\"";
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            if (tabs->tabBar()->sizeHint().width() > tabs->width())
                cut << "tabs of " + tabs->objectName();
        }
        if (auto* code = qobject_cast<QPlainTextEdit*>(w)) {
            if (code->verticalScrollBar()->maximum() > 0 ||
                code->horizontalScrollBar()->maximum() > 0)
                cut << code->objectName() + " scrolls";
        }
    }
    return cut;
}

QStringList shownCut(QWidget* window)
{
    window->show();
    QCoreApplication::processEvents();
    return cutTexts(window);
}

} // namespace

#define VERIFY_WHOLE(texts)                                                                        \
    do {                                                                                           \
        const QStringList cut = texts;                                                             \
        QVERIFY2(cut.isEmpty(), qPrintable("cut: " + cut.join(", ")));                             \
    } while (false)

class TextFitTest : public QObject
{
    Q_OBJECT

private:
    FakeServices fakes;

private slots:
    void mainWindow()
    {
        MainWindowFixture f;
        VERIFY_WHOLE(shownCut(&f.window()));
        // Neighbours look alike: the R,G,B box is not shrunk below the #RRGGBB box.
        QCOMPARE(f.find("txtrgb1")->font(), f.find("txtrgb")->font());
        // The color captions of a loaded scheme, with wide digits.
        f.find<QRadioButton>("optvl")->setChecked(true);
        f.window().CurrentColorChanged(bascommon::RGB(0xDD, 0xDD, 0xDD));
        VERIFY_WHOLE(cutTexts(&f.window()));
    }

    void dialogs()
    {
        Services services = fakes.services();
        frmabout about(services, "https://huebench.example.org/", "support@huebench.example.org");
        VERIFY_WHOLE(shownCut(&about));
        frmInput input;
        VERIFY_WHOLE(shownCut(&input));
        const WebColorScheme scheme{0xDDDDDD, 0xDDDDDD, 0xDDDDDD, 0xDDDDDD, 0xDDDDDD, 0xDDDDDD};
        frmcss code(scheme);
        VERIFY_WHOLE(shownCut(&code));
        const QColor white(Qt::white), black(Qt::black);
        frmShowweb preview(services, white,
                           {PreviewSample{"Text Color: #DDDDDD", white, black},
                            {"Normal Link Color: #DDDDDD", white, black},
                            {"Visited Link Color: #DDDDDD", white, black},
                            {"Active Link Color: #DDDDDD", white, black},
                            {"Hover Link Color: #DDDDDD", white, black}});
        VERIFY_WHOLE(shownCut(&preview));
        frmpreview info(textsOf(255, 161, 204), services);
        VERIFY_WHOLE(shownCut(&info));
    }

    void conversionOnEveryTab()
    {
        Services services = fakes.services();
        frmConversion dialog(textsOf(255, 161, 204), services, [](bascommon::ColorValue) {});
        dialog.show();
        auto* tabs = dialog.findChild<QTabWidget*>("tabModels");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            VERIFY_WHOLE(cutTexts(&dialog));
        }
    }
};

QTEST_MAIN(TextFitTest)
#include "TextFit_test.moc"
