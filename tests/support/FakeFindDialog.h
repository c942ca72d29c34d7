// A Find dialog for the search tests and the search fuzz target: it answers
// with what the test set and counts how often the search closed it.
#pragma once

#include "ReaderPorts.h"

#include <string>

namespace varnet::testing {

class FakeFindDialog : public FindDialog {
public:
    std::string findText() const override { return text; }
    bool searchDown() const override { return down; }
    bool matchCase() const override { return caseOn; }
    void close() override { ++closes; }
    void foundLineShown() override { ++shown; }

    std::string text;
    bool down = true;
    bool caseOn = false;
    int closes = 0;
    int shown = 0;  // hits drawn
};

}  // namespace varnet::testing
