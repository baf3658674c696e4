#pragma once

#include "color/bascommon.h"
#include "color/cClrModels.h"

#include <array>
#include <span>
#include <string_view>

// The color models of the conversion dialog and of `convert`, one row each: the dialog shows a
// tab per row, `convert --to NAME` writes a row's values as "V1,V2,V3[,V4]".
struct ColorModel {
    std::string_view tab;      // the dialog's tab caption, "HLS"
    std::string_view formName; // the `convert --to` name, "hls"; empty where convert writes CSS
    int rows;                  // 3 or 4
    std::array<std::string_view, 4> captions;
    std::array<int, 4> maximums; // each value runs from 0 to its maximum
    // Steps per shown unit: a value of 815 with scale 10 shows as "81.5".
    std::array<int, 4> scales;
    // The values of the models' color; the models keep what the color alone cannot (the hue
    // of a gray in HLS).
    std::array<int, 4> (*valuesOf)(const cClrModels& models);
    // Sets the models from values within the maximums; true when they named a color outside
    // sRGB, which was brought inside by the CSS gamut mapping.
    bool (*apply)(cClrModels& models, const std::array<int, 4>& values);
};

std::span<const ColorModel> ColorModelTable();

// The models of an 8-bit color, as the dialog's working copy holds them.
cClrModels ModelsOf(bascommon::ColorValue color);
