#include "web/SchemeEditor.h"

#include "platform/FontFit.h"
#include "platform/Widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>

#include <stdexcept>

using namespace bascommon;

namespace
{

void setBack(QWidget* label, ColorValue color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, toQColor(color));
    label->setPalette(palette);
}

void setFore(QWidget* label, ColorValue color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, toQColor(color));
    label->setPalette(palette);
}

} // namespace

SampleLabel::SampleLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setAutoFillBackground(true);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setBack(this, 0xFFFFFF);
    setFore(this, 0x000000);
}

void SampleLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    paintFocusMark(this, palette().color(QPalette::Window));
}

void SampleLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton && inside)
        emit leftClicked();
    else if (event->button() == Qt::RightButton)
        emit rightReleased(event->globalPosition().toPoint());
}

SchemeEditor::SchemeEditor(SchemeStore& store, Services& services, QWidget* clientArea)
    : QWidget(clientArea), m_store(store), m_services(services)
{
    setObjectName("SchemeEditor");
    setGeometry(origin.x(), origin.y(), 476, 193);
    createItemOptions();
    createPreview();
    createSchemeList();
    createPopupMenu();
}

void SchemeEditor::createItemOptions()
{
    auto* heading = new QLabel("Html Color Code", this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    // A palette, not a style sheet: the first style sheet costs the start-up its CSS machinery.
    QPalette navy = heading->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    heading->setPalette(navy);
    placeAt(heading, origin, 8, 227, 109, 17);

    auto* frame = new QGroupBox("Html Color Item", this);
    placeAt(frame, origin, 10, 246, 105, 163);
    m_items = new QButtonGroup(this);
    struct Option {
        QRadioButton*& button;
        const char* name;
        const char* caption;
        const char* tooltip;
        int top;
        HtmlColorItem item;
    };
    const Option options[] = {
        {optbg, "optbg", "Background", "Background color", 266, HtmlColorItem::Background},
        {opttext, "opttext", "Text", "Body text color", 286, HtmlColorItem::Text},
        {optnl, "optnl", "Normal link", "Normal hyperlink color", 307, HtmlColorItem::NormalLink},
        {optvl, "optvl", "Visited link", "Visited hyperlink color", 327,
         HtmlColorItem::VisitedLink},
        {optal, "optal", "Active link", "Active hyperlink color", 348, HtmlColorItem::ActiveLink},
        {opthl, "opthl", "Hover link", "Hover hyperlink color", 368, HtmlColorItem::HoverLink},
        {optnone, "optnone", "None", "Don't set html color", 389, HtmlColorItem::None},
    };
    for (const Option& o : options) {
        o.button = makeNamed<QRadioButton>(frame, o.name, o.caption);
        o.button->setToolTip(o.tooltip);
        // Frame-relative: the frame stands at (10, 246) of the client area.
        o.button->setGeometry(22 - 10, o.top - 246, 90, 16);
        m_items->addButton(o.button, static_cast<int>(o.item));
    }
    fitFontsTogether(
        {{heading}, {frame}, {optbg}, {opttext}, {optnl}, {optvl}, {optal}, {opthl}, {optnone}});
}

void SchemeEditor::createPreview()
{
    lbldisplay = makeNamed<SampleLabel>(this, "lbldisplay", QString());
    placeAt(lbldisplay, origin, 124, 226, 221, 184);
    connectSample(lbldisplay, HtmlColorItem::Background);
    // The preview is reached with Tab for its pop-up menu (a click leaves the focus where it is).
    lbldisplay->setFocusPolicy(Qt::TabFocus);
    openPopupByKeyboard(lbldisplay, [this] { mnuHtmlPop1->exec(globalCenterOf(lbldisplay)); });

    struct Sample {
        const char* name;
        const char* caption;
        int left, top, width, height;
    };
    const Sample texts[] = {
        {"lbltext_0", "Thank you for using Hue Bench.", 136, 255, 197, 16},
        {"lbltext_1", "Text will look like this in web browser.", 133, 235, 203, 20},
        {"lbltext_2", "Tip of Use", 186, 273, 81, 12},
        {"lbltext_3", "Right-click here access to more features.", 126, 290, 215, 17},
    };
    for (std::size_t i = 0; i < lbltext.size(); ++i) {
        const Sample& s = texts[i];
        lbltext[i] = makeNamed<SampleLabel>(this, s.name, s.caption);
        placeAt(lbltext[i], origin, s.left, s.top, s.width, s.height);
        connectSample(lbltext[i], HtmlColorItem::Text);
    }
    QFont bold = lbltext[0]->font();
    bold.setBold(true);
    lbltext[0]->setFont(bold);

    const Sample links[] = {
        {"lblnl", "Normal links will look like this", 129, 309, 208, 17},
        {"lblvl", "Visited links will look like this", 129, 328, 208, 17},
        {"lblal", "Active links will look like this", 129, 348, 208, 17},
        {"lblhl", "Hover links will look like this", 129, 367, 208, 17},
    };
    const HtmlColorItem linkItems[] = {HtmlColorItem::NormalLink, HtmlColorItem::VisitedLink,
                                       HtmlColorItem::ActiveLink, HtmlColorItem::HoverLink};
    SampleLabel** linkLabels[] = {&lblnl, &lblvl, &lblal, &lblhl};
    for (std::size_t i = 0; i < 4; ++i) {
        const Sample& s = links[i];
        SampleLabel* label = makeNamed<SampleLabel>(this, s.name, s.caption);
        placeAt(label, origin, s.left, s.top, s.width, s.height);
        QFont underlined = label->font();
        underlined.setUnderline(true);
        label->setFont(underlined);
        connectSample(label, linkItems[i]);
        *linkLabels[i] = label;
    }
    m_colors = {0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000};

    // The preview is one page: all its lines keep one size, fitted to the color captions too.
    const QString widestHex = widestHexColor(font());
    fitFontsTogether({{lbltext[0]},
                      {lbltext[1], {"Text Color: " + widestHex}},
                      {lbltext[2]},
                      {lbltext[3]},
                      {lblnl, {"Normal Link Color: " + widestHex}},
                      {lblvl, {"Visited Link Color: " + widestHex}},
                      {lblal, {"Active Link Color: " + widestHex}},
                      {lblhl, {"Hover Link Color: " + widestHex}}});
}

void SchemeEditor::createSchemeList()
{
    lstCorset = makeNamed<QListWidget>(this, "lstCorset");
    placeAt(lstCorset, origin, 347, 226, 120, 158);
    lstCorset->setSelectionMode(QAbstractItemView::SingleSelection);
    // The names read in the size of the item options beside them.
    lstCorset->setFont(optnone->font());
    lstCorset->installEventFilter(this);
    // From the keyboard the list opens the scheme menu too, at its current name.
    openPopupByKeyboard(lstCorset, [this] {
        const QRect item = lstCorset->visualItemRect(lstCorset->currentItem());
        mnuHtmlPop1->exec(item.isValid() ? lstCorset->viewport()->mapToGlobal(item.center())
                                         : globalCenterOf(lstCorset));
    });
    connect(lstCorset, &QListWidget::itemSelectionChanged, this, [this] {
        const auto selected = lstCorset->selectedItems();
        LoadScheme(selected.isEmpty() ? -1 : lstCorset->row(selected.front()));
    });

    cmdDelItem = makeNamed<DeleteButton>(this, "cmdDelItem", "Delete This Scheme");
    placeAt(cmdDelItem, origin, 347, 388, 120, 22);
    cmdDelItem->setEnabled(false);
    connect(cmdDelItem, &DeleteButton::activated, this, &SchemeEditor::DeleteScheme);
    fitFontsTogether({{cmdDelItem}});
}

void SchemeEditor::connectSample(SampleLabel* label, HtmlColorItem item)
{
    connect(label, &SampleLabel::leftClicked, this, [this, item] { chooseItem(item); });
    connect(label, &SampleLabel::rightReleased, this,
            [this](QPoint globalPos) { mnuHtmlPop1->exec(globalPos); });
}

void SchemeEditor::chooseItem(HtmlColorItem item)
{
    m_items->button(static_cast<int>(item))->setChecked(true);
    // The item's own color becomes the current color; HtmlColor then writes it back unchanged
    // and refreshes its caption.
    ColorValue color = m_colors.Background;
    switch (item) {
    case HtmlColorItem::Text:
        color = m_colors.Text;
        break;
    case HtmlColorItem::NormalLink:
        color = m_colors.NormalLink;
        break;
    case HtmlColorItem::VisitedLink:
        color = m_colors.VisitedLink;
        break;
    case HtmlColorItem::ActiveLink:
        color = m_colors.ActiveLink;
        break;
    case HtmlColorItem::HoverLink:
        color = m_colors.HoverLink;
        break;
    default:
        break;
    }
    emit colorChosen(color);
}

HtmlColorItem SchemeEditor::htmlColorItem() const
{
    const int id = m_items->checkedId();
    return id < 0 ? HtmlColorItem::None : static_cast<HtmlColorItem>(id);
}

void SchemeEditor::startUp()
{
    std::vector<std::string> names;
    try {
        m_store.ensureSchemes();
        names = m_store.ReadNames();
    } catch (const std::exception& e) {
        showFileError(e);
    }
    for (const auto& name : names)
        lstCorset->addItem(from8BitText(name));
    if (lstCorset->count() > 0)
        lstCorset->setCurrentRow(0);
}

void SchemeEditor::selectNone()
{
    optnone->setChecked(true);
}

void SchemeEditor::HtmlColor(ColorValue curcor, bool compact)
{
    m_currentColor = curcor;
    if (compact) {
        updateContrast();
        return;
    }
    switch (const HtmlColorItem item = htmlColorItem()) {
    case HtmlColorItem::Background:
        setBackground(curcor);
        break;
    case HtmlColorItem::Text:
        setTextColor(curcor);
        break;
    case HtmlColorItem::None:
        break;
    default:
        setLinkColor(item, curcor);
        break;
    }
    updateContrast();
}

void SchemeEditor::setBackground(ColorValue color)
{
    m_colors.Background = color;
    setBack(lbldisplay, color);
    for (SampleLabel* label : lbltext)
        setBack(label, color);
    for (SampleLabel* label : {lblnl, lblvl, lblal, lblhl})
        setBack(label, color);
}

void SchemeEditor::setTextColor(ColorValue color)
{
    m_colors.Text = color;
    for (SampleLabel* label : lbltext)
        setFore(label, color);
    lbltext[1]->setText("Text Color: " + QString::fromStdString(HexRGB(color)));
}

void SchemeEditor::setLinkColor(HtmlColorItem item, ColorValue color)
{
    struct Link {
        ColorValue WebColorScheme::*field;
        SampleLabel* label;
        const char* caption;
    };
    const Link link = [&]() -> Link {
        switch (item) {
        case HtmlColorItem::NormalLink:
            return {&WebColorScheme::NormalLink, lblnl, "Normal Link Color: "};
        case HtmlColorItem::VisitedLink:
            return {&WebColorScheme::VisitedLink, lblvl, "Visited Link Color: "};
        case HtmlColorItem::ActiveLink:
            return {&WebColorScheme::ActiveLink, lblal, "Active Link Color: "};
        default:
            return {&WebColorScheme::HoverLink, lblhl, "Hover Link Color: "};
        }
    }();
    m_colors.*link.field = color;
    setFore(link.label, color);
    link.label->setText(link.caption + QString::fromStdString(HexRGB(color)));
}

void SchemeEditor::applyScheme(const WebColorScheme& scheme)
{
    setTextColor(scheme.Text);
    setBackground(scheme.Background);
    setLinkColor(HtmlColorItem::NormalLink, scheme.NormalLink);
    setLinkColor(HtmlColorItem::VisitedLink, scheme.VisitedLink);
    setLinkColor(HtmlColorItem::ActiveLink, scheme.ActiveLink);
    setLinkColor(HtmlColorItem::HoverLink, scheme.HoverLink);
    updateContrast();
}

void SchemeEditor::LoadScheme(int position)
{
    if (position < 0)
        return;
    // Read first: a file that cannot be read leaves the editor as it was.
    WebColorScheme scheme;
    try {
        scheme = m_store.ReadScheme(position);
    } catch (const std::exception& e) {
        showFileError(e);
        return;
    }
    emit selectionStarted();
    cmdDelItem->setEnabled(position > 0);
    m_selectedSchemeIndex = position;
    applyScheme(scheme);
}

void SchemeEditor::ClearSchemeSelection()
{
    lstCorset->clearSelection();
    cmdDelItem->setEnabled(false);
}

bool SchemeEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstCorset && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another program is not leaving the list.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            // When the focus goes to "Delete This Scheme", the button must stay enabled for
            // the press that is bringing it the focus.
            if (QApplication::focusWidget() == cmdDelItem)
                lstCorset->clearSelection();
            else
                ClearSchemeSelection();
        }
    }
    return QWidget::eventFilter(watched, event);
}
