#include "web/SchemeCode.h"

namespace
{

constexpr const char* crlf = "\r\n";

std::string quoted(bascommon::ColorValue color)
{
    return "\"" + bascommon::HexRGB(color) + "\"";
}

std::string linkRule(const char* selector, bascommon::ColorValue color)
{
    return std::string(selector) + " {color:" + bascommon::HexRGB(color) + ";}";
}

} // namespace

std::string HtmlCode(const WebColorScheme& scheme)
{
    return "<body BGCOLOR=" + quoted(scheme.Background) + " TEXT=" + quoted(scheme.Text) +
           " LINK=" + quoted(scheme.NormalLink) + " VLINK=" + quoted(scheme.VisitedLink) +
           " ALINK=" + quoted(scheme.ActiveLink) + ">";
}

std::string ExternalCssCode(const WebColorScheme& scheme)
{
    // Browsers apply equally specific rules in source order: a held link is also hovered, so
    // a:active must come after a:hover for its color ever to show.
    return linkRule("a:link", scheme.NormalLink) + crlf +
           linkRule("a:visited", scheme.VisitedLink) + crlf +
           linkRule("a:hover", scheme.HoverLink) + crlf + linkRule("a:active", scheme.ActiveLink) +
           crlf + "body {background-color:" + bascommon::HexRGB(scheme.Background) +
           "; color:" + bascommon::HexRGB(scheme.Text) + ";}";
}

std::string InlineCssCode(const WebColorScheme& scheme)
{
    return std::string("<style type=\"text/css\">") + crlf + "<!--" + crlf +
           ExternalCssCode(scheme) + crlf + "-->" + crlf + "</style>";
}
