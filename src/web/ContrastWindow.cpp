#include "web/ContrastWindow.h"

#include "platform/Widgets.h"
#include "web/SchemeEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QKeyEvent>
#include <QSpinBox>
#include <QVBoxLayout>

using bascommon::ColorValue;

namespace
{

struct RowSpec {
    const char* caption;
    HtmlColorItem item;
    ColorValue WebColorScheme::*field;
    bool link;
};

constexpr std::array<RowSpec, ContrastWindow::rowCount> rowSpecs = {{
    {"Text", HtmlColorItem::Text, &WebColorScheme::Text, false},
    {"Normal link", HtmlColorItem::NormalLink, &WebColorScheme::NormalLink, true},
    {"Visited link", HtmlColorItem::VisitedLink, &WebColorScheme::VisitedLink, true},
    {"Active link", HtmlColorItem::ActiveLink, &WebColorScheme::ActiveLink, true},
    {"Hover link", HtmlColorItem::HoverLink, &WebColorScheme::HoverLink, true},
}};

constexpr std::array<const char*, 5> viewCaptions = {"Normal vision", "Protanopia", "Deuteranopia",
                                                     "Tritanopia", "Achromatopsia (no color)"};

QString objectNameOf(const char* stem, int index)
{
    return QString::fromLatin1(stem) + '_' + QString::number(index);
}

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString hexText(ColorValue color)
{
    return QString::fromStdString(bascommon::HexRGB(color));
}

// A sample of one color on another, drawn by the label's own palette.
void paintSample(QLabel* label, ColorValue fore, ColorValue back)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, toQColor(back));
    palette.setColor(QPalette::WindowText, toQColor(fore));
    label->setPalette(palette);
}

// A sample of text in its colors, framed in the window's own shades so that it stands out even
// where its colors vanish into the window; what it stands for is said by a caption beside it,
// so that the caption reads on every color.
QLabel* sampleLabel(bool underlined, QWidget* parent)
{
    auto* label = new QLabel("Sample text", parent);
    label->setAutoFillBackground(true);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMargin(3);
    label->setMinimumWidth(90);
    QFont font = label->font();
    font.setUnderline(underlined);
    label->setFont(font);
    return label;
}

} // namespace

ContrastWindow::ContrastWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("ContrastWindow");
    setWindowTitle("Contrast");
    auto* layout = new QVBoxLayout(this);
    createViewChooser();
    createRows();
    createCurrentBlock();
    layout->addStretch();
    refresh();
}

void ContrastWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape reaches the window only when no open list took it first.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ContrastWindow::createViewChooser()
{
    auto* row = new QHBoxLayout;
    auto* viewLabel = new QLabel("&View as:", this);
    m_viewAs = makeNamed<QComboBox>(this, "viewAs");
    for (const char* caption : viewCaptions)
        m_viewAs->addItem(caption);
    viewLabel->setBuddy(m_viewAs);
    auto* severityLabel = new QLabel("&Severity:", this);
    m_severity = makeNamed<QSpinBox>(this, "severity");
    m_severity->setRange(10, 100);
    m_severity->setSingleStep(10);
    m_severity->setValue(100);
    m_severity->setSuffix("%");
    severityLabel->setBuddy(m_severity);
    row->addWidget(viewLabel);
    row->addWidget(m_viewAs);
    row->addSpacing(12);
    row->addWidget(severityLabel);
    row->addWidget(m_severity);
    row->addStretch();
    static_cast<QVBoxLayout*>(layout())->addLayout(row);

    m_viewNote = makeNamed<QLabel>(this, "viewNote");
    layout()->addWidget(m_viewNote);
    connect(m_viewAs, &QComboBox::currentIndexChanged, this, &ContrastWindow::refresh);
    connect(m_severity, &QSpinBox::valueChanged, this, &ContrastWindow::refresh);
}

