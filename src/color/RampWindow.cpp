#include "color/RampWindow.h"

#include "color/ColorFormTable.h"
#include "color/Ramp.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <functional>

using bascommon::ColorValue;

namespace
{

constexpr int swatchWidth = 92;
constexpr int colorHeight = 44;

// One swatch: the color, its caption and its text below. A click (or Space) chooses it; the
// context menu (right click, the Menu key) and Ctrl+C copy its text.
class Swatch : public QAbstractButton
{
public:
    Swatch(QWidget* parent, ColorValue color, QString caption, QString text, bool marked,
           std::function<void()> copy)
        : QAbstractButton(parent), m_color(color), m_caption(std::move(caption)),
          m_text(std::move(text)), m_marked(marked), m_copy(std::move(copy))
    {
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
        setToolTip(m_text + "\nClick: make it the current color. Right-click or Ctrl+C: copy.");
        setAccessibleName(m_caption + " " + m_text);
        const int textLines = static_cast<int>(m_text.count(' ')) + 1;
        setFixedSize(swatchWidth, colorHeight + (2 + textLines) * fontMetrics().height());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect box(2, 2, width() - 4, colorHeight);
        p.fillRect(box, toQColor(m_color));
        // The marked step gets a frame of the text color, the focused one a highlight frame.
        p.setPen(QPen(palette().color(QPalette::WindowText), m_marked ? 3 : 1));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        if (hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
            p.drawRect(rect().adjusted(1, 1, -1, -1));
        }
        QFont bold = font();
        bold.setBold(m_marked);
        p.setFont(bold);
        p.setPen(palette().color(QPalette::WindowText));
        const int line = fontMetrics().height();
        p.drawText(QRect(0, colorHeight + 4, width(), line), Qt::AlignHCenter,
                   m_marked ? m_caption + QString::fromUtf8(" \u25C6") : m_caption);
        p.setFont(font());
        // Long forms break at their spaces: "oklch(62.31% / 0.188 / 259.81)".
        p.drawText(QRect(0, colorHeight + 4 + line, width(), height() - colorHeight - line),
                   Qt::AlignHCenter | Qt::AlignTop, QString(m_text).replace(' ', '\n'));
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        QMenu menu(this);
        menu.addAction("&Copy " + menuCaption(m_text), m_copy);
        menu.exec(event->globalPos());
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Copy))
            m_copy();
        else
            QAbstractButton::keyPressEvent(event);
    }

private:
    ColorValue m_color;
    QString m_caption, m_text;
    bool m_marked;
    std::function<void()> m_copy;
};

QString offsetCaption(double degrees)
{
    return (degrees > 0 ? "+" : "") + QString::number(degrees) + QString::fromUtf8("\u00B0");
}

} // namespace

