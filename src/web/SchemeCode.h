#pragma once

#include "web/SchemeStore.h"

#include <string>

// Ready-to-paste code for a scheme. Every color is written as #RRGGBB in upper case; lines are
// joined by CR LF and no text ends with a line break.

// The attributes of a body tag, one line:
// <body BGCOLOR="#..." TEXT="#..." LINK="#..." VLINK="#..." ALINK="#...">
// The hover color has no HTML attribute and is left out.
std::string HtmlCode(const WebColorScheme& scheme);

// Five style rules: a:link, a:visited, a:hover, a:active (the order in which a browser shows
// each color), then body.
std::string ExternalCssCode(const WebColorScheme& scheme);

// The external rules inside a <style type="text/css"> block and an HTML comment, nine lines.
std::string InlineCssCode(const WebColorScheme& scheme);
