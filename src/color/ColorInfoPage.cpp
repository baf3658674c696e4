#include "color/ColorInfoPage.h"

#include "storage/SaveAs.h"
#include "color/cClrModels.h"

#include <algorithm>

namespace
{

// The main window keeps its decimal boxes at one to three digits worth 0-255; anything else is
// read the way those boxes repair it.
std::uint8_t componentOf(const std::string& text)
{
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    const auto significant = text.find_first_not_of('0');
    if (significant == std::string::npos)
        return 0;
    if (text.size() - significant > 3)
        return 255;
    return static_cast<std::uint8_t>(std::min(std::stoi(text.substr(significant)), 255));
}

std::string number(int value)
{
    return std::to_string(value);
}

constexpr const char* cellText = "<td width=33%><font face=Tahoma size=2>";
constexpr const char* emptyFirstCell = "<td width=34%></td>";

std::string groupHeading(const char* group)
{
    return std::string("<td width=34%><font face=Tahoma size=2><b>") + group + ":</b></font></td>";
}

class PageWriter
{
public:
    void line(const std::string& text) { m_text += text + "\r\n"; }

    // One value row of the table: the group heading (or an empty cell), the letter, the value.
    void valueRow(const std::string& firstCell, const char* letter, const std::string& value)
    {
        line("<tr>");
        line(firstCell);
        line(std::string(cellText) + letter + "</font></td>");
        line(cellText + value + "</font></td>");
        line("</tr>");
    }

    // The K row breaks its label cell over three lines.
    void blackRow(const std::string& value)
    {
        line("<tr>");
        line(emptyFirstCell);
        line(std::string(cellText) + "K");
        line("</font>");
        line("</td>");
        line(cellText + value + "</font></td>");
        line("</tr>");
    }

    std::string text() && { return std::move(m_text); }

private:
    std::string m_text;
};

} // namespace

ColorInfo MakeColorInfo(const std::string& hexText, const std::string& redText,
                        const std::string& greenText, const std::string& blueText)
{
    cClrModels color;
    color.rgbR(componentOf(redText));
    color.rgbG(componentOf(greenText));
    color.rgbB(componentOf(blueText));

    ColorInfo info;
    info.hex = hexText;
    info.r = redText;
    info.g = greenText;
    info.b = blueText;
    info.h = number(color.hlsH());
    info.l = number(color.hlsL());
    info.s = number(color.hlsS());
    info.cmyC = number(color.cmyC());
    info.cmyM = number(color.cmyM());
    info.cmyY = number(color.cmyY());
    info.cmykC = number(color.cmykC());
    info.cmykM = number(color.cmykM());
    info.cmykY = number(color.cmykY());
    info.cmykK = number(color.cmykK());
    info.ycbcrY = number(color.ycbcrY());
    info.ycbcrCb = number(color.ycbcrCb());
    info.ycbcrCr = number(color.ycbcrCr());
    return info;
}

std::string ColorInfoPageText(const ColorInfo& info)
{
    PageWriter page;
    page.line("<html>");
    page.line("<head>");
    page.line("<title>Color Info</title>");
    page.line("</head>");
    page.line("<body topmargin=0 leftmargin=0 marginwidth=0 marginheight=0>");
    page.line("<table border=0 cellpadding=0 cellspacing=0 width=100% height=100%>");
    page.line("<tr>");
    page.line("<td width=20% valign=top>");
    page.line("<table border=0 cellpadding=5 cellspacing=0 width=180>");
    page.line("<tr>");
    page.line("<td width=100% colspan=3>");
    page.line("<p align=center><b><font face=Tahoma size=3>Color Info</font></b></td>");
    page.line("</tr>");
    page.line("<tr>");
    page.line("<td width=100% colspan=3>");
    page.line("<p align=center><font face=Tahoma size=2><b>" + info.hex + "</b></font></td>");
    page.line("</tr>");

    page.valueRow(groupHeading("RGB"), "R", info.r);
    page.valueRow(emptyFirstCell, "G", info.g);
    page.valueRow(emptyFirstCell, "B", info.b);
    page.valueRow(groupHeading("CMY"), "C", info.cmyC);
    page.valueRow(emptyFirstCell, "M", info.cmyM);
    page.valueRow(emptyFirstCell, "Y", info.cmyY);
    page.valueRow(groupHeading("CMYK"), "C", info.cmykC);
    page.valueRow(emptyFirstCell, "M", info.cmykM);
    page.valueRow(emptyFirstCell, "Y", info.cmykY);
    page.blackRow(info.cmykK);
    page.valueRow(groupHeading("YCbCr"), "Y", info.ycbcrY);
    page.valueRow(emptyFirstCell, "Cb", info.ycbcrCb);
    page.valueRow(emptyFirstCell, "Cr", info.ycbcrCr);

    page.line("</table>");
    page.line("</td>");
    page.line("<td width=80% bgcolor=" + info.hex + "></td>");
    page.line("</tr>");
    page.line("</table>");
    page.line("</body>");
    page.line("</html>");
    return std::move(page).text();
}

void SaveColorInfoPage(const std::filesystem::path& file, const ColorInfo& info)
{
    saveAs(file, ColorInfoPageText(info));
}
