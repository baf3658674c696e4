#include "picker/frmGetColor.h"

#include "app/frmshowcolor.h"

// Placeholder: the screen picker is being written.
void startColorPicker(frmshowcolor& main, PaletteStore&, Services&)
{
    main.pickerStopped();
}