void ContrastWindow::createRows()
{
    auto* grid = new QGridLayout;
    const char* headers[] = {"Item", "On the background", "Ratio",     "AA",
                             "AAA",  "AA large",          "AAA large", "Suggested fix"};
    for (int column = 0; column < 8; ++column) {
        auto* header = new QLabel(headers[column], this);
        QFont font = header->font();
        font.setBold(true);
        header->setFont(font);
        grid->addWidget(header, 0, column);
    }
    for (int i = 0; i < rowCount; ++i) {
        Row& row = m_rows[i];
        grid->addWidget(new QLabel(rowSpecs[i].caption, this), i + 1, 0);
        row.sample = sampleLabel(rowSpecs[i].link, this);
        row.sample->setObjectName(objectNameOf("sample", i));
        row.ratio = new QLabel(this);
        row.ratio->setObjectName(objectNameOf("ratio", i));
        grid->addWidget(row.sample, i + 1, 1);
        grid->addWidget(row.ratio, i + 1, 2);
        for (int m = 0; m < 4; ++m) {
            row.marks[m] = new QLabel(this);
            row.marks[m]->setObjectName(objectNameOf("mark", i * 4 + m));
            grid->addWidget(row.marks[m], i + 1, 3 + m);
        }
        row.fix = new QPushButton(this);
        row.fix->setObjectName(objectNameOf("fix", i));
        // Enter and keypad Enter press a focused fix, as Space does.
        row.fix->setAutoDefault(true);
        grid->addWidget(row.fix, i + 1, 7);
        connect(row.fix, &QPushButton::clicked, this, [this, i] { onFixClicked(i); });
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void ContrastWindow::createCurrentBlock()
{
    auto* title = makeNamed<QLabel>(this, "currentTitle");
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    layout()->addWidget(title);
    auto* grid = new QGridLayout;
    const char* captions[] = {"White text", "Black text"};
    for (int i = 0; i < 2; ++i) {
        BackgroundRow& row = m_current[i];
        grid->addWidget(new QLabel(captions[i], this), i, 0);
        row.sample = sampleLabel(false, this);
        row.sample->setObjectName(objectNameOf("currentSample", i));
        row.ratio = new QLabel(this);
        row.ratio->setObjectName(objectNameOf("currentRatio", i));
        row.grade = new QLabel(this);
        row.grade->setObjectName(objectNameOf("currentGrade", i));
        grid->addWidget(row.sample, i, 1);
        grid->addWidget(row.ratio, i, 2);
        grid->addWidget(row.grade, i, 3);
    }
    grid->setColumnStretch(4, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void ContrastWindow::setScheme(const WebColorScheme& scheme, ColorValue current)
{
    m_scheme = scheme;
    m_currentColor = current;
    refresh();
}

ColorValue ContrastWindow::seen(ColorValue color) const
{
    const auto kind = static_cast<VisionKind>(m_viewAs->currentIndex());
    return SimulateVision(color, kind, m_severity->value() / 100.0);
}

QString ContrastWindow::ratioText(double ratio) const
{
    // Under a simulated view the ratio belongs to the simulated colors; the star says so.
    const QString text = QString::fromStdString(ContrastRatioText(ratio));
    return m_viewAs->currentIndex() == 0 ? text : text + '*';
}

void ContrastWindow::refresh()
{
    const auto kind = static_cast<VisionKind>(m_viewAs->currentIndex());
    const bool simulated = kind != VisionKind::Normal;
    m_severity->setEnabled(simulated && kind != VisionKind::Achromatopsia);
    m_viewNote->setText(simulated ? "* Ratios computed on the colors as seen this way." : "");

    const ColorValue background = seen(m_scheme.Background);
    for (int i = 0; i < rowCount; ++i) {
        Row& row = m_rows[i];
        const ColorValue color = m_scheme.*rowSpecs[i].field;
        const ColorValue fore = seen(color);
        paintSample(row.sample, fore, background);
        const double ratio = ContrastRatio(fore, background);
        row.ratio->setText(ratioText(ratio));
        const ContrastLevels levels = ContrastLevelsOf(ratio);
        const bool passes[] = {levels.aaNormal, levels.aaaNormal, levels.aaLarge, levels.aaaLarge};
        for (int m = 0; m < 4; ++m)
            row.marks[m]->setText(passes[m] ? "Pass" : "Fail");

        // The fix changes the real color, so it is judged on the real colors.
        const bool below = ContrastRatio(color, m_scheme.Background) < contrastAaNormal;
        m_fixes[i] =
            below ? std::optional(SuggestContrastFix(color, m_scheme.Background)) : std::nullopt;
        row.fix->setVisible(below);
        if (below) {
            // A swatch of the fix, labelled with its code in whichever of black and white
            // reads better on it.
            const QString fixHex = hexText(*m_fixes[i]);
            const ColorValue swatch = seen(*m_fixes[i]);
            const bool dark = ContrastRatio(swatch, 0xFFFFFF) > ContrastRatio(swatch, 0x000000);
            row.fix->setText(fixHex);
            row.fix->setToolTip(QString("Use %1 for %2").arg(fixHex, rowSpecs[i].caption));
            row.fix->setStyleSheet(QString("QPushButton { color: %1; background: %2; border: 1px "
                                           "solid palette(dark); padding: 3px 8px; }")
                                       .arg(dark ? "#FFFFFF" : "#000000", hexText(swatch)));
        }
    }

    findChild<QLabel*>("currentTitle")
        ->setText("Current color " + hexText(m_currentColor) + " as a background");
    const ColorValue current = seen(m_currentColor);
    const ColorValue texts[] = {0xFFFFFF, 0x000000};
    for (int i = 0; i < 2; ++i) {
        const double ratio = ContrastRatio(texts[i], current);
        paintSample(m_current[i].sample, texts[i], current);
        m_current[i].ratio->setText(ratioText(ratio));
        m_current[i].grade->setText(latin1(ContrastGradeText(ContrastGradeOf(ratio))));
    }
}

void ContrastWindow::onFixClicked(int row)
{
    if (m_fixes[row])
        emit fixChosen(rowSpecs[row].item, *m_fixes[row]);
}
