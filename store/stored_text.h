#pragma once

#include <string>
#include <string_view>

// Texts a module supplies (its name) may hold any bytes. Both backends keep text only when it
// is UTF-8 without NUL bytes, and a control byte shown as it is can forge a line of output or
// move a terminal; so such a text is kept escaped: a byte that is no part of UTF-8 text, a
// control byte (NUL to 0x1F, 0x7F) and the backslash itself are written \xHH (the backslash
// as \\). The escape is undone byte for byte by BytesOfStoredText.
[[nodiscard]] std::string StoredText(std::string_view bytes);
[[nodiscard]] std::string BytesOfStoredText(std::string_view text);

// Whether `text` may be kept as it stands: UTF-8 without control bytes.
[[nodiscard]] bool IsStorableText(std::string_view text);
