// The main window's menus, toolbar and copy commands.
#include "app/frmshowcolor.h"
#include "platform/Widgets.h"

#include "picker/PickingRun.h"
#include "platform/Services.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

QAction* frmshowcolor::addAction(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void frmshowcolor::createMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    mnuNew = addAction(file, "mnuNew", "&New Color Palette...");
    m_importPalette = addAction(file, "importPalette", "Import Palette...");
    m_exportPalette = addAction(file, "exportPalette", "Export Palette...");
    m_paletteFromImage = addAction(file, "paletteFromImage", "New Palette from &Image...");
    mnuexit = addAction(file, "mnuexit", "E&xit");
    connect(mnuexit, &QAction::triggered, this, &frmshowcolor::onExit);

    mnuEdit = menuBar()->addMenu("&Edit");
    mnuEdit->setObjectName("mnuEdit");
    createEditMenu(mnuEdit);

    QMenu* tool = menuBar()->addMenu("&Tool");
    tool->setObjectName("mnuTool");
    mnustartpick = addAction(tool, "mnustartpick", "&Color Picker");
    mnuWebsafe = addAction(tool, "mnuWebsafe", "&Make Web Safe");
    mnuShowWinColor = addAction(tool, "mnuShowWinColor", "&Show Windows Color Dialog");
    mnucon = addAction(tool, "mnucon", "Color Conversion");
    connect(mnustartpick, &QAction::triggered, this, [this] { startPicker(); });
    connect(mnuWebsafe, &QAction::triggered, this, &frmshowcolor::onMakeWebSafe);
    connect(mnuShowWinColor, &QAction::triggered, this, &frmshowcolor::onShowWinColor);
    connect(mnucon, &QAction::triggered, this, &frmshowcolor::showConversion);
    m_rampHarmonies = addAction(tool, "rampHarmonies", "&Ramp and Harmonies...");
    connect(m_rampHarmonies, &QAction::triggered, this, &frmshowcolor::showRampWindow);

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("mnuView");
    mnuSwap = addAction(view, "mnuSwap", "Only &Show Color Palette");
    mnuOnTop = addAction(view, "mnuOnTop", "&Always On Top");
    mnuSwap->setCheckable(true);
    mnuOnTop->setCheckable(true);
    // The check marks change only through the handlers, which also set the toolbar buttons.
    connect(mnuSwap, &QAction::triggered, this, [this] {
        mnuSwap->setChecked(!mnuSwap->isChecked());
        onSwap();
    });
    connect(mnuOnTop, &QAction::triggered, this, [this] {
        mnuOnTop->setChecked(!mnuOnTop->isChecked());
        onOnTop();
    });

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("mnuHelp");
    mnucontents = addAction(help, "mnucontents", "&Help Topics");
    help->addSeparator();
    mnuWeb = addAction(help, "mnuWeb", "&Visit Our Website");
    mnuemail = addAction(help, "mnuemail", "&E-mail To Support");
    help->addSeparator();
    mnuabout = addAction(help, "mnuabout", "&About Hue Bench");
    connect(mnucontents, &QAction::triggered, this, &frmshowcolor::onHelpTopics);
    connect(mnuWeb, &QAction::triggered, this, &frmshowcolor::onWeb);
    connect(mnuemail, &QAction::triggered, this, &frmshowcolor::onEmail);
    connect(mnuabout, &QAction::triggered, this, &frmshowcolor::onAbout);
}

void frmshowcolor::createEditMenu(QMenu* edit)
{
    QMenu* dec = edit->addMenu("Copy DEC Format of Color");
    dec->setObjectName("mnuCopydec");
    QMenu* hex = edit->addMenu("Copy HEX Format of Color");
    hex->setObjectName("mnuCopyhex");
    QMenu* special = edit->addMenu("Copy Special Format");
    special->setObjectName("mnuCopySpecial");
    formCommands.assign(ColorFormTable().size(), nullptr);
    addFormCommands(FormMenu::Dec, dec);
    addFormCommands(FormMenu::Hex, hex);
    addFormCommands(FormMenu::Special, special);

    editsep2 = edit->addSeparator();
    editsep2->setObjectName("editsep2");
    mnuAddto = edit->addMenu("Add This Color To");
    mnuAddto->setObjectName("mnuAddto");
    mnuAddto->menuAction()->setObjectName("mnuAddtoItem");
    m_sepBeforeDelete = edit->addSeparator();
    mnuDelCor = addAction(edit, "mnuDelCor", "&Delete Selected Color");
    mnuDelChart = addAction(edit, "mnuDelChart", "Delete &Current Palette");
    m_sepBeforeClean = edit->addSeparator();
    mnuCleanDup = addAction(edit, "mnuCleanDup", "Clean Duplicate Colors");
    mnuCleanAll = addAction(edit, "mnuCleanAll", "Clean All Colors");
    editsep4 = edit->addSeparator();
    editsep4->setObjectName("editsep4");
    mnuViewColor = addAction(edit, "mnuViewColor", "Preview: Show Color Details");
    mnuconv = addAction(edit, "mnuconv", "Color Conversion");
    connect(mnuViewColor, &QAction::triggered, this, &frmshowcolor::showColorDetails);
    connect(mnuconv, &QAction::triggered, this, &frmshowcolor::showConversion);
    createFormsMenu(edit);
    setPreviewPopupItemsVisible(false);
    mnuDelCor->setEnabled(false);
}

