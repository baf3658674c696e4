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
    for (const ColorModel& model : ColorModelTable())
        tabModels->addTab(new QWidget, QString::fromUtf8(model.tab.data(), int(model.tab.size())));

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
    for (const ColorModel& model : ColorModelTable()) {
        for (std::size_t row = 0; row < model.captions.size(); ++row) {
            captions << QString::fromUtf8(model.captions[row].data(),
                                          int(model.captions[row].size()));
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

const ColorModel& frmConversion::selectedModel() const
{
    return ColorModelTable()[static_cast<std::size_t>(tabModels->currentIndex())];
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
    const ColorModel& model = selectedModel();
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

    // Wider value boxes for decimals ("0.258"); the column has room for them.
    const bool decimals =
        std::any_of(model.scales.begin(), model.scales.end(), [](int scale) { return scale > 1; });
    const int boxWidth = decimals ? 43 : 33;
    for (QLineEdit* box : txtval)
        box->resize(boxWidth, box->height());

    for (std::size_t row = 0; row < static_cast<std::size_t>(model.rows); ++row) {
        lblCp[row]->setText(
            QString::fromUtf8(model.captions[row].data(), int(model.captions[row].size())));
        sldVal[row]->setMaximum(model.maximums[row]);
    }
}

void frmConversion::LoadSliders()
{
    m_updating = true;
    const ColorModel& model = selectedModel();
    const std::array<int, 4> values = model.valuesOf(m_working);
    for (std::size_t row = 0; row < static_cast<std::size_t>(model.rows); ++row)
        sldVal[row]->setValue(values[row]);
    m_updating = false;
}

void frmConversion::ApplySliders()
{
    // The slider ranges are the model ranges, so every value fits its setter's type.
    std::array<int, 4> values{};
    for (std::size_t row = 0; row < values.size(); ++row)
        values[row] = sldVal[row]->value();
    m_gamutNote->setVisible(selectedModel().apply(m_working, values));
}

void frmConversion::RefreshRow(int i)
{
    const auto row = static_cast<std::size_t>(i);
    const int value = sldVal[row]->value();
    const int scale = selectedModel().scales[row];
    const int decimals = scale >= 1000 ? 3 : scale >= 100 ? 2 : scale >= 10 ? 1 : 0;
    txtval[row]->setText(QString::number(double(value) / scale, 'f', decimals));
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
