// The words of the panel on show as the lines of a plain text file: tags
// removed, markers, anchor lines and image lines left out.
#pragma once

#include "LineList.h"
#include "ReaderState.h"

#include <cstdint>
#include <string>

namespace varnet {

// Lines TopLine through NextLine of the text (NextLine included; lines that
// do not exist are skipped), each with its tags removed and untrimmed, except
// section breaks, page markers (the byline marker and four-digit ones too),
// anchor lines and lines that hold an image tag. A ">" among the words, as
// imported books may have, leaves its line in.
LineList screenLinesToSave(const LineList& text, std::int32_t TopLine, std::int32_t NextLine);
// The same for the panel on show; no lines when there is no text.
LineList screenLinesToSave(const ReaderState& state);
// The saved file's content: every kept line followed by CR LF.
std::string savedScreenBytes(const ReaderState& state);

}  // namespace varnet
