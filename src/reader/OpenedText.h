// The form a stored text takes once opened for reading. The reader builds it
// when a text opens; the build step makes the demo book's in advance, so that
// opening the demo book copies nothing.
#pragma once

#include "LineList.h"

#include <string_view>

namespace varnet {

inline constexpr const char* kEndMarker = "p999";
inline constexpr const char* kClosingLine = "l08END OF FILE";
inline constexpr const char* kFinalBlankLine = " ";

// The header line dropped, blank or control-only lines at the end dropped,
// then the end marker, the closing line and the final blank line added, and
// every indent line, the closing line included, in normalised form.
LineList openedText(const LineList& stored);
// The same for a text's stored bytes, split as LineList::fromBytes splits
// them, without keeping the stored lines.
LineList openedTextOfBytes(std::string_view stored);

}  // namespace varnet
