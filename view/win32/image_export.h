// The whole document as a PNG image: drawn as the view paints it (the same
// cell, fonts, colours, fills and double-byte mode, but no selection) into
// a bitmap band by band, and encoded by the system's imaging component.
#pragma once

#include <windows.h>

#include <string>

#include "document/text_document.h"
#include "view/scroll_model.h"
#include "view/view_placement.h"

namespace mosaikon {

// The bitmap memory one band may take.
constexpr std::int64_t kExportBandBytes = std::int64_t{16} << 20;

// Writes plan.width x plan.height pixels of the document, from its top-left
// corner, to the PNG file `path`. The image goes to a temporary file in the
// same folder first and replaces `path` only once it is complete, so a
// failure leaves no partial file behind. S_OK, or why it failed.
HRESULT ExportImage(const TextDocument& document, PixelSize cell, const ImagePlan& plan, const std::string& path);

}  // namespace mosaikon
