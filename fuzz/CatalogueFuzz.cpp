// The catalogue row parser on arbitrary rows: the contents tree, what each
// row opens, the bookmark file's seed and the by-author row.
#include "Catalogue.h"
#include "FuzzCheck.h"
#include "LineList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace varnet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LineList rows = LineList::fromBytes(std::string_view(reinterpret_cast<const char*>(data), size));

    const auto tree = buildCatalogueTree(rows);
    std::size_t marked = 0;
    for (const std::string_view row : rows) marked += row.find("<<") != std::string::npos;
    FUZZ_CHECK(tree.size() == marked);
    for (std::size_t k = 0; k < tree.size(); ++k) {
        FUZZ_CHECK(tree[k].parent >= -1 && tree[k].parent < static_cast<std::int32_t>(k));
        FUZZ_CHECK(tree[k].text.find("<<") == std::string::npos);
    }

    for (std::int32_t r = 0; r < rows.count() && r < 400; ++r) {
        const RowDestination d = resolveRow(rows, r);
        FUZZ_CHECK(d.targetKey.size() <= rows[r].size());
        FUZZ_CHECK(d.bookTitle.find("<<") == std::string::npos);
    }

    const LineList seed = seedBookmarkLines(rows);
    FUZZ_CHECK(seed.count() <= rows.count());
    for (const std::string_view line : seed) FUZZ_CHECK(line.compare(0, 2, "<<") == 0);

    if (const auto row = byAuthorRow(rows)) {
        FUZZ_CHECK(*row >= 1 && *row < rows.count() - 1);
        FUZZ_CHECK(rows[*row].find("<<1author") != std::string::npos);
    }
    if (!rows.empty()) (void)applicationTitleFrom(rows);
    return 0;
}
