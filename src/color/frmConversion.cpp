#include "color/frmConversion.h"

#include "platform/FontFit.h"
#include "platform/Widgets.h"
#include "color/ColorForms.h"
#include "platform/Services.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace
{

// The rows of each model, in tab order: captions and slider maximums (minimum always 0).
struct ModelRows {
    const char* tab;
    int rows;
    std::array<const char*, 4> captions;
    std::array<int, 4> maximums;
};

// OKLCH rows count L in tenths of a percent and C in thousandths: the sliders move in integers.
constexpr std::array<ModelRows, 7> modelRows = {{
    {"RGB", 3, {"R", "G", "B", ""}, {255, 255, 255, 0}},
    {"HLS", 3, {"H", "L", "S", ""}, {360, 100, 100, 0}},
    {"CMY", 3, {"C", "M", "Y", ""}, {255, 255, 255, 0}},
    {"CMYK", 4, {"C", "M", "Y", "K"}, {100, 100, 100, 100}},
    {"YCbCr", 3, {"Y", "Cb", "Cr", ""}, {255, 255, 255, 0}},
    {"HSV", 3, {"H", "S", "V", ""}, {359, 100, 100, 0}},
    {"OKLCH", 3, {"L", "C", "H", ""}, {1000, 370, 359, 0}},
}};

constexpr std::array<int, 4> valueBoxTops = {2, 37, 72, 108};

QByteArray indexedName(const char* base, int i)
{
    return base + ("_" + QByteArray::number(i));
}

} // namespace

