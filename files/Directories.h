// Directory listings: the name pattern rule getFileList applies.
#pragma once
#include <string_view>

namespace tarvoke {

// True when the whole name matches the whole pattern: "*" any run of characters (dots too),
// "?" one character other than ".", anything else itself with ASCII letter case ignored.
bool matchWildcard(std::string_view pattern, std::string_view name);

} // namespace tarvoke
