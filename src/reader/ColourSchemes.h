// The three colour schemes and the two modifiers, as copies inside the colour
// table. The renderer knows nothing of schemes: it reads the table by band.
#pragma once

#include "ReaderState.h"

namespace varnet {

enum class Scheme { Light = 0, Dark = 1, Windows = 2 };

// Indices of a row that a scheme writes, in the order it writes them.
inline constexpr int kSchemeIndices[6] = {0, 3, 5, 6, 7, 8};

// Row 1 then row 0 of the scheme's values; Band is left at 0.
void fillScheme(ReaderState& state, Scheme scheme);
// "No Colored Text": the marked-word colours (indices 5..8) of each row take
// the row's text colour (index 3); Band is left at 0.
void copyNoColouredText(ReaderState& state);
// "1 Color Background ": indices 0, 5, 6, 7, 8 of row 1 copied into row 0;
// Band is not changed.
void copySingleShade(ReaderState& state);

// The fixed values of each scheme for indices 0, 3, 5, 6, 7, 8.
struct SchemeValues {
    Colour row1[6];
    Colour row0[6];
};
const SchemeValues& schemeValues(Scheme scheme);

}  // namespace varnet