void frmshowcolor::createToolBar(QWidget* clientArea)
{
    tlbTool = new QToolBar(clientArea);
    tlbTool->setObjectName("tlbTool");
    tlbTool->setGeometry(0, 0, clientWidth, 24);
    tlbTool->setIconSize(QSize(16, 16));
    tlbTool->setMovable(false);
    // Nine compact buttons must end before the palette chooser at x = 195.
    tlbTool->setContentsMargins(0, 0, 0, 0);
    tlbTool->layout()->setContentsMargins(2, 0, 0, 0);
    tlbTool->layout()->setSpacing(0); // no style sheet: it would slow the start-up down
    auto button = [this](const char* tag, const char* tooltip) {
        QAction* action = tlbTool->addAction(QString::fromLatin1(tooltip));
        action->setObjectName(QString::fromLatin1(tag));
        action->setData(QString::fromLatin1(tag));
        action->setToolTip(QString::fromLatin1(tooltip));
        tlbTool->widgetForAction(action)->setFixedSize(22, 22);
        return action;
    };
    pickcolor = button("pickcolor", "Color picker");
    makewebsafe = button("makewebsafe", "Make current color web safe");
    showcolor = button("showcolor", "Show windows color dialog");
    colorchart = button("colorchart", "Only show color palette");
    ontop = button("ontop", "Always on top");
    tlbTool->addSeparator();
    addnew = button("addnew", "Add a new color palette");
    prevpage = button("prevpage", "Previous page of current color palette");
    nextpage = button("nextpage", "Next page of current color palette");
    colorchart->setCheckable(true);
    ontop->setCheckable(true);
    // Loading the SVG icon engine costs more than the rest of the window: the icons, and the
    // window's own in the sizes the window system takes, arrive once the window shows.
    runAfterFirstPaint(tlbTool, [this] {
        for (QAction* action : tlbTool->actions())
            if (!action->isSeparator())
                action->setIcon(QIcon(":/icons/" + action->data().toString() + ".svg"));
        QApplication::setWindowIcon(QIcon(":/icons/huebench.svg"));
    });

    connect(pickcolor, &QAction::triggered, this, [this] { startPicker(); });
    connect(makewebsafe, &QAction::triggered, this, &frmshowcolor::onMakeWebSafe);
    connect(showcolor, &QAction::triggered, this, &frmshowcolor::onShowWinColor);
    // Two-state buttons: Qt flips the state on click; the handler sets it from the mode.
    connect(colorchart, &QAction::triggered, this, [this] { onSwap(); });
    connect(ontop, &QAction::triggered, this, [this] { onOnTop(); });
}

CopyBoxTexts frmshowcolor::copyBoxTexts() const
{
    const auto box = [](const QLineEdit* edit) { return edit->text().toStdString(); };
    return {box(m_editor->txtrgb1), box(m_editor->txtrgb), box(m_editor->txtrh),
            box(m_editor->txtgh), box(m_editor->txtbh)};
}

void frmshowcolor::ChangeCopyMenu()
{
    const CopyBoxTexts boxes = copyBoxTexts();
    const bascommon::ColorValue color = currentColor();
    const auto forms = ColorFormTable();
    for (std::size_t i = 0; i < forms.size(); ++i)
        if (formCommands[i])
            formCommands[i]->setText(
                menuCaption(QString::fromStdString(FormCaption(forms[i], boxes, color))));
}

void frmshowcolor::setPaletteItemsVisible(bool visible)
{
    for (QAction* a :
         {m_sepBeforeDelete, mnuDelCor, mnuDelChart, m_sepBeforeClean, mnuCleanDup, mnuCleanAll})
        a->setVisible(visible);
}

void frmshowcolor::setPreviewPopupItemsVisible(bool visible)
{
    for (QAction* a : {editsep2, mnuAddto->menuAction(), editsep4, mnuViewColor, mnuconv})
        a->setVisible(visible);
}

void frmshowcolor::onPreviewReleased(Qt::MouseButton button, QPoint globalPos)
{
    setPaletteItemsVisible(false);
    if (button == Qt::RightButton) {
        setPreviewPopupItemsVisible(true);
        ChangeCopyMenu();
        mnuEdit->exec(globalPos);
        setPreviewPopupItemsVisible(false);
    }
    setPaletteItemsVisible(true);
    ChangeCopyMenu();
}
