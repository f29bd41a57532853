#pragma once
#include "UserFacingError.h"

#include <string>
#include <string_view>

namespace tavlo {

class TextEncodingError : public UserFacingError {
public:
    using UserFacingError::UserFacingError;
};

// Settings and list files are stored in GB18030: byte for byte the same as the
// Chinese ANSI code page for every GBK character, and able to hold any path.
// Reading is lenient, as values are used as read: a byte sequence that is
// not valid text becomes U+FFFD. Writing fails on text that is not UTF-8.
std::string gb18030ToUtf8(std::string_view bytes);
std::string sanitizeUtf8(std::string_view text);
bool isUtf8(std::string_view text);
std::string utf8ToGb18030(std::string_view text);  // throws TextEncodingError

}  // namespace tavlo
