#include "web/SchemeCode.h"

// Placeholder: the code texts are being written.
std::string HtmlCode(const WebColorScheme&) { return {}; }
std::string ExternalCssCode(const WebColorScheme&) { return {}; }
std::string InlineCssCode(const WebColorScheme&) { return {}; }
