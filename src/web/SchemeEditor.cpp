#include "web/SchemeEditor.h"

// Placeholder: the scheme editor is being written.
SchemeEditor::SchemeEditor(frmshowcolor& main, SchemeStore& store, Services& services,
                           QWidget* clientArea)
    : QWidget(clientArea), m_main(main), m_store(store), m_services(services)
{
    setObjectName("SchemeEditor");
    setGeometry(origin.x(), origin.y(), 476, 193);
}

void SchemeEditor::startUp() {}
void SchemeEditor::selectNone() {}
void SchemeEditor::HtmlColor(bascommon::ColorValue) {}
void SchemeEditor::ClearSchemeSelection() {}
WebColorScheme SchemeEditor::scheme() const
{
    return m_store.ReadScheme(0);
}
