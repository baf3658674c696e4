#pragma once

#include "color/CopyTexts.h"
#include "color/bascommon.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// Every text form of a color the program writes, one row each: the copy commands of the Edit
// menu, the CSS forms of its CSS submenu and the forms of `convert --to`. Menus, the command
// line's help and the tests read this table; adding a form is adding a row.

// The Edit submenu that lists a form.
enum class FormMenu {
    Dec,     // "Copy DEC Format of Color"
    Hex,     // "Copy HEX Format of Color"
    Special, // "Copy Special Format"
    Css,     // "Copy CSS Format of Color"
    None,    // the command line only
};

// How a form's text reads back to a color.
enum class FormReader {
    Color, // ReadColor reads it back to the same 8-bit color, for every color
    None,  // an integer color model (rounded, so not every color comes back): not read
};

struct ColorFormRow {
    std::string_view name;    // the `convert --to` name; empty for a menu-only form
    std::string_view pattern; // what the text looks like, for --help: "#RRGGBB", "lab(L a b)"
    FormMenu menu;
    std::string_view objectName; // the menu item's objectName; empty when not in a menu
    // The copy commands copy the boxes' text as it stands, and their caption is
    // CopyCaption of the boxes; every other menu form shows and copies its text of the color.
    std::optional<CopyForm> copyForm;
    std::string_view layoutCaption; // a copy command's caption before the first color
    bool hasAlpha;                  // the text can carry an alpha below 1
    FormReader reader;
    // The text of a color with alpha 0-1; forms without alpha ignore it.
    std::string (*write)(bascommon::ColorValue color, double alpha);
};

// The rows, in order: within each submenu, the order of its items; among the forms with a name,
// the order `convert --to all` and the help list them.
std::span<const ColorFormRow> ColorFormTable();

// The row of a `convert --to` name, or nullptr.
const ColorFormRow* FindColorForm(std::string_view name);

// The menu caption of a form, before access-key escaping: the copy commands' caption from the
// boxes, otherwise the form's text of `color`.
std::string FormCaption(const ColorFormRow& row, const CopyBoxTexts& boxes,
                        bascommon::ColorValue color);

// The text a form's menu item puts on the clipboard.
std::string FormCopiedText(const ColorFormRow& row, const CopyBoxTexts& boxes,
                           bascommon::ColorValue color);

// The boxes' texts of a settled color: what the boxes show after it became the current color.
CopyBoxTexts BoxTextsOf(bascommon::ColorValue color);
