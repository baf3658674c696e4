#include "picker/frmpick.h"

#include "platform/Widgets.h"
#include "palette/PaletteStore.h"
#include "platform/Services.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <functional>
#include <stdexcept>

using namespace bascommon;

namespace
{

constexpr QPoint origin{0, 0};

void setBackground(QLabel* label, const QColor& color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, color);
    label->setPalette(palette);
}

// Reports when its list closes, chosen or dismissed, so that the keyboard can go back.
class SaveToChooser : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> onClosed;

    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (onClosed)
            onClosed();
    }
};

} // namespace

frmpick::frmpick(PaletteStore& store, Services& services, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_store(store),
      m_services(services)
{
    setObjectName("frmpick");
    setWindowTitle("Pick&Save");
    // The controls are laid out in pixels for the main window's small UI font.
    QFont small = font();
    small.setPointSizeF(8.25);
    setFont(small);
    setFixedSize(211, 76);
    setMouseTracking(true);

    Label1 = makeNamed<QLabel>(this, "Label1", "Save To:");
    placeAt(Label1, origin, 14, 5, 55, 14);
    auto* chooser = makeNamed<SaveToChooser>(this, "cmbSaveTo");
    chooser->onClosed = [this] { emit chooserClosed(); };
    // Arrow keys meant for the overlay must never change where picks go.
    chooser->setFocusPolicy(Qt::ClickFocus);
    cmbSaveTo = chooser;
    placeAt(cmbSaveTo, origin, 74, 2, 134, 21);
    lblcor = makeNamed<QLabel>(this, "lblcor");
    placeAt(lblcor, origin, 74, 26, 134, 47);
    lblcor->setFrameShape(QFrame::Box);
    lblcor->setAutoFillBackground(true);
    setBackground(lblcor, Qt::white);
    txthex = makeNamed<QLineEdit>(this, "txthex");
    placeAt(txthex, origin, 3, 27, 67, 19);
    txthex->setReadOnly(true);
    txthex->setFocusPolicy(Qt::NoFocus);
    cmdStop = makeNamed<QPushButton>(this, "cmdStop", "Stop");
    placeAt(cmdStop, origin, 3, 49, 67, 23);
    cmdStop->setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Opaque also where it is shown as a part of the overlay.
    setAutoFillBackground(true);

    connect(cmbSaveTo, &QComboBox::currentIndexChanged, this, &frmpick::onSaveToChosen);
    connect(cmdStop, &QPushButton::clicked, this, &frmpick::stopRequested);
}

frmpick::~frmpick()
{
    // Hiding the chooser while the window is taken down must not call back into a part of the
    // window that is already gone.
    static_cast<SaveToChooser*>(cmbSaveTo)->onClosed = nullptr;
}

void frmpick::ShowSaveChart()
{
    const QSignalBlocker blocker(cmbSaveTo);
    cmbSaveTo->clear();
    m_saveToFiles.clear();
    m_saveToFile.clear();
    try {
        m_store.RepairFile();
        for (const ChartEntry& entry : m_store.ReadChartIndex()) {
            const ChartKind kind = kindOf(entry);
            if (kind != ChartKind::Permanent && kind != ChartKind::User)
                continue;
            cmbSaveTo->addItem(from8BitText(entry.title));
            m_saveToFiles.push_back(entry.file);
        }
    } catch (const std::runtime_error& e) {
        m_services.questions.showError(this, "Pick&Save", QString::fromUtf8(e.what()));
    }
    if (m_saveToFiles.empty())
        return;
    cmbSaveTo->setCurrentIndex(0);
    m_saveToFile = m_saveToFiles.front();
}

void frmpick::onSaveToChosen(int index)
{
    if (index >= 0 && index < static_cast<int>(m_saveToFiles.size()))
        m_saveToFile = m_saveToFiles[static_cast<std::size_t>(index)];
}

void frmpick::showSample(ColorValue color)
{
    if (color == m_shown)
        return;
    m_shown = color;
    setBackground(lblcor, toQColor(color));
    txthex->setText(QString::fromStdString(HexRGB(color)));
}

void frmpick::enterEvent(QEnterEvent* event)
{
    emit pointerEntered();
    QWidget::enterEvent(event);
}

void frmpick::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerEntered();
    QWidget::mouseMoveEvent(event);
}

void frmpick::closeEvent(QCloseEvent* event)
{
    // Closing the window must not leave the frozen overlay behind with no way out: it stops
    // the run as the Stop button does, and the run takes both windows away.
    event->ignore();
    emit stopRequested();
}

void frmpick::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        emit stopRequested();
    else
        emit keyNotForMe(event);
}
