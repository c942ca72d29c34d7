// Latin letters outside Latin-1 written without their accents.
#pragma once

namespace varnet::import {

// The Latin-1 spelling of a Latin letter beyond Latin-1 ("l" for l with
// stroke, "o" for o with double acute, "OE" for the OE ligature), or null
// for a character that is not such a letter.
const char* latinLetterBase(char32_t c);

}  // namespace varnet::import