frmConversion::frmConversion(const CurrentColorTexts& current, Services& services,
                             std::function<void(bascommon::ColorValue)> currentColorChanged,
                             QWidget* parent)
    : QDialog(parent), m_services(services), m_currentColorChanged(std::move(currentColorChanged))
{
    setWindowTitle(tr("Color Conversion"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(418, 208);
    createControls();

    m_services.stayOnTop.setTopMost(this, true);
    // The "RGB" tab is selected and nothing is updating, so each slider that moves writes the
    // RGB rows into the working color: afterwards it is the main window's current color.
    sldVal[0]->setValue(current.r.toInt());
    sldVal[1]->setValue(current.g.toInt());
    sldVal[2]->setValue(current.b.toInt());
    onTabModelsChanged();
    for (int i = 0; i < 3; ++i)
        RefreshRow(i);
}

void frmConversion::createControls()
{
    tabModels = makeNamed<QTabWidget>(this, "tabModels");
    tabModels->setGeometry(11, 5, 299, 195);
    for (const ModelRows& model : modelRows)
        tabModels->addTab(new QWidget, QString::fromLatin1(model.tab));

    // Lies over the tab strip's page area; created after it, so it stays on top.
    fraCtls = makeNamed<QFrame>(this, "fraCtls");
    fraCtls->setGeometry(27, 52, 271, 145);
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < 4; ++i) {
        const auto row = static_cast<std::size_t>(i);
        lblCp[row] =
            makeNamed<QLabel>(fraCtls, indexedName("lblCp", i).constData(), QStringLiteral("X:"));
        lblCp[row]->setGeometry(4, 4 + 36 * i, 16, 17);
        lblCp[row]->setFont(bold);
        sldVal[row] =
            makeNamed<QSlider>(fraCtls, indexedName("sldVal", i).constData(), Qt::Horizontal);
        sldVal[row]->setGeometry(20, 4 + 36 * i, 193, 17);
        sldVal[row]->setRange(0, 255);
        txtval[row] = makeNamed<QLineEdit>(fraCtls, indexedName("txtval", i).constData(),
                                           QStringLiteral("0"));
        txtval[row]->setGeometry(226, valueBoxTops[row], 33, 20);
        txtval[row]->setReadOnly(true);
        connect(sldVal[row], &QSlider::valueChanged, this, [this, i] { RefreshRow(i); });
    }

    // In the free fourth row: says when the OKLCH sliders lie outside sRGB.
    m_gamutNote = makeNamed<QLabel>(fraCtls, "gamutNote",
                                    tr("Outside sRGB: the sample shows the nearest color inside."));
    m_gamutNote->setGeometry(4, 4 + 36 * 3, 263, 34);
    m_gamutNote->setWordWrap(true);
    m_gamutNote->hide();

    picClr = makeNamed<QLabel>(this, "picClr");
    picClr->setGeometry(323, 8, 81, 89);
    picClr->setFrameShape(QFrame::Panel);
    picClr->setFrameShadow(QFrame::Sunken);
    picClr->setAutoFillBackground(true);
    txtHEX = makeNamed<QLineEdit>(this, "txtHEX", QStringLiteral("0"));
    txtHEX->setGeometry(323, 105, 81, 19);
    txtHEX->setReadOnly(true);
    Command2 = makeNamed<QPushButton>(this, "Command2", tr("OK"));
    Command2->setGeometry(323, 142, 81, 26);
    Command1 = makeNamed<QPushButton>(this, "Command1", tr("Cancel"));
    Command1->setGeometry(323, 172, 81, 26);

    fitTexts();

    connect(tabModels, &QTabWidget::currentChanged, this, &frmConversion::onTabModelsChanged);
    connect(Command2, &QPushButton::clicked, this, &frmConversion::onCommand2Clicked);
    connect(Command1, &QPushButton::clicked, this, &QDialog::reject);
}

void frmConversion::fitTexts()
{
    // A row label shows the component names of every model, a value box every maximum; the
    // four labels keep one size, and so do the boxes and buttons.
    QStringList captions, maximums;
    for (const ModelRows& model : modelRows) {
        for (std::size_t row = 0; row < model.captions.size(); ++row) {
            captions << QString::fromLatin1(model.captions[row]);
            maximums << QString::number(model.maximums[row]);
        }
    }
    std::vector<FittedText> labels, values;
    for (std::size_t row = 0; row < lblCp.size(); ++row) {
        labels.push_back({lblCp[row], captions});
        values.push_back({txtval[row], maximums});
    }
    fitFontsTogether(labels);
    values.push_back({txtHEX, {widestHexColor(txtHEX->font())}});
    values.push_back({Command2});
    values.push_back({Command1});
    fitFontsTogether(values);

    // Every tab shows whole, without scroll arrows.
    QTabBar* tabs = tabModels->tabBar();
    if (tabs->sizeHint().width() > tabModels->width()) // seven tabs at a large font resolution
        tabs->setStyleSheet("QTabBar::tab { padding-left: 2px; padding-right: 2px; }");
    QFont tabFont = tabs->font();
    while (tabs->sizeHint().width() > tabModels->width() && tabFont.pointSizeF() > 4) {
        tabFont.setPointSizeF(tabFont.pointSizeF() - 0.5);
        tabs->setFont(tabFont);
    }
}

bascommon::ColorValue frmConversion::sampleColor() const
{
    return bascommon::RGB(m_working.rgbR(), m_working.rgbG(), m_working.rgbB());
}

frmConversion::Model frmConversion::selectedModel() const
{
    return static_cast<Model>(tabModels->currentIndex());
}

void frmConversion::onTabModelsChanged()
{
    // Rebuilding the rows moves every slider twice; draw only the result.
    setUpdatesEnabled(false);
    ConfigureRows();
    LoadSliders();
    setUpdatesEnabled(true);
}

void frmConversion::ConfigureRows()
{
    const ModelRows& model = modelRows[static_cast<std::size_t>(tabModels->currentIndex())];
    const bool fourRows = model.rows == 4;
    m_gamutNote->hide();
    lblCp[3]->setVisible(fourRows);
    sldVal[3]->setVisible(fourRows);
    txtval[3]->setVisible(fourRows);

    // Back to 0 before the maximums change, so that no value ever lies above a new maximum.
    m_updating = true;
    for (QSlider* slider : sldVal)
        slider->setValue(0);
    m_updating = false;

    // Wider value boxes for the decimals of OKLCH ("0.258"); the column has room for them.
    const int boxWidth = selectedModel() == Model::Oklch ? 43 : 33;
    for (QLineEdit* box : txtval)
        box->resize(boxWidth, box->height());

    for (std::size_t row = 0; row < static_cast<std::size_t>(model.rows); ++row) {
        lblCp[row]->setText(QString::fromLatin1(model.captions[row]));
        sldVal[row]->setMaximum(model.maximums[row]);
    }
}

void frmConversion::LoadSliders()
{
    m_updating = true;
    const auto load = [this](std::array<int, 4> values, int rows) {
        for (std::size_t row = 0; row < static_cast<std::size_t>(rows); ++row)
            sldVal[row]->setValue(values[row]);
    };
    const cClrModels& c = m_working;
    switch (selectedModel()) {
    case Model::Rgb:
        load({c.rgbR(), c.rgbG(), c.rgbB(), 0}, 3);
        break;
    case Model::Hls:
        load({c.hlsH(), c.hlsL(), c.hlsS(), 0}, 3);
        break;
    case Model::Cmy:
        load({c.cmyC(), c.cmyM(), c.cmyY(), 0}, 3);
        break;
    case Model::Cmyk:
        load({c.cmykC(), c.cmykM(), c.cmykY(), c.cmykK()}, 4);
        break;
    case Model::YCbCr:
        load({c.ycbcrY(), c.ycbcrCb(), c.ycbcrCr(), 0}, 3);
        break;
    case Model::Hsv: {
        const Hsv hsv = HsvOf(sampleColor());
        load({hsv.H, hsv.S, hsv.V, 0}, 3);
        break;
    }
    case Model::Oklch: {
        const OklchSteps lch = OklchStepsOf(sampleColor());
        load({lch.L, lch.C, lch.H, 0}, 3);
        break;
    }
    }
    m_updating = false;
}

void frmConversion::ApplySliders()
{
    // The slider ranges are the model ranges, so every value fits its setter's type.
    const auto value = [this](std::size_t row) {
        return static_cast<std::int16_t>(sldVal[row]->value());
    };
    switch (selectedModel()) {
    case Model::Rgb:
        m_working.rgbR(static_cast<std::uint8_t>(value(0)));
        m_working.rgbG(static_cast<std::uint8_t>(value(1)));
        m_working.rgbB(static_cast<std::uint8_t>(value(2)));
        break;
    case Model::Hls:
        m_working.SetHLS(value(0), value(1), value(2));
        break;
    case Model::Cmy:
        m_working.SetCMY(value(0), value(1), value(2));
        break;
    case Model::Cmyk:
        m_working.SetCMYK(value(0), value(1), value(2), value(3));
        break;
    case Model::YCbCr:
        m_working.SetYCbCr(value(0), value(1), value(2));
        break;
    case Model::Hsv:
        setWorkingColor(ColorOfHsv(value(0), value(1), value(2)));
        break;
    case Model::Oklch: {
        const OklchSteps lch{value(0), value(1), value(2)};
        m_gamutNote->setVisible(OklchStepsOutsideSrgb(lch));
        setWorkingColor(ColorOfOklchSteps(lch));
        break;
    }
    }
}

void frmConversion::setWorkingColor(bascommon::ColorValue color)
{
    m_working.rgbR(static_cast<std::uint8_t>(bascommon::GetRed(color)));
    m_working.rgbG(static_cast<std::uint8_t>(bascommon::GetGreen(color)));
    m_working.rgbB(static_cast<std::uint8_t>(bascommon::GetBlue(color)));
}

void frmConversion::RefreshRow(int i)
{
    const auto row = static_cast<std::size_t>(i);
    const int value = sldVal[row]->value();
    if (selectedModel() == Model::Oklch && i < 2)
        txtval[row]->setText(i == 0 ? QString::number(value / 10.0, 'f', 1)
                                    : QString::number(value / 1000.0, 'f', 3));
    else
        txtval[row]->setText(QString::number(value));
    if (!m_updating)
        ApplySliders();
    const bascommon::ColorValue color = sampleColor();
    QPalette palette = picClr->palette();
    palette.setColor(QPalette::Window, QColor(bascommon::GetRed(color), bascommon::GetGreen(color),
                                              bascommon::GetBlue(color)));
    picClr->setPalette(palette);
    txtHEX->setText(QString::fromStdString(bascommon::HexRGB(color)));
}

void frmConversion::onCommand2Clicked()
{
    m_currentColorChanged(sampleColor());
    accept();
}
