#pragma once

#include "web/SchemeStore.h"

#include <string>

std::string HtmlCode(const WebColorScheme& scheme);
std::string ExternalCssCode(const WebColorScheme& scheme);
std::string InlineCssCode(const WebColorScheme& scheme);
