// The read-back check: reads FONTINDEX.BIN and FONTDATA.BIN as written and lists them, drawing every glyph
// found through the files alone, so the listing can be compared glyph by glyph with the build report.
#pragma once

// Works on whatever regular files of those names it finds (opened for reading only); never reads outside
// what the files supplied: missing index bytes count as zero, and a glyph whose bytes were not all read is
// not drawn.
void checkRomFiles();
