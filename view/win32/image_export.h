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

// Told how far an export has come after each band; its answer decides
// whether the export goes on.
class ExportProgress {
 public:
  virtual ~ExportProgress() = default;
  // `rows` of the image's `height` pixel rows are written. False stops the
  // export, which then fails with E_ABORT.
  virtual bool Advance(int rows, int height) = 0;
};

// Writes plan.width x plan.height pixels of the document, from its top-left
// corner, to the PNG file `path` (UTF-8). The image goes to a temporary file
// in the same folder first and replaces `path` only once it is complete, so
// a failure or a stop leaves no file behind. S_OK, or why it failed: where
// the file could not be written, the system's reason for that (a full disk,
// say), not the encoder's word for its own failure.
HRESULT ExportImage(const TextDocument& document, PixelSize cell, const ImagePlan& plan, const std::string& path,
                    ExportProgress* progress = nullptr);

}  // namespace mosaikon
