#pragma once
// The TrueType program of one font face, for a document to carry: the face's
// tables taken out of its file (a face of a collection becomes a font of its
// own), and, for a subset, the outlines of every glyph not asked for left
// empty. Glyph numbers stay as they are, so the face's character map,
// advance widths and glyph names hold unchanged; a composite glyph keeps the
// glyphs it is built from. Only the tables a document's reader needs are
// kept (no layout tables, no signature). Every offset and length read from
// the file is checked against the bytes there.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tx {

// `glyphs`: the glyph numbers to keep (glyph 0 always is); nothing asks for
// the whole face. No result, with the reason, for a face without TrueType
// outlines or a file that does not hold together.
std::optional<std::string> TrueTypeProgram(std::string_view file, int faceIndex,
                                           const std::optional<std::vector<uint16_t>>& glyphs, std::string& why);

}  // namespace tx
