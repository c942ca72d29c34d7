// A Find dialog for the search tests and the search fuzz target: it answers
// with what the test set and counts how often the search closed it.
#pragma once

#include "TextSearch.h"

#include <string>

namespace varnet::testing {

class FakeFindDialog : public FindDialog {
public:
    std::string findText() const override { return text; }
    bool searchDown() const override { return down; }
    bool matchCase() const override { return caseOn; }
    void close() override { ++closes; }

    std::string text;
    bool down = true;
    bool caseOn = false;
    int closes = 0;
};

}  // namespace varnet::testing
