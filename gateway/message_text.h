// How the program speaks to its user: its name, and how a message quotes a text that came from
// outside (a link, the option file, the system).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvex {

// The program's name: the title of its message boxes and the prefix of its lines on standard
// error.
inline constexpr std::string_view kProgramTitle = "TolvexGateway";

// At most `max_characters` UTF-8 characters of `text`, followed by "…" when cut, and every
// control character (below U+0020, U+007F, U+0080 to U+009F, and the line and paragraph
// separators U+2028 and U+2029) written as the "%XX" of each of its UTF-8 bytes, so that a
// message stays short and never holds a line break or a NUL. `text` is valid UTF-8 (every text the
// program takes in is made so where it enters); a stray byte would be shown, and counted, as
// U+FFFD.
std::string QuoteForMessage(std::string_view text, std::size_t max_characters = 200);

// `head`, then `text` quoted as above between double quotes: `Invalid Data: "…"`.
std::string QuotedMessage(std::string_view head, std::string_view text);

}  // namespace tolvex
