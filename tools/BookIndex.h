// The demo book's word index: one entry per word of four letters or more
// that is not a function word, with a short reference to every line of the
// opened (normalised) book that holds it.
#pragma once

#include "BookLayout.h"

#include <string>
#include <vector>

namespace varnet::laybook {

// Entry lines in index order (by word, without regard to case). A reference
// is "|", the line's page in four digits (not shown by the reader) and the
// normalised line index in five digits: the stored index less one, since
// opening a book drops its header line.
std::vector<std::string> buildWordIndex(const LaidOutBook& book);

}  // namespace varnet::laybook
