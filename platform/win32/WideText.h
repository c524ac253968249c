#pragma once

#include <string>
#include <string_view>

namespace tk {

// The toolkit speaks UTF-8 everywhere; Windows' wide-character functions take UTF-16. These
// two convert between them. Text that is not valid in its encoding comes out with the
// replacement character where the broken sequence was, so a bad title never stops a window
// from opening.
std::wstring toUtf16(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

}
