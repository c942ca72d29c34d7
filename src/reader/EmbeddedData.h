// The data files compiled into the program (see data/ and tools/EmbedFiles).
#pragma once

#include "LineList.h"

#include <string_view>

namespace varnet::embedded {

extern const std::string_view welcome;        // data/pages/welcome.txt
extern const std::string_view titleList;      // data/pages/titlelist.txt
extern const std::string_view authorList;     // data/pages/authorlist.txt
extern const std::string_view authorText;     // data/pages/authortext.txt
extern const std::string_view startup;        // data/pages/startup.txt
extern const std::string_view bookMeta;       // data/book/meta.txt
extern const std::string_view chapterTitles;  // data/book/chapters.txt
extern const LineTable demoBook;              // data/fable.txt, line by line
extern const LineTable openedDemoBook;        // the same, as opening it makes it

}  // namespace varnet::embedded
