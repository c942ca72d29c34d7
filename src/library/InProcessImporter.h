// The import and layout run in the calling process: the helper program runs
// it for the reader, and tests and benchmarks call it directly.
#pragma once

#include "BookImporter.h"

namespace varnet {

class InProcessImporter final : public BookImporter {
public:
    ImportOutcome importBook(const std::string& path) override;
};

}  // namespace varnet