RampWindow::RampWindow(Services& services, ColorValue color, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_color(color)
{
    setObjectName("RampWindow");
    auto* layout = new QVBoxLayout(this);

    auto* controls = new QHBoxLayout;
    rampSteps = makeNamed<QSpinBox>(this, "rampSteps");
    rampSteps->setRange(rampStepsMin, rampStepsMax);
    rampSteps->setValue(rampStepsDefault);
    rampHueShift = makeNamed<QSpinBox>(this, "rampHueShift");
    rampHueShift->setRange(static_cast<int>(-rampHueShiftMax), static_cast<int>(rampHueShiftMax));
    rampHueShift->setSuffix(QString::fromUtf8("\u00B0"));
    rampForm = makeNamed<QComboBox>(this, "rampForm");
    for (const ColorFormRow& row : ColorFormTable())
        if (!row.name.empty())
            rampForm->addItem(
                QString::fromUtf8(row.name.data(), static_cast<int>(row.name.size())));
    savePalette = makeNamed<QPushButton>(this, "savePalette", tr("Save as &Palette"));
    savePalette->setToolTip(tr("Store the ramp as a new palette, its lightest step in cell 0"));
    const auto labelled = [&](const QString& text, QWidget* buddy) {
        auto* label = new QLabel(text, this);
        label->setBuddy(buddy);
        controls->addWidget(label);
        controls->addWidget(buddy);
    };
    labelled(tr("&Steps:"), rampSteps);
    labelled(tr("&Hue shift:"), rampHueShift);
    labelled(tr("Copy &as:"), rampForm);
    controls->addStretch();
    controls->addWidget(savePalette);
    layout->addLayout(controls);

    auto* rampBox = new QGroupBox(tr("Ramp"), this);
    auto* rampBoxLayout = new QVBoxLayout(rampBox);
    auto* scroll = new QScrollArea(rampBox);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rampRow = new QWidget(scroll);
    m_rampLayout = new QHBoxLayout(m_rampRow);
    m_rampLayout->setSpacing(2);
    scroll->setWidget(m_rampRow);
    rampBoxLayout->addWidget(scroll);
    layout->addWidget(rampBox);

    auto* harmonyBox = new QGroupBox(tr("Harmonies"), this);
    auto* harmonyBoxLayout = new QVBoxLayout(harmonyBox);
    m_harmonies = new QWidget(harmonyBox);
    m_harmonyLayout = new QGridLayout(m_harmonies);
    m_harmonyLayout->setHorizontalSpacing(2);
    harmonyBoxLayout->addWidget(m_harmonies);
    harmonyBoxLayout->addStretch();
    layout->addWidget(harmonyBox, 1);

    connect(rampSteps, &QSpinBox::valueChanged, this, &RampWindow::rebuild);
    connect(rampHueShift, &QSpinBox::valueChanged, this, &RampWindow::rebuild);
    connect(rampForm, &QComboBox::currentIndexChanged, this, &RampWindow::rebuild);
    connect(savePalette, &QPushButton::clicked, this,
            [this] { emit paletteWanted("Ramp " + bascommon::HexRGB(m_color), m_rampColors); });
    rebuild();
    // Eleven steps show without scrolling; more scroll sideways.
    resize(qMax(sizeHint().width(), m_rampRow->sizeHint().width() + 80), sizeHint().height());
}

void RampWindow::followColor(ColorValue color)
{
    if (color == m_color)
        return;
    m_color = color;
    rebuild();
}

QString RampWindow::textOf(ColorValue color) const
{
    const ColorFormRow* form = FindColorForm(rampForm->currentText().toStdString());
    return QString::fromStdString(form ? form->write(color, 1.0) : bascommon::HexRGB(color));
}

void RampWindow::copy(ColorValue color)
{
    m_services.clipboard.clear();
    m_services.clipboard.setText(textOf(color));
}

QWidget* RampWindow::makeSwatch(QWidget* parent, const char* name, ColorValue color,
                                const QString& caption, bool marked)
{
    auto* swatch =
        new Swatch(parent, color, caption, textOf(color), marked, [this, color] { copy(color); });
    swatch->setObjectName(QString::fromLatin1(name));
    // Queued: the new current color rebuilds the swatches, this one among them.
    connect(
        swatch, &QAbstractButton::clicked, this, [this, color] { emit colorChosen(color); },
        Qt::QueuedConnection);
    return swatch;
}

void RampWindow::rebuild()
{
    setWindowTitle(
        tr("Ramp and Harmonies - %1").arg(QString::fromStdString(bascommon::HexRGB(m_color))));
    // Focus stays on the same place in the row when the swatches are made anew.
    const QString focused = focusWidget() ? focusWidget()->objectName() : QString();
    for (QWidget* old : m_rampRow->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete old;
    for (QWidget* old : m_harmonies->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete old;

    m_rampColors.clear();
    QWidget* previous = savePalette;
    const auto chain = [&previous](QWidget* next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (const RampStep& step : MakeRamp(m_color, rampSteps->value(), rampHueShift->value())) {
        const std::string name = "rampStep_" + std::to_string(step.name);
        QWidget* swatch = makeSwatch(m_rampRow, name.c_str(), step.color,
                                     QString::number(step.name), step.isInput);
        m_rampLayout->addWidget(swatch);
        chain(swatch);
        m_rampColors.push_back(step.color);
    }
    m_rampLayout->addStretch();

    int row = 0;
    for (const HarmonyKind& kind : HarmonyKinds()) {
        auto* caption = new QLabel(
            QString::fromUtf8(kind.caption.data(), static_cast<int>(kind.caption.size())),
            m_harmonies);
        m_harmonyLayout->addWidget(caption, row, 0, Qt::AlignTop);
        const std::string prefix = "harmony_" + std::string(kind.name) + "_";
        QWidget* base = makeSwatch(m_harmonies, (prefix + "0").c_str(), m_color, tr("color"), true);
        m_harmonyLayout->addWidget(base, row, 1);
        chain(base);
        const std::vector<ColorValue> accents = HarmonyColors(m_color, kind);
        for (std::size_t i = 0; i < accents.size(); ++i) {
            QWidget* swatch = makeSwatch(m_harmonies, (prefix + std::to_string(i + 1)).c_str(),
                                         accents[i], offsetCaption(kind.offsets[i]), false);
            m_harmonyLayout->addWidget(swatch, row, static_cast<int>(i) + 2);
            chain(swatch);
        }
        ++row;
    }
    m_harmonyLayout->setColumnStretch(6, 1);
    if (!focused.isEmpty())
        if (QWidget* again = findChild<QWidget*>(focused))
            again->setFocus();
}
