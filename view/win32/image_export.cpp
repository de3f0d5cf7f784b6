// Rendering the document into 24-bit bitmap bands with PaintCells and the
// view's GDI surface, and streaming the bands into a WIC PNG encoder.
#include "view/win32/image_export.h"

#include <wincodec.h>

#include <algorithm>
#include <vector>

#include "framework/dib_canvas.h"
#include "settings/win32/settings.h"
#include "view/paint_cells.h"
#include "view/win32/gdi_surface.h"

namespace mosaikon {
namespace {

// An owned COM interface pointer.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (pointer_) pointer_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  // For a call that hands out a new reference; the old one is released.
  T** Put() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
    return &pointer_;
  }

 private:
  T* pointer_ = nullptr;
};

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 1)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

HRESULT WritePng(const TextDocument& document, PixelSize cell, const ImagePlan& plan, const std::wstring& file) {
  ComRef<IWICImagingFactory> factory;
  HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.Put()));
  if (FAILED(result)) return result;
  ComRef<IWICStream> stream;
  if (FAILED(result = factory->CreateStream(stream.Put()))) return result;
  if (FAILED(result = stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE))) return result;
  ComRef<IWICBitmapEncoder> encoder;
  if (FAILED(result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()))) return result;
  if (FAILED(result = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return result;
  ComRef<IWICBitmapFrameEncode> frame;
  if (FAILED(result = encoder->CreateNewFrame(frame.Put(), nullptr))) return result;
  if (FAILED(result = frame->Initialize(nullptr))) return result;
  if (FAILED(result = frame->SetSize(static_cast<UINT>(plan.width), static_cast<UINT>(plan.height)))) return result;
  // The encoder may answer with the nearest format it has; only BGR rows
  // are what the bitmap holds.
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(result = frame->SetPixelFormat(&format))) return result;
  if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;

  const int bandHeight = std::min(plan.bandRows * cell.cy, plan.height);
  const DibCanvas band(plan.width, bandHeight, 24);
  if (!band.ok()) return E_OUTOFMEMORY;
  const auto stride = static_cast<UINT>(BitmapRowBytes(plan.width));
  const Settings& settings = TheSettings();
  for (int top = 0; top < plan.height; top += bandHeight) {
    const int rows = std::min(bandHeight, plan.height - top);
    PaintInput input = SettingsPaintInput(document, cell, settings);
    input.offset = {0, top};
    input.client = {plan.width, rows};
    {
      // Painting draws the rows from `top` on at the band's own top.
      GdiSurface surface(band.dc(), settings);
      PaintCells(input, surface);
    }
    GdiFlush();
    if (FAILED(result = frame->WritePixels(static_cast<UINT>(rows), stride, stride * static_cast<UINT>(rows),
                                           static_cast<BYTE*>(band.bits()))))
      return result;
  }
  if (FAILED(result = frame->Commit())) return result;
  return encoder->Commit();
}

}  // namespace

HRESULT ExportImage(const TextDocument& document, PixelSize cell, const ImagePlan& plan, const std::string& path) {
  if (plan.width <= 0 || plan.height <= 0) return E_INVALIDARG;
  const std::size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  char temporary[MAX_PATH] = {};
  if (!GetTempFileNameA(folder.c_str(), "mkn", 0, temporary)) return HRESULT_FROM_WIN32(GetLastError());
  HRESULT result = WritePng(document, cell, plan, Wide(temporary));
  if (SUCCEEDED(result) && !MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
    result = HRESULT_FROM_WIN32(GetLastError());
  if (FAILED(result)) DeleteFileA(temporary);
  return result;
}

}  // namespace mosaikon
