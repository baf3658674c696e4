#pragma once

class frmshowcolor;
class PaletteStore;
struct Services;

// Starts the screen picker: hides the main window, freezes the screen and shows the overlay
// and the pick-and-save window. When the user stops, main.pickerStopped() is called.
void startColorPicker(frmshowcolor& main, PaletteStore& store, Services& services);
