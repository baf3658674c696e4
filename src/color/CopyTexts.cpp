#include "color/CopyTexts.h"

#include <string_view>

namespace
{

// Up to `count` characters from `pos`; empty where the text is shorter.
std::string mid(const std::string& text, std::size_t pos, std::size_t count = std::string::npos)
{
    return pos < text.size() ? text.substr(pos, count) : std::string();
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

std::string CopyText(CopyForm form, const CopyBoxTexts& boxes)
{
    const std::string& h = boxes.hexRgb;
    switch (form) {
    case CopyForm::Dec1:
        return "RGB(" + boxes.decRgb + ")";
    case CopyForm::Dec2:
        return boxes.decRgb;
    case CopyForm::Hex1:
        return h;
    case CopyForm::Hex2:
        return quoted(h);
    case CopyForm::Hex3:
        return mid(h, 1);
    case CopyForm::Hex4:
        return quoted(mid(h, 1));
    case CopyForm::Hex5:
        return "Hex={" + mid(h, 1, 2) + "," + mid(h, 3, 2) + "," + mid(h, 5, 2) + "}";
    case CopyForm::VB:
        return "&H00" + boxes.b + boxes.g + boxes.r + "&";
    case CopyForm::Delphi:
        return "$00" + boxes.b + boxes.g + boxes.r;
    case CopyForm::Cplus:
        break;
    }
    return "0x" + boxes.b + boxes.g + boxes.r;
}

std::string CopyCaption(CopyForm form, const CopyBoxTexts& boxes)
{
    constexpr std::string_view labels[copyFormCount] = {"", "", "",    "",        "",
                                                        "", "", "VB:", "Delphi:", "C++:"};
    return std::string(labels[static_cast<int>(form)]) + CopyText(form, boxes);
}
